// The BMP reader on files built byte by byte: packed and compressed pixels, and the files it must
// refuse.
#include "assets/BmpReader.h"
#include "tests/assets/TestFiles.h"

#include <gtest/gtest.h>

using assettest::BmpLayout;
using assettest::Bytes;
using assettest::makeBmp;

namespace {

std::optional<PixelImage> decode(const Bytes& file) {
    return readBmp(file.data(), file.size());
}

// Palette depths get a recognisable palette: index 0 dark red, 1 light blue, i > 1 (i, 7, 7).
BmpLayout layout(int bits, int width, int height = 1, std::uint32_t compression = 0) {
    BmpLayout l;
    l.bits = bits;
    l.width = width;
    l.height = height;
    l.compression = compression;
    for (int i = 0; bits <= 8 && i < (1 << bits); ++i) {
        l.palette.push_back(i == 0   ? std::array<std::uint8_t, 3>{128, 0, 0}
                            : i == 1 ? std::array<std::uint8_t, 3>{100, 150, 250}
                                     : std::array<std::uint8_t, 3>{std::uint8_t(i), 7, 7});
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

void expectImage(const char* what, const BmpLayout& layout, const Bytes& stored,
                 const Bytes& expected) {
    const auto image = decode(makeBmp(layout, stored));
    ASSERT_TRUE(image) << what;
    EXPECT_EQ(image->channels, 3) << what;
    EXPECT_EQ(image->width * image->height * 3, int(expected.size())) << what;
    EXPECT_EQ(image->pixels, expected) << what;
}

} // namespace

// Plain depths, both headers, top-down rows and padding are the conformance corpus's; here are
// what it leaves open: packed 16-bit pixels, masks, run-length streams and the limits.

TEST(BmpReader, SixteenBitPixelsExpandPlainOrThroughTheirMasks) {
    // x555: full red, then full blue.
    expectImage("16 bits", layout(16, 2), {0x00, 0x7C, 0x1F, 0x00},
                rgb({{255, 0, 0}, {0, 0, 255}}));
    BmpLayout fields = layout(16, 2, 1, 3);
    fields.masks = {0xF800, 0x07E0, 0x001F};
    // 565: full green, then white.
    expectImage("bit fields", fields, {0xE0, 0x07, 0xFF, 0xFF},
                rgb({{0, 255, 0}, {255, 255, 255}}));
    BmpLayout bare = layout(8, 2);
    bare.fileHeader = false;
    bare.coloursUsed = 2;
    bare.palette.resize(2);
    expectImage("no file header, two colours used", bare, {1, 0, 0, 0}, rgb({kLight, kDark}));
    EXPECT_FALSE(decode(makeBmp(bare, {2, 0, 0, 0}))) << "an index past the colours used";
}

TEST(BmpReader, RunLengthStreamsFillRunsLiteralsLineEndsAndDeltas) {
    const Bytes stream = {
        3, 1,             // row 0: three of colour 1
        0, 0,             // end of line
        0, 3, 0, 1, 0, 0, // row 1: literal 0, 1, 0, padded to an even length
        0, 0,             // end of line
        0, 2, 2, 0,       // row 2: move right by 2
        1, 0,             // one of colour 0 at x = 2
        0, 1,             // end of bitmap
    };
    // Pixels the stream skips stay black.
    expectImage("RLE8", layout(8, 4, 3, 1), stream,
                rgb({kLight, kLight, kLight, kBlack, kDark, kLight, kDark, kBlack, kBlack, kBlack,
                     kDark, kBlack}));
    expectImage("RLE4 alternates the nibbles of a run", layout(4, 5, 1, 2), {5, 0x10, 0, 1},
                rgb({kLight, kDark, kLight, kDark, kLight}));
}

TEST(BmpReader, MalformedFilesAreRefused) {
    const struct {
        const char* why;
        int bits, width, height, planes;
        std::uint32_t compression;
        std::vector<std::uint32_t> masks;
    } cases[] = {
        {"wider than any texture", 24, 16385, 1, 1, 0, {}},
        {"second row cut short", 24, 1, 2, 1, 0, {}},
        {"embedded JPEG", 24, 1, 1, 1, 4, {}},
        {"bit fields at 24 bits", 24, 1, 1, 1, 3, {0xFF0000, 0x00FF00, 0x0000FF}},
        {"overlapping masks", 32, 1, 1, 1, 3, {0xFF0000, 0x01FF00, 0x0000FF}},
        {"masks not contiguous", 32, 1, 1, 1, 3, {0xF0F000, 0x000F00, 0x0000FF}},
        {"a mask outside a 16-bit pixel", 16, 1, 1, 1, 3, {0x1F0000, 0x07E0, 0x001F}},
    };
    for (const auto& c : cases) {
        BmpLayout l = layout(c.bits, c.width, c.height, c.compression);
        l.planes = c.planes;
        l.masks = c.masks;
        EXPECT_FALSE(decode(makeBmp(l, {1, 2, 3, 0, 4, 5}))) << c.why;
    }
    BmpLayout twoRows = layout(24, 1, 2);
    EXPECT_TRUE(decode(makeBmp(twoRows, {1, 2, 3, 0, 4, 5, 6}))) << "only the last padding missing";

    EXPECT_FALSE(decode({'B', 'M'})) << "magic only";
    // A huge claim through RLE would need no data at all: the pixel budget refuses it.
    const Bytes rle = makeBmp(layout(8, 16384, 16384, 1), {0, 1});
    EXPECT_FALSE(readBmp(rle.data(), rle.size(), 1u << 20));
}
