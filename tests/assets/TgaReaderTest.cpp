// The TGA reader on files built byte by byte: colour order, the four edge packets of run-length
// coding, packets across rows, and every refusal with the message the player would see.
#include "assets/TgaReader.h"
#include "tests/assets/TestFiles.h"

#include <gtest/gtest.h>

using assettest::Bytes;
using assettest::makeTga;

namespace {

const int kUncompressed = 2;
const int kRunLength = 10;

TgaReadResult decode(const Bytes& file) {
    return readTga(file.data(), file.size());
}

// n stored B, G, R pixels whose blue byte counts up from first.
Bytes rawPixels(int n, int first) {
    Bytes pixels;
    for (int i = 0; i < n; ++i) {
        pixels.insert(pixels.end(), {static_cast<std::uint8_t>(first + i), 2, 3});
    }
    return pixels;
}

void expectRefused(const Bytes& file, const std::string& message,
                   const std::string& caption = "ERROR") {
    const TgaReadResult result = decode(file);
    EXPECT_FALSE(result.image);
    EXPECT_EQ(result.message, message);
    EXPECT_EQ(result.caption, caption);
}

} // namespace

TEST(TgaReader, ATwentyFourBitPixelStoredAs10_20_30ComesOutAs30_20_10) {
    const TgaReadResult result = decode(makeTga(kUncompressed, 1, 1, 24, {10, 20, 30}));
    ASSERT_TRUE(result.image);
    EXPECT_TRUE(result.message.empty());
    EXPECT_EQ(result.image->channels, 3);
    EXPECT_EQ(result.image->pixels, (Bytes{30, 20, 10}));
}

TEST(TgaReader, ThirtyTwoBitPixelsKeepTheirAlphaAndRowsStayInFileOrder) {
    // Two rows of one pixel: the first stored row is the bottom row, as GL wants it.
    const TgaReadResult result =
        decode(makeTga(kUncompressed, 1, 2, 32, {1, 2, 3, 4, 5, 6, 7, 8, 0xEE, 0xEE}));
    ASSERT_TRUE(result.image);
    EXPECT_EQ(result.image->channels, 4);
    EXPECT_EQ(result.image->pixels, (Bytes{3, 2, 1, 4, 7, 6, 5, 8})) << "trailing bytes ignored";
}

TEST(TgaReader, RunLengthEdgePacketsStoreOneOrOneHundredTwentyEightPixels) {
    // 0x00: one raw pixel; 0x7F: 128 raw; 0x80: a run of one; 0xFF: a run of 128. 258 in all.
    Bytes body = {0x00};
    Bytes one = rawPixels(1, 200);
    body.insert(body.end(), one.begin(), one.end());
    body.push_back(0x7F);
    Bytes many = rawPixels(128, 0);
    body.insert(body.end(), many.begin(), many.end());
    body.insert(body.end(), {0x80, 9, 8, 7, 0xFF, 6, 5, 4});
    const TgaReadResult result = decode(makeTga(kRunLength, 258, 1, 24, body));
    ASSERT_TRUE(result.image) << result.message;
    const Bytes& pixels = result.image->pixels;
    EXPECT_EQ(Bytes(pixels.begin(), pixels.begin() + 3), (Bytes{3, 2, 200}));
    EXPECT_EQ(Bytes(pixels.begin() + 3, pixels.begin() + 6), (Bytes{3, 2, 0}));
    EXPECT_EQ(Bytes(pixels.begin() + 128 * 3, pixels.begin() + 129 * 3), (Bytes{3, 2, 127}));
    EXPECT_EQ(Bytes(pixels.begin() + 129 * 3, pixels.begin() + 130 * 3), (Bytes{7, 8, 9}));
    for (int i = 130; i < 258; ++i) {
        ASSERT_EQ(Bytes(pixels.begin() + i * 3, pixels.begin() + i * 3 + 3), (Bytes{4, 5, 6}))
            << "pixel " << i;
    }
}

TEST(TgaReader, RunLengthPacketsMayCrossRowsAndEndExactlyOnTheLastPixel) {
    // 3 x 2 image: a run of 4 crosses into the second row, a raw packet of 2 ends it.
    Bytes body = {0x83, 0, 0, 255, 0x01, 0, 255, 0, 255, 0, 0};
    const TgaReadResult result = decode(makeTga(kRunLength, 3, 2, 24, body));
    ASSERT_TRUE(result.image) << result.message;
    EXPECT_EQ(result.image->pixels,
              (Bytes{255, 0, 0, 255, 0, 0, 255, 0, 0, 255, 0, 0, 0, 255, 0, 0, 0, 255}));
}

TEST(TgaReader, ALastPacketOnePixelPastTheImageIsRefused) {
    expectRefused(makeTga(kRunLength, 2, 2, 24, {0x82, 1, 2, 3, 0x81, 1, 2, 3}),
                  "Too many pixels read");
    expectRefused(makeTga(kRunLength, 2, 1, 24, {0x02, 1, 1, 1, 2, 2, 2, 3, 3, 3}),
                  "Too many pixels read");
}

TEST(TgaReader, OtherKindsOfTgaAreRefusedByTheirFirstTwelveBytes) {
    Bytes file = makeTga(kUncompressed, 1, 1, 24, {1, 2, 3});
    auto withByte = [&](std::size_t offset, std::uint8_t value) {
        Bytes changed = file;
        changed[offset] = value;
        return changed;
    };
    expectRefused(withByte(0, 4), "TGA file be type 2 or type 10 ", "Invalid Image"); // ID field
    expectRefused(withByte(1, 1), "TGA file be type 2 or type 10 ", "Invalid Image"); // colour map
    expectRefused(withByte(2, 1), "TGA file be type 2 or type 10 ", "Invalid Image"); // palette
    expectRefused(withByte(2, 11), "TGA file be type 2 or type 10 ", "Invalid Image");
    expectRefused(withByte(8, 1), "TGA file be type 2 or type 10 ", "Invalid Image");  // x origin
    expectRefused(withByte(11, 1), "TGA file be type 2 or type 10 ", "Invalid Image"); // y origin
}

TEST(TgaReader, HeadersWithoutAUsableImageAreRefused) {
    expectRefused(makeTga(kUncompressed, 1, 1, 16, {1, 2}), "Invalid texture information");
    expectRefused(makeTga(kUncompressed, 0, 1, 24, {}), "Invalid texture information");
    expectRefused(makeTga(kRunLength, 1, 0, 32, {}), "Invalid texture information");
    expectRefused(makeTga(kUncompressed, 16385, 1, 24, {}), "Invalid texture information");
}

TEST(TgaReader, ShortFilesAreRefusedWhereTheyEnd) {
    const Bytes header = makeTga(kUncompressed, 2, 1, 24, {});
    expectRefused(Bytes(header.begin(), header.begin() + 11), "Could not read file header");
    expectRefused(Bytes(header.begin(), header.begin() + 17), "Could not read info header");
    expectRefused(makeTga(kUncompressed, 2, 1, 24, {1, 2, 3, 4, 5}), "Could not read image data");
    expectRefused(makeTga(kRunLength, 2, 1, 24, {0x80, 1, 2, 3}), "Could not read RLE header");
    expectRefused(makeTga(kRunLength, 2, 1, 24, {0x01, 1, 2, 3, 4}), "Could not read image data");
    expectRefused(makeTga(kRunLength, 2, 1, 24, {0x81, 1, 2}), "Could not read from file");
    expectRefused({}, "Could not read file header");
}
