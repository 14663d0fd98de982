// TGA encoding: pixels stored B, G, R(, A), rows bottom first; RLE packets stay within a row.
#include "tools/datagen/TgaWriter.h"

#include "tools/datagen/ByteSink.h"

#include <cstring>

namespace {

void putPixel(ByteSink& out, const std::uint8_t* p, int channels) {
    out.u8(p[2]);
    out.u8(p[1]);
    out.u8(p[0]);
    if (channels == 4) {
        out.u8(p[3]);
    }
}

} // namespace

std::vector<std::uint8_t> encodeTga(const PixelImage& image, bool runLength) {
    const int n = image.channels;
    ByteSink out;
    out.u8(0);                    // no ID field
    out.u8(0);                    // no colour map
    out.u8(runLength ? 10 : 2);   // true colour
    for (int i = 0; i < 5; ++i) { // colour-map fields
        out.u8(0);
    }
    out.u16(0); // x origin
    out.u16(0); // y origin
    out.u16(static_cast<std::uint32_t>(image.width));
    out.u16(static_cast<std::uint32_t>(image.height));
    out.u8(static_cast<std::uint32_t>(n * 8));
    out.u8(n == 4 ? 8 : 0); // alpha bits; origin bit clear: bottom row first
    auto pixel = [&](int x, int y) {
        return &image.pixels[static_cast<std::size_t>((y * image.width + x) * n)];
    };
    for (int y = 0; y < image.height; ++y) {
        if (!runLength) {
            for (int x = 0; x < image.width; ++x) {
                putPixel(out, pixel(x, y), n);
            }
            continue;
        }
        int x = 0;
        while (x < image.width) {
            int run = 1;
            while (x + run < image.width && run < 128 &&
                   std::memcmp(pixel(x, y), pixel(x + run, y), static_cast<std::size_t>(n)) == 0) {
                ++run;
            }
            if (run >= 2) {
                out.u8(static_cast<std::uint32_t>(127 + run));
                putPixel(out, pixel(x, y), n);
                x += run;
                continue;
            }
            // Raw packet: up to the next pair of equal pixels, which starts a run instead.
            int count = 1;
            while (x + count < image.width && count < 128 &&
                   !(x + count + 1 < image.width &&
                     std::memcmp(pixel(x + count, y), pixel(x + count + 1, y),
                                 static_cast<std::size_t>(n)) == 0)) {
                ++count;
            }
            out.u8(static_cast<std::uint32_t>(count - 1));
            for (int i = 0; i < count; ++i) {
                putPixel(out, pixel(x + i, y), n);
            }
            x += count;
        }
    }
    return out.bytes;
}
