// BMP encoding: bottom-up rows padded to 4 bytes, pixels stored B, G, R; palette images get a
// palette of the image's own colours.
#include "tools/datagen/BmpWriter.h"

#include "tools/datagen/ByteSink.h"

#include <algorithm>

namespace {

std::uint32_t rgbAt(const PixelImage& image, int x, int y) {
    const std::uint8_t* p =
        &image.pixels[static_cast<std::size_t>((y * image.width + x) * image.channels)];
    return (static_cast<std::uint32_t>(p[0]) << 16) | (static_cast<std::uint32_t>(p[1]) << 8) |
           p[2];
}

} // namespace

std::optional<std::vector<std::uint8_t>> encodeBmp(const PixelImage& image,
                                                   const BmpOptions& options) {
    const int bits = options.bitsPerPixel;
    const bool palette = bits <= 8;
    std::vector<std::uint32_t> colours;
    if (palette) {
        for (int y = 0; y < image.height; ++y) {
            for (int x = 0; x < image.width; ++x) {
                std::uint32_t c = rgbAt(image, x, y);
                if (std::find(colours.begin(), colours.end(), c) == colours.end()) {
                    colours.push_back(c);
                }
            }
        }
        if (colours.size() > (1u << bits)) {
            return std::nullopt;
        }
    }
    const std::size_t headerSize = options.coreHeader ? 12 : 40;
    const std::size_t entrySize = options.coreHeader ? 3 : 4;
    const std::size_t paletteBytes = palette ? colours.size() * entrySize : 0;
    const std::size_t rowBytes = ((static_cast<std::size_t>(image.width) * bits + 31) / 32) * 4;
    const std::size_t fileHeaderSize = options.fileHeader ? 14 : 0;
    const std::size_t dataOffset = fileHeaderSize + headerSize + paletteBytes;

    ByteSink out;
    if (options.fileHeader) {
        out.u8('B');
        out.u8('M');
        out.u32(static_cast<std::uint32_t>(dataOffset + rowBytes * image.height));
        out.u32(0);
        out.u32(static_cast<std::uint32_t>(dataOffset));
    }
    if (options.coreHeader) {
        out.u32(12);
        out.u16(static_cast<std::uint32_t>(image.width));
        out.u16(static_cast<std::uint32_t>(image.height));
        out.u16(1);
        out.u16(static_cast<std::uint32_t>(bits));
    } else {
        out.u32(40);
        out.i32(image.width);
        out.i32(image.height); // positive: rows stored bottom-up
        out.u16(1);
        out.u16(static_cast<std::uint32_t>(bits));
        out.u32(0); // BI_RGB
        out.u32(static_cast<std::uint32_t>(rowBytes * image.height));
        out.u32(2835); // 72 dpi
        out.u32(2835);
        out.u32(static_cast<std::uint32_t>(colours.size()));
        out.u32(0);
    }
    for (std::uint32_t c : colours) {
        out.u8(c);
        out.u8(c >> 8);
        out.u8(c >> 16);
        if (!options.coreHeader) {
            out.u8(0);
        }
    }
    for (int y = 0; y < image.height; ++y) {
        const std::size_t rowStart = out.size();
        if (palette) {
            std::uint32_t acc = 0;
            int filled = 0;
            for (int x = 0; x < image.width; ++x) {
                auto index = static_cast<std::uint32_t>(
                    std::find(colours.begin(), colours.end(), rgbAt(image, x, y)) -
                    colours.begin());
                acc = (acc << bits) | index;
                filled += bits;
                if (filled == 8) {
                    out.u8(acc);
                    acc = 0;
                    filled = 0;
                }
            }
            if (filled > 0) {
                out.u8(acc << (8 - filled));
            }
        } else {
            for (int x = 0; x < image.width; ++x) {
                const std::uint8_t* p =
                    &image.pixels[static_cast<std::size_t>((y * image.width + x) * image.channels)];
                out.u8(p[2]);
                out.u8(p[1]);
                out.u8(p[0]);
                if (bits == 32) {
                    out.u8(image.channels == 4 ? p[3] : 255);
                }
            }
        }
        while (out.size() - rowStart < rowBytes) {
            out.u8(0);
        }
    }
    return out.bytes;
}
