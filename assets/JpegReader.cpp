// JPEG decoding from memory with libjpeg. The library's fatal errors jump back here instead of
// ending the process, its warnings are kept quiet (corrupt files can raise thousands of them),
// and only an RGB result of the expected size ever leaves the reader.
#include "assets/JpegReader.h"

#include <csetjmp>
#include <cstdio>
#include <utility>

#include <jpeglib.h>

namespace {

// libjpeg finds its error manager through cinfo->err, so the jump target travels with it.
struct RecoveringErrorManager {
    jpeg_error_mgr base; // first, so the library's pointer is also a pointer to this
    std::jmp_buf escape;
    char message[JMSG_LENGTH_MAX];
};

void escapeOnError(j_common_ptr cinfo) {
    auto* manager = reinterpret_cast<RecoveringErrorManager*>(cinfo->err);
    (*cinfo->err->format_message)(cinfo, manager->message);
    std::longjmp(manager->escape, 1);
}

void countQuietly(j_common_ptr cinfo, int msgLevel) {
    if (msgLevel < 0) {
        ++cinfo->err->num_warnings;
    }
}

// Everything that libjpeg can jump out of lives in this one frame, which holds no object whose
// destructor the jump could skip.
bool decode(const std::uint8_t* data, std::size_t size, std::uint64_t maxPixels, PixelImage& image,
            std::string& message) {
    jpeg_decompress_struct cinfo;
    RecoveringErrorManager errors;
    cinfo.err = jpeg_std_error(&errors.base);
    errors.base.error_exit = escapeOnError;
    errors.base.emit_message = countQuietly;
    errors.message[0] = '\0';
    if (setjmp(errors.escape)) {
        jpeg_destroy_decompress(&cinfo);
        message = errors.message;
        image.pixels.clear();
        return false;
    }
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, const_cast<unsigned char*>(data), static_cast<unsigned long>(size));
    jpeg_read_header(&cinfo, TRUE);
    if (cinfo.image_width > static_cast<JDIMENSION>(kMaxImageSide) ||
        cinfo.image_height > static_cast<JDIMENSION>(kMaxImageSide) ||
        static_cast<std::uint64_t>(cinfo.image_width) * cinfo.image_height > maxPixels) {
        jpeg_destroy_decompress(&cinfo);
        message = "Image too large";
        return false;
    }
    cinfo.out_color_space = JCS_RGB;
    jpeg_start_decompress(&cinfo);
    if (cinfo.output_components != 3 || cinfo.output_width == 0 || cinfo.output_height == 0) {
        jpeg_destroy_decompress(&cinfo);
        message = "Image is not RGB";
        return false;
    }
    image.width = static_cast<int>(cinfo.output_width);
    image.height = static_cast<int>(cinfo.output_height);
    image.channels = 3;
    const std::size_t rowSpan = static_cast<std::size_t>(cinfo.output_width) * 3;
    image.pixels.resize(rowSpan * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        // GL wants the bottom row first, the decoder gives the top row first.
        JSAMPROW row =
            image.pixels.data() + (cinfo.output_height - 1 - cinfo.output_scanline) * rowSpan;
        if (jpeg_read_scanlines(&cinfo, &row, 1) != 1) {
            jpeg_destroy_decompress(&cinfo);
            message = "Decoder delivered no scanline";
            image.pixels.clear();
            return false;
        }
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
    return true;
}

} // namespace

JpegReadResult readJpeg(const std::uint8_t* data, std::size_t size) {
    return readJpeg(data, size,
                    static_cast<std::uint64_t>(kMaxImageSide) *
                        static_cast<std::uint64_t>(kMaxImageSide));
}

JpegReadResult readJpeg(const std::uint8_t* data, std::size_t size, std::uint64_t maxPixels) {
    // libjpeg refuses an empty buffer by itself; a missing one is just as empty.
    static const std::uint8_t kNothing = 0;
    if (data == nullptr) {
        data = &kNothing;
        size = 0;
    }
    JpegReadResult result;
    PixelImage image;
    if (decode(data, size, maxPixels, image, result.message)) {
        result.image = std::move(image);
    }
    return result;
}
