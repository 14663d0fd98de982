// JPEG encoding through libjpeg's stdio destination; JPEG stores the top row first.
#include "tools/datagen/JpegWriter.h"

#include <cstdio>
#include <jpeglib.h>
#include <vector>

bool writeJpeg(const std::string& path, const PixelImage& image, int quality, bool grey) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "ombrelix-datagen: cannot write %s\n", path.c_str());
        return false;
    }
    jpeg_compress_struct cinfo{};
    jpeg_error_mgr jerr{};
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_compress(&cinfo);
    jpeg_stdio_dest(&cinfo, file);
    cinfo.image_width = static_cast<JDIMENSION>(image.width);
    cinfo.image_height = static_cast<JDIMENSION>(image.height);
    cinfo.input_components = grey ? 1 : 3;
    cinfo.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    cinfo.optimize_coding = TRUE;
    jpeg_start_compress(&cinfo, TRUE);
    std::vector<JSAMPLE> row(static_cast<std::size_t>(image.width * cinfo.input_components));
    while (cinfo.next_scanline < cinfo.image_height) {
        int y = image.height - 1 - static_cast<int>(cinfo.next_scanline);
        for (int x = 0; x < image.width; ++x) {
            const std::uint8_t* p =
                &image.pixels[static_cast<std::size_t>((y * image.width + x) * image.channels)];
            if (grey) {
                row[static_cast<std::size_t>(x)] =
                    static_cast<JSAMPLE>((p[0] * 77 + p[1] * 150 + p[2] * 29) >> 8);
            } else {
                for (int c = 0; c < 3; ++c) {
                    row[static_cast<std::size_t>(x * 3 + c)] = p[c];
                }
            }
        }
        JSAMPROW rows[1] = {row.data()};
        jpeg_write_scanlines(&cinfo, rows, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    bool ok = std::ferror(file) == 0;
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "ombrelix-datagen: short write to %s\n", path.c_str());
    }
    return ok;
}
