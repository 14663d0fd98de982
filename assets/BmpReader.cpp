// Windows BMP (DIB) decoding from memory to bottom-up RGB rows. Every count, offset and size
// from the file is checked against the buffer in 64-bit arithmetic before it is used.
#include "assets/BmpReader.h"

#include <algorithm>
#include <array>

namespace {

const std::size_t kFileHeaderSize = 14;    // "BM", file size, reserved, pixel data offset
const std::uint32_t kCoreHeaderSize = 12;  // OS/2-style header: 16-bit sides, 3-byte palette
const std::uint32_t kInfoHeaderSize = 40;  // Windows header: 32-bit sides, 4-byte palette
const std::size_t kBitFieldMasksSize = 12; // red, green and blue masks after an info header

const std::uint32_t kCompressionNone = 0;
const std::uint32_t kCompressionRle8 = 1;
const std::uint32_t kCompressionRle4 = 2;
const std::uint32_t kCompressionBitFields = 3;

std::uint16_t readU16(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

std::uint32_t readU32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

// One colour channel of a packed 16- or 32-bit pixel, scaled to 8 bits on the way out.
struct Channel {
    std::uint32_t mask = 0;
    int shift = 0;
    std::uint32_t maxValue = 0; // 0: the channel is absent and reads as 0

    std::uint8_t expand(std::uint32_t pixel) const {
        if (maxValue == 0) {
            return 0;
        }
        const std::uint64_t value = (pixel & mask) >> shift;
        return static_cast<std::uint8_t>((value * 255 + maxValue / 2) / maxValue);
    }
};

// A mask must be one contiguous run of bits inside the pixel; an empty mask is an absent channel.
bool makeChannel(std::uint32_t mask, int bitsPerPixel, Channel& channel) {
    channel = Channel{};
    if (mask == 0) {
        return true;
    }
    if (bitsPerPixel < 32 && (mask >> bitsPerPixel) != 0) {
        return false;
    }
    int shift = 0;
    while (((mask >> shift) & 1u) == 0) {
        ++shift;
    }
    const std::uint64_t run = static_cast<std::uint64_t>(mask) >> shift;
    if ((run & (run + 1)) != 0) {
        return false;
    }
    channel.mask = mask;
    channel.shift = shift;
    channel.maxValue = static_cast<std::uint32_t>(run);
    return true;
}

struct Rgb {
    std::uint8_t r = 0, g = 0, b = 0;
};

struct Layout {
    std::int64_t width = 0;
    std::int64_t height = 0; // always positive; topDown tells the row order
    bool topDown = false;
    int bitsPerPixel = 0;
    std::uint32_t compression = kCompressionNone;
    std::array<Channel, 3> channels; // red, green, blue for 16 and 32 bits
    std::vector<Rgb> palette;
    std::size_t pixelStart = 0;
};

bool isPaletteDepth(int bits) {
    return bits == 1 || bits == 4 || bits == 8;
}

// Palette index of pixel x in one stored row of 1, 4 or 8 bits per pixel.
unsigned paletteIndex(const std::uint8_t* row, int bits, std::int64_t x) {
    switch (bits) {
    case 1:
        return (row[x >> 3] >> (7 - (x & 7))) & 1u;
    case 4:
        return (x & 1) ? (row[x >> 1] & 0x0Fu) : (row[x >> 1] >> 4);
    default:
        return row[x];
    }
}

bool decodeUncompressed(const std::uint8_t* data, std::size_t size, const Layout& layout,
                        PixelImage& image) {
    const std::uint64_t usedRowBytes = (static_cast<std::uint64_t>(layout.width) *
                                            static_cast<std::uint64_t>(layout.bitsPerPixel) +
                                        7) /
                                       8;
    const std::uint64_t rowStride = (usedRowBytes + 3) / 4 * 4;
    // The padding after the very last row may be missing; the pixels themselves may not.
    const std::uint64_t needed =
        rowStride * static_cast<std::uint64_t>(layout.height - 1) + usedRowBytes;
    if (layout.pixelStart > size || size - layout.pixelStart < needed) {
        return false;
    }

    const std::size_t width = static_cast<std::size_t>(layout.width);
    const std::size_t height = static_cast<std::size_t>(layout.height);
    image.pixels.resize(width * height * 3);
    for (std::size_t y = 0; y < height; ++y) {
        const std::size_t storedRow = layout.topDown ? height - 1 - y : y;
        const std::uint8_t* src = data + layout.pixelStart + storedRow * rowStride;
        std::uint8_t* dst = image.pixels.data() + y * width * 3;
        for (std::size_t x = 0; x < width; ++x, dst += 3) {
            Rgb colour;
            switch (layout.bitsPerPixel) {
            case 1:
            case 4:
            case 8: {
                const unsigned index = paletteIndex(src, layout.bitsPerPixel, x);
                if (index >= layout.palette.size()) {
                    return false;
                }
                colour = layout.palette[index];
                break;
            }
            case 16: {
                const std::uint32_t value = readU16(src + x * 2);
                colour = {layout.channels[0].expand(value), layout.channels[1].expand(value),
                          layout.channels[2].expand(value)};
                break;
            }
            case 24:
                colour = {src[x * 3 + 2], src[x * 3 + 1], src[x * 3]};
                break;
            default: {
                const std::uint32_t value = readU32(src + x * 4);
                colour = {layout.channels[0].expand(value), layout.channels[1].expand(value),
                          layout.channels[2].expand(value)};
                break;
            }
            }
            dst[0] = colour.r;
            dst[1] = colour.g;
            dst[2] = colour.b;
        }
    }
    return true;
}

// RLE8 and RLE4: pixels the stream never reaches stay black; pixels it places outside the image
// are dropped. Running out of data between packets ends the bitmap, inside a packet fails.
bool decodeRle(const std::uint8_t* data, std::size_t size, const Layout& layout,
               PixelImage& image) {
    const bool rle8 = layout.compression == kCompressionRle8;
    const std::int64_t width = layout.width;
    const std::int64_t height = layout.height;
    image.pixels.assign(static_cast<std::size_t>(width * height * 3), 0);

    std::int64_t x = 0;
    std::int64_t y = 0;
    auto put = [&](unsigned index) {
        if (index >= layout.palette.size()) {
            return false;
        }
        if (x < width && y < height) {
            const Rgb& colour = layout.palette[index];
            std::uint8_t* dst = image.pixels.data() + static_cast<std::size_t>((y * width + x) * 3);
            dst[0] = colour.r;
            dst[1] = colour.g;
            dst[2] = colour.b;
        }
        ++x;
        return true;
    };

    std::size_t pos = layout.pixelStart;
    while (pos < size && y < height) {
        if (size - pos < 2) {
            return false;
        }
        const unsigned count = data[pos];
        const unsigned value = data[pos + 1];
        pos += 2;
        if (count > 0) {
            for (unsigned i = 0; i < count; ++i) {
                const unsigned index = rle8 ? value : ((i & 1) ? (value & 0x0F) : (value >> 4));
                if (!put(index)) {
                    return false;
                }
            }
            continue;
        }
        if (value == 0) { // end of line
            x = 0;
            ++y;
        } else if (value == 1) { // end of bitmap
            break;
        } else if (value == 2) { // move right and up
            if (size - pos < 2) {
                return false;
            }
            x += data[pos];
            y += data[pos + 1];
            pos += 2;
        } else { // literal run, padded to a 16-bit boundary
            const std::size_t bytes = rle8 ? value : (value + 1) / 2;
            if (size - pos < bytes) {
                return false;
            }
            for (unsigned i = 0; i < value; ++i) {
                const unsigned index =
                    rle8 ? data[pos + i]
                         : ((i & 1) ? (data[pos + i / 2] & 0x0F) : (data[pos + i / 2] >> 4));
                if (!put(index)) {
                    return false;
                }
            }
            pos += std::min(size - pos, (bytes + 1) & ~static_cast<std::size_t>(1));
        }
    }
    return true;
}

} // namespace

std::optional<PixelImage> readBmp(const std::uint8_t* data, std::size_t size) {
    return readBmp(data, size,
                   static_cast<std::uint64_t>(kMaxImageSide) *
                       static_cast<std::uint64_t>(kMaxImageSide));
}

std::optional<PixelImage> readBmp(const std::uint8_t* data, std::size_t size,
                                  std::uint64_t maxPixels) {
    if (data == nullptr) {
        return std::nullopt;
    }
    std::size_t headerStart = 0;
    bool hasFileHeader = false;
    std::uint64_t pixelOffset = 0;
    if (size >= 2 && data[0] == 'B' && data[1] == 'M') {
        if (size < kFileHeaderSize) {
            return std::nullopt;
        }
        hasFileHeader = true;
        headerStart = kFileHeaderSize;
        pixelOffset = readU32(data + 10);
    }
    if (size - headerStart < 4) {
        return std::nullopt;
    }
    const std::uint8_t* header = data + headerStart;
    const std::uint32_t headerSize = readU32(header);
    if (headerSize != kCoreHeaderSize && headerSize != kInfoHeaderSize) {
        return std::nullopt;
    }
    if (size - headerStart < headerSize) {
        return std::nullopt;
    }

    Layout layout;
    std::int64_t rawHeight = 0;
    unsigned planes = 0;
    std::uint64_t coloursUsed = 0;
    std::size_t paletteEntrySize = 0;
    if (headerSize == kCoreHeaderSize) {
        layout.width = readU16(header + 4);
        rawHeight = readU16(header + 6);
        planes = readU16(header + 8);
        layout.bitsPerPixel = readU16(header + 10);
        paletteEntrySize = 3;
    } else {
        layout.width = static_cast<std::int32_t>(readU32(header + 4));
        rawHeight = static_cast<std::int32_t>(readU32(header + 8));
        planes = readU16(header + 12);
        layout.bitsPerPixel = readU16(header + 14);
        layout.compression = readU32(header + 16);
        coloursUsed = readU32(header + 32);
        paletteEntrySize = 4;
    }
    if (planes != 1 || layout.width <= 0 || rawHeight == 0) {
        return std::nullopt;
    }
    layout.topDown = rawHeight < 0;
    layout.height = rawHeight < 0 ? -rawHeight : rawHeight;
    if (layout.width > kMaxImageSide || layout.height > kMaxImageSide ||
        static_cast<std::uint64_t>(layout.width * layout.height) > maxPixels) {
        return std::nullopt;
    }

    const int bits = layout.bitsPerPixel;
    if (!isPaletteDepth(bits) && bits != 16 && bits != 24 && bits != 32) {
        return std::nullopt;
    }
    std::size_t tableStart = headerStart + headerSize;
    switch (layout.compression) {
    case kCompressionNone:
        break;
    case kCompressionRle8:
    case kCompressionRle4:
        // Compressed rows have no fixed place, so they can only be stored bottom-up.
        if (bits != (layout.compression == kCompressionRle8 ? 8 : 4) || layout.topDown) {
            return std::nullopt;
        }
        break;
    case kCompressionBitFields: {
        if (bits != 16 && bits != 32) {
            return std::nullopt;
        }
        if (size - tableStart < kBitFieldMasksSize) {
            return std::nullopt;
        }
        const std::uint32_t masks[3] = {readU32(data + tableStart), readU32(data + tableStart + 4),
                                        readU32(data + tableStart + 8)};
        if ((masks[0] | masks[1] | masks[2]) == 0 || (masks[0] & masks[1]) != 0 ||
            (masks[0] & masks[2]) != 0 || (masks[1] & masks[2]) != 0) {
            return std::nullopt;
        }
        for (int c = 0; c < 3; ++c) {
            if (!makeChannel(masks[c], bits, layout.channels[c])) {
                return std::nullopt;
            }
        }
        tableStart += kBitFieldMasksSize;
        break;
    }
    default:
        return std::nullopt;
    }
    if (layout.compression == kCompressionNone && (bits == 16 || bits == 32)) {
        // Without bit-fields, 16 bits are x555 and 32 bits are x888.
        const std::uint32_t red = bits == 16 ? 0x7C00u : 0xFF0000u;
        const std::uint32_t green = bits == 16 ? 0x03E0u : 0x00FF00u;
        const std::uint32_t blue = bits == 16 ? 0x001Fu : 0x0000FFu;
        makeChannel(red, bits, layout.channels[0]);
        makeChannel(green, bits, layout.channels[1]);
        makeChannel(blue, bits, layout.channels[2]);
    }

    if (hasFileHeader && pixelOffset < tableStart) {
        return std::nullopt;
    }
    // The colour table as stored: its declared size places the pixels of a header-only file.
    std::uint64_t declaredEntries = coloursUsed;
    if (isPaletteDepth(bits) && declaredEntries == 0) {
        declaredEntries = 1u << bits;
    }
    const std::uint64_t pixelStart =
        hasFileHeader ? pixelOffset : tableStart + declaredEntries * paletteEntrySize;
    if (pixelStart > size) {
        return std::nullopt;
    }
    layout.pixelStart = static_cast<std::size_t>(pixelStart);

    if (isPaletteDepth(bits)) {
        // Only entries that precede the pixels are the palette; indices past it are refused.
        std::uint64_t entries = std::min<std::uint64_t>(declaredEntries, 1u << bits);
        entries = std::min<std::uint64_t>(entries, (pixelStart - tableStart) / paletteEntrySize);
        if (entries == 0) {
            return std::nullopt;
        }
        layout.palette.resize(static_cast<std::size_t>(entries));
        for (std::size_t i = 0; i < layout.palette.size(); ++i) {
            const std::uint8_t* entry = data + tableStart + i * paletteEntrySize;
            layout.palette[i] = {entry[2], entry[1], entry[0]};
        }
    }

    PixelImage image;
    image.width = static_cast<int>(layout.width);
    image.height = static_cast<int>(layout.height);
    image.channels = 3;
    const bool ok = layout.compression == kCompressionRle8 || layout.compression == kCompressionRle4
                        ? decodeRle(data, size, layout, image)
                        : decodeUncompressed(data, size, layout, image);
    if (!ok) {
        return std::nullopt;
    }
    return image;
}
