// TGA decoding from memory with the loader's own failure messages. Run-length packets may cross
// rows; the packet stream is checked completely before the pixel buffer is allocated, so a
// truncated or overlong file fails without allocating or leaving pixels unset.
#include "assets/TgaReader.h"

#include <cstring>
#include <utility>

namespace {

const std::size_t kPrefixSize = 12;    // ID length, colour map, type, map fields, origin
const std::size_t kInfoHeaderSize = 6; // width, height, bits per pixel, descriptor
const std::uint8_t kUncompressedPrefix[kPrefixSize] = {0, 0, 2, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const std::uint8_t kRlePrefix[kPrefixSize] = {0, 0, 10, 0, 0, 0, 0, 0, 0, 0, 0, 0};
const unsigned kRunPacketFlag = 128; // packet header bit: a run of one repeated pixel

const char* const kCaptionError = "ERROR";

TgaReadResult failure(const char* message, const char* caption = kCaptionError) {
    TgaReadResult result;
    result.message = message;
    result.caption = caption;
    return result;
}

// Stored B, G, R(, A) to R, G, B(, A).
void storePixel(const std::uint8_t* src, std::size_t bytesPerPixel, std::uint8_t* dst) {
    dst[0] = src[2];
    dst[1] = src[1];
    dst[2] = src[0];
    if (bytesPerPixel == 4) {
        dst[3] = src[3];
    }
}

// Walks the packets without storing anything: the failure message, or nullptr when the stream
// fills the image exactly.
const char* checkRlePackets(const std::uint8_t* data, std::size_t size, std::size_t pos,
                            std::size_t bytesPerPixel, std::uint64_t pixelCount) {
    std::uint64_t stored = 0;
    while (stored < pixelCount) {
        if (pos >= size) {
            return "Could not read RLE header";
        }
        const unsigned header = data[pos++];
        const bool run = header >= kRunPacketFlag;
        const std::uint64_t count = run ? header - 127 : header + 1;
        if (stored + count > pixelCount) {
            return "Too many pixels read";
        }
        const std::uint64_t bytes = run ? bytesPerPixel : count * bytesPerPixel;
        if (size - pos < bytes) {
            return run ? "Could not read from file" : "Could not read image data";
        }
        pos += static_cast<std::size_t>(bytes);
        stored += count;
    }
    return nullptr;
}

} // namespace

TgaReadResult readTga(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < kPrefixSize) {
        return failure("Could not read file header");
    }
    bool rle = false;
    if (std::memcmp(data, kRlePrefix, kPrefixSize) == 0) {
        rle = true;
    } else if (std::memcmp(data, kUncompressedPrefix, kPrefixSize) != 0) {
        return failure("TGA file be type 2 or type 10 ", "Invalid Image");
    }
    if (size - kPrefixSize < kInfoHeaderSize) {
        return failure("Could not read info header");
    }
    const std::uint8_t* info = data + kPrefixSize;
    const int width = info[0] + 256 * info[1];
    const int height = info[2] + 256 * info[3];
    const int bitsPerPixel = info[4];
    if (width == 0 || height == 0 || (bitsPerPixel != 24 && bitsPerPixel != 32) ||
        width > kMaxImageSide || height > kMaxImageSide) {
        return failure("Invalid texture information");
    }

    const std::size_t bytesPerPixel = static_cast<std::size_t>(bitsPerPixel / 8);
    const std::uint64_t pixelCount = static_cast<std::uint64_t>(width) * height;
    const std::uint64_t imageSize = pixelCount * bytesPerPixel;
    std::size_t pos = kPrefixSize + kInfoHeaderSize;
    if (!rle && size - pos < imageSize) {
        return failure("Could not read image data");
    }
    if (rle) {
        if (const char* message = checkRlePackets(data, size, pos, bytesPerPixel, pixelCount)) {
            return failure(message);
        }
    }

    PixelImage image;
    image.width = width;
    image.height = height;
    image.channels = static_cast<int>(bytesPerPixel);
    image.pixels.resize(static_cast<std::size_t>(imageSize));
    std::uint8_t* dst = image.pixels.data();
    std::uint8_t* const end = dst + image.pixels.size();
    if (!rle) {
        for (; dst < end; dst += bytesPerPixel, pos += bytesPerPixel) {
            storePixel(data + pos, bytesPerPixel, dst);
        }
    } else {
        // The stream was checked above: every packet fits both the data and the image.
        while (dst < end) {
            const unsigned header = data[pos++];
            if (header >= kRunPacketFlag) {
                for (unsigned i = 0; i < header - 127; ++i, dst += bytesPerPixel) {
                    storePixel(data + pos, bytesPerPixel, dst);
                }
                pos += bytesPerPixel;
            } else {
                for (unsigned i = 0; i <= header; ++i, dst += bytesPerPixel, pos += bytesPerPixel) {
                    storePixel(data + pos, bytesPerPixel, dst);
                }
            }
        }
    }
    TgaReadResult result;
    result.image = std::move(image);
    return result;
}
