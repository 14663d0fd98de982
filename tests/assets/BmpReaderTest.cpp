// The BMP reader on files built byte by byte, for what the conformance corpus leaves open: packed
// 16-bit pixels, a bare header, run-length deltas, and the limits it refuses at.
#include "assets/BmpReader.h"
#include "tests/assets/TestFiles.h"

#include <gtest/gtest.h>

using assettest::BmpLayout;
using assettest::Bytes;
using assettest::makeBmp;

namespace {

std::optional<PixelImage> decode(const Bytes& file, std::uint64_t maxPixels = 1u << 28) {
    return readBmp(file.data(), file.size(), maxPixels);
}

// Palette depths get a recognisable palette: index 0 dark red, 1 light blue, the rest grey.
BmpLayout layout(int bits, int width, int height = 1, std::uint32_t compression = 0) {
    BmpLayout l;
    l.bits = bits;
    l.width = width;
    l.height = height;
    l.compression = compression;
    if (bits <= 8) {
        l.palette.assign(std::size_t(1) << bits, {7, 7, 7});
        l.palette[0] = {128, 0, 0};
        l.palette[1] = {100, 150, 250};
    }
    return l;
}

const Bytes kDark = {128, 0, 0}, kLight = {100, 150, 250}, kBlack = {0, 0, 0};

// RGB pixels, bottom row first, joined.
Bytes rgb(std::initializer_list<Bytes> pixels) {
    Bytes out;
    for (const Bytes& p : pixels) {
        out.insert(out.end(), p.begin(), p.end());
    }
    return out;
}

// The decoded RGB bytes of a file of this layout and these stored pixels; none if refused.
Bytes pixels(const BmpLayout& layout, const Bytes& stored) {
    const auto image = decode(makeBmp(layout, stored));
    return image && image->channels == 3 ? image->pixels : Bytes{};
}

} // namespace

TEST(BmpReader, PackedBareAndRunLengthPixelsComeOutAsRgb) {
    EXPECT_EQ(pixels(layout(16, 2), {0x00, 0x7C, 0x1F, 0x00}), rgb({{255, 0, 0}, {0, 0, 255}}))
        << "x555: full red, full blue";
    BmpLayout fields = layout(16, 2, 1, 3);
    fields.masks = {0xF800, 0x07E0, 0x001F};
    EXPECT_EQ(pixels(fields, {0xE0, 0x07, 0xFF, 0xFF}), rgb({{0, 255, 0}, {255, 255, 255}}))
        << "565 masks: full green, white";
    BmpLayout bare = layout(8, 2);
    bare.fileHeader = false;
    bare.coloursUsed = 2;
    bare.palette.resize(2);
    EXPECT_EQ(pixels(bare, {1, 0, 0, 0}), rgb({kLight, kDark})) << "no file header, two colours";
    EXPECT_EQ(pixels(bare, {2, 0, 0, 0}), Bytes{}) << "an index past the colours used";

    const Bytes stream = {
        3, 1,             // row 0: three of colour 1
        0, 0,             // end of line
        0, 3, 0, 1, 0, 0, // row 1: literal 0, 1, 0, padded to an even length
        0, 0,             // end of line
        0, 2, 2, 0,       // row 2: move right by 2
        1, 0,             // one of colour 0 at x = 2
        0, 1,             // end of bitmap
    };
    EXPECT_EQ(pixels(layout(8, 4, 3, 1), stream),
              rgb({kLight, kLight, kLight, kBlack, kDark, kLight, kDark, kBlack, kBlack, kBlack,
                   kDark, kBlack}))
        << "RLE8: pixels the stream skips stay black";
}

TEST(BmpReader, RefusesAtEachLimitAndNotBefore) {
    const struct {
        const char* why;
        int bits, width, height;
        std::uint32_t compression;
        std::vector<std::uint32_t> masks;
    } refused[] = {
        {"wider than any texture", 24, 16385, 1, 0, {}},
        {"second row cut short", 24, 1, 2, 0, {}},
        {"bit fields at 24 bits", 24, 1, 1, 3, {0xFF0000, 0x00FF00, 0x0000FF}},
        {"red and green masks overlapping", 32, 1, 1, 3, {0xFF0000, 0x01FF00, 0x0000FF}},
        {"red and blue masks overlapping", 32, 1, 1, 3, {0xFF0000, 0x00000F, 0x01FF00}},
        {"green and blue masks overlapping", 32, 1, 1, 3, {0xFF0000, 0x00FF00, 0x0001FF}},
        {"masks not contiguous", 32, 1, 1, 3, {0xF0F000, 0x000F00, 0x0000FF}},
        {"a mask outside a 16-bit pixel", 16, 1, 1, 3, {0x1F0000, 0x07E0, 0x001F}},
    };
    for (const auto& c : refused) {
        BmpLayout l = layout(c.bits, c.width, c.height, c.compression);
        l.masks = c.masks;
        EXPECT_FALSE(decode(makeBmp(l, {1, 2, 3, 0, 4, 5}))) << c.why;
    }
    EXPECT_TRUE(decode(makeBmp(layout(24, 16384), Bytes(16384 * 3, 9)))) << "as wide as allowed";
    EXPECT_TRUE(decode(makeBmp(layout(24, 1, 2), {1, 2, 3, 0, 4, 5, 6})))
        << "only the last padding missing";
    // Run-length data claims any size for a few bytes: the pixel budget decides.
    const Bytes rle = makeBmp(layout(8, 1024, 1024, 1), {0, 1});
    EXPECT_TRUE(decode(rle, 1024 * 1024));
    EXPECT_FALSE(decode(rle, 1024 * 1024 - 1));
}
