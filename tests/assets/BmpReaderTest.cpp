// The BMP reader on files built byte by byte: pixel order, palettes of every depth, both header
// kinds, packed and compressed pixels, and the files it must refuse.
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

Bytes rgbAt(const PixelImage& image, int x, int y) {
    const std::size_t i = (static_cast<std::size_t>(y) * image.width + x) * 3;
    return {image.pixels[i], image.pixels[i + 1], image.pixels[i + 2]};
}

const Bytes kRed = {255, 0, 0};
const Bytes kGreen = {0, 255, 0};
const Bytes kBlue = {0, 0, 255};
const Bytes kWhite = {255, 255, 255};
const Bytes kBlack = {0, 0, 0};

// Two colours with a recognisable palette: index 0 dark red, index 1 light blue.
BmpLayout paletteLayout(int bits, int width) {
    BmpLayout layout;
    layout.bits = bits;
    layout.width = width;
    layout.palette = {{{128, 0, 0}}, {{100, 150, 250}}};
    for (int i = 2; i < (1 << bits); ++i) {
        layout.palette.push_back({{static_cast<std::uint8_t>(i), 7, 7}});
    }
    return layout;
}

} // namespace

TEST(BmpReader, TwentyFourBitRowsComeOutAsRgbBottomRowFirstWithoutPadding) {
    // 3 pixels of 3 bytes: each stored row carries 3 bytes of padding.
    const Bytes rgb = {10, 20, 30, 40, 50, 60, 70, 80, 90, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    BmpLayout layout;
    layout.width = 3;
    layout.height = 2;
    const auto image = decode(makeBmp(layout, assettest::bmpRows24(3, 2, rgb)));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->width, 3);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(image->channels, 3);
    EXPECT_EQ(image->pixels, rgb);
}

TEST(BmpReader, ATopDownFileIsTurnedBottomRowFirst) {
    BmpLayout layout;
    layout.width = 1;
    layout.height = -2;
    // Stored top row first: red on top, blue below.
    const Bytes stored = {0, 0, 255, 0, 255, 0, 0, 0};
    const auto image = decode(makeBmp(layout, stored));
    ASSERT_TRUE(image);
    EXPECT_EQ(image->height, 2);
    EXPECT_EQ(rgbAt(*image, 0, 0), kBlue);
    EXPECT_EQ(rgbAt(*image, 0, 1), kRed);
}

TEST(BmpReader, ABareBitmapHeaderWithoutFileHeaderLoads) {
    BmpLayout layout = paletteLayout(8, 2);
    layout.fileHeader = false;
    layout.coloursUsed = 2;
    layout.palette.resize(2);
    const auto image = decode(makeBmp(layout, {1, 0, 0, 0}));
    ASSERT_TRUE(image);
    EXPECT_EQ(rgbAt(*image, 0, 0), (Bytes{100, 150, 250}));
    EXPECT_EQ(rgbAt(*image, 1, 0), (Bytes{128, 0, 0}));
}

TEST(BmpReader, PaletteImagesOfOneFourAndEightBitsExpandThroughThePalette) {
    // 1 bit, 10 pixels: 1 0 1 1 0 0 0 0 | 1 0, most significant bit first.
    auto oneBit = decode(makeBmp(paletteLayout(1, 10), {0xB0, 0x80, 0, 0}));
    ASSERT_TRUE(oneBit);
    const int expectedOnes[10] = {1, 0, 1, 1, 0, 0, 0, 0, 1, 0};
    for (int x = 0; x < 10; ++x) {
        EXPECT_EQ(rgbAt(*oneBit, x, 0),
                  expectedOnes[x] ? (Bytes{100, 150, 250}) : (Bytes{128, 0, 0}))
            << "pixel " << x;
    }

    // 4 bits, 3 pixels: high nibble first, the odd last pixel in a high nibble.
    auto fourBit = decode(makeBmp(paletteLayout(4, 3), {0x10, 0x50, 0, 0}));
    ASSERT_TRUE(fourBit);
    EXPECT_EQ(rgbAt(*fourBit, 0, 0), (Bytes{100, 150, 250}));
    EXPECT_EQ(rgbAt(*fourBit, 1, 0), (Bytes{128, 0, 0}));
    EXPECT_EQ(rgbAt(*fourBit, 2, 0), (Bytes{5, 7, 7}));

    auto eightBit = decode(makeBmp(paletteLayout(8, 2), {200, 1, 0, 0}));
    ASSERT_TRUE(eightBit);
    EXPECT_EQ(rgbAt(*eightBit, 0, 0), (Bytes{200, 7, 7}));
    EXPECT_EQ(rgbAt(*eightBit, 1, 0), (Bytes{100, 150, 250}));
}

TEST(BmpReader, TheCoreHeaderHasThreeBytePaletteEntries) {
    BmpLayout layout = paletteLayout(8, 2);
    layout.coreHeader = true;
    const auto image = decode(makeBmp(layout, {1, 255, 0, 0}));
    ASSERT_TRUE(image);
    EXPECT_EQ(rgbAt(*image, 0, 0), (Bytes{100, 150, 250}));
    EXPECT_EQ(rgbAt(*image, 1, 0), (Bytes{255, 7, 7}));

    BmpLayout direct;
    direct.coreHeader = true;
    direct.width = 1;
    const auto rgb = decode(makeBmp(direct, {30, 20, 10, 0}));
    ASSERT_TRUE(rgb);
    EXPECT_EQ(rgbAt(*rgb, 0, 0), (Bytes{10, 20, 30}));
}

TEST(BmpReader, ColoursUsedLimitsThePaletteAndAnIndexPastItIsRefused) {
    BmpLayout layout = paletteLayout(8, 1);
    layout.coloursUsed = 2;
    layout.palette.resize(2);
    EXPECT_TRUE(decode(makeBmp(layout, {1, 0, 0, 0})));
    EXPECT_FALSE(decode(makeBmp(layout, {2, 0, 0, 0})));
}

TEST(BmpReader, SixteenBitPixelsAre555UnlessBitFieldsSayOtherwise) {
    BmpLayout layout;
    layout.bits = 16;
    layout.width = 2;
    // x555: full red, then full blue.
    const auto plain = decode(makeBmp(layout, {0x00, 0x7C, 0x1F, 0x00}));
    ASSERT_TRUE(plain);
    EXPECT_EQ(rgbAt(*plain, 0, 0), kRed);
    EXPECT_EQ(rgbAt(*plain, 1, 0), kBlue);

    layout.compression = 3;
    layout.masks = {0xF800, 0x07E0, 0x001F};
    // 565: full green, then white.
    const auto fields = decode(makeBmp(layout, {0xE0, 0x07, 0xFF, 0xFF}));
    ASSERT_TRUE(fields);
    EXPECT_EQ(rgbAt(*fields, 0, 0), kGreen);
    EXPECT_EQ(rgbAt(*fields, 1, 0), kWhite);
}

TEST(BmpReader, ThirtyTwoBitPixelsDropTheFourthByte) {
    BmpLayout layout;
    layout.bits = 32;
    layout.width = 1;
    const auto image = decode(makeBmp(layout, {30, 20, 10, 99}));
    ASSERT_TRUE(image);
    EXPECT_EQ(rgbAt(*image, 0, 0), (Bytes{10, 20, 30}));
}

TEST(BmpReader, Rle8RunsLiteralsLineEndsAndDeltasFillTheImage) {
    BmpLayout layout = paletteLayout(8, 4);
    layout.height = 3;
    layout.compression = 1;
    const Bytes stream = {
        3, 1,             // row 0: three of colour 1
        0, 0,             // end of line
        0, 3, 0, 1, 0, 0, // row 1: literal 0, 1, 0, padded to an even length
        0, 0,             // end of line
        0, 2, 2, 0,       // row 2: move right by 2
        1, 0,             // one of colour 0 at x = 2
        0, 1,             // end of bitmap
    };
    const auto image = decode(makeBmp(layout, stream));
    ASSERT_TRUE(image);
    const Bytes blue = {100, 150, 250};
    const Bytes red = {128, 0, 0};
    EXPECT_EQ(rgbAt(*image, 0, 0), blue);
    EXPECT_EQ(rgbAt(*image, 2, 0), blue);
    EXPECT_EQ(rgbAt(*image, 3, 0), kBlack) << "a pixel the stream skips stays black";
    EXPECT_EQ(rgbAt(*image, 0, 1), red);
    EXPECT_EQ(rgbAt(*image, 1, 1), blue);
    EXPECT_EQ(rgbAt(*image, 2, 1), red);
    EXPECT_EQ(rgbAt(*image, 1, 2), kBlack);
    EXPECT_EQ(rgbAt(*image, 2, 2), red);
}

TEST(BmpReader, Rle4AlternatesTheTwoNibblesOfARun) {
    BmpLayout layout = paletteLayout(4, 5);
    layout.compression = 2;
    const auto image = decode(makeBmp(layout, {5, 0x10, 0, 1}));
    ASSERT_TRUE(image);
    const Bytes blue = {100, 150, 250};
    const Bytes red = {128, 0, 0};
    EXPECT_EQ(rgbAt(*image, 0, 0), blue);
    EXPECT_EQ(rgbAt(*image, 1, 0), red);
    EXPECT_EQ(rgbAt(*image, 4, 0), blue);
}

TEST(BmpReader, MalformedHeadersAreRefused) {
    const Bytes pixel = {1, 2, 3, 0};
    auto refused = [&](BmpLayout layout, const char* why) {
        EXPECT_FALSE(decode(makeBmp(layout, pixel))) << why;
    };
    BmpLayout layout;
    layout.planes = 2;
    refused(layout, "planes must be 1");
    layout = {};
    layout.width = 0;
    refused(layout, "no columns");
    layout = {};
    layout.width = -1;
    refused(layout, "negative width");
    layout = {};
    layout.height = 0;
    refused(layout, "no rows");
    layout = {};
    layout.width = 16385;
    refused(layout, "wider than any texture");
    layout = {};
    layout.height = 2147483647;
    refused(layout, "a height whose pixels could never fit");
    layout = {};
    layout.bits = 2;
    refused(layout, "2 bits is no BMP depth");
    layout = {};
    layout.compression = 4;
    refused(layout, "embedded JPEG");
    layout = {};
    layout.compression = 3;
    layout.masks = {0xFF0000, 0x00FF00, 0x0000FF};
    refused(layout, "bit-fields at 24 bits");

    Bytes v4Header = makeBmp(BmpLayout{}, pixel);
    v4Header[14] = 108;
    EXPECT_FALSE(decode(v4Header)) << "header size 108";
    EXPECT_FALSE(decode({})) << "empty";
    EXPECT_FALSE(decode({'B', 'M'})) << "magic only";
}

TEST(BmpReader, BadBitFieldMasksAreRefused) {
    BmpLayout layout;
    layout.bits = 32;
    layout.compression = 3;
    const Bytes pixel = {1, 2, 3, 4};
    layout.masks = {0xFF0000, 0x01FF00, 0x0000FF};
    EXPECT_FALSE(decode(makeBmp(layout, pixel))) << "overlapping";
    layout.masks = {0xF0F000, 0x000F00, 0x0000FF};
    EXPECT_FALSE(decode(makeBmp(layout, pixel))) << "not contiguous";
    layout.bits = 16;
    layout.masks = {0x1F0000, 0x07E0, 0x001F};
    EXPECT_FALSE(decode(makeBmp(layout, {0, 0, 0, 0}))) << "outside a 16-bit pixel";
}

TEST(BmpReader, TruncatedPixelDataIsRefusedButAMissingLastPaddingIsNot) {
    BmpLayout layout;
    layout.width = 1;
    layout.height = 2;
    EXPECT_FALSE(decode(makeBmp(layout, {1, 2, 3, 0, 4, 5}))) << "second pixel cut short";
    EXPECT_TRUE(decode(makeBmp(layout, {1, 2, 3, 0, 4, 5, 6})));
}

TEST(BmpReader, AHugeDeclaredSizeInATinyFileIsRefusedBeforeAllocating) {
    BmpLayout layout;
    layout.width = 16384;
    layout.height = 16384;
    EXPECT_FALSE(decode(makeBmp(layout, {1, 2, 3, 0})));
    // The same claim through RLE would need no data at all: the pixel budget refuses it.
    BmpLayout rle = paletteLayout(8, 16384);
    rle.height = 16384;
    rle.compression = 1;
    const Bytes file = makeBmp(rle, {0, 1});
    EXPECT_FALSE(readBmp(file.data(), file.size(), 1u << 20));
}
