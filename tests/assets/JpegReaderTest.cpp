// The JPEG reader on files made with libjpeg: row order, grey-scale conversion, and broken or
// unsupported files coming back as messages instead of ending the game.
#include "assets/JpegReader.h"
#include "tests/assets/TestFiles.h"

#include <gtest/gtest.h>

#include <cstdlib>

using assettest::Bytes;
using assettest::makeJpeg;

namespace {

JpegReadResult decode(const Bytes& file) {
    return readJpeg(file.data(), file.size());
}

// A white top row over three black ones. Brightness is coded at full resolution; colour is not,
// so only brightness can tell single rows apart.
Bytes fourRowsTopDown(int width) {
    const std::uint8_t colours[4][3] = {{255, 255, 255}, {0, 0, 0}, {0, 0, 0}, {0, 0, 0}};
    Bytes pixels;
    for (const auto& colour : colours) {
        for (int x = 0; x < width; ++x) {
            pixels.insert(pixels.end(), colour, colour + 3);
        }
    }
    return pixels;
}

// Lossy coding blurs a little; a channel counts as the intended one within 60.
bool near(const std::uint8_t* pixel, int r, int g, int b) {
    return std::abs(pixel[0] - r) < 60 && std::abs(pixel[1] - g) < 60 &&
           std::abs(pixel[2] - b) < 60;
}

} // namespace

TEST(JpegReader, TheTopScanlineOfAFourRowImageLandsInBufferRowThree) {
    const int width = 16;
    const JpegReadResult result = decode(makeJpeg(width, 4, 3, fourRowsTopDown(width)));
    ASSERT_TRUE(result.image) << result.message;
    const PixelImage& image = *result.image;
    ASSERT_EQ(image.width, width);
    ASSERT_EQ(image.height, 4);
    ASSERT_EQ(image.channels, 3);
    const std::size_t rowSpan = static_cast<std::size_t>(width) * 3;
    const std::uint8_t* rows = image.pixels.data();
    EXPECT_TRUE(near(rows + 3 * rowSpan + 24, 255, 255, 255)) << "top row (white) is buffer row 3";
    EXPECT_TRUE(near(rows + 0 * rowSpan + 24, 0, 0, 0)) << "bottom row (black) is buffer row 0";
}

TEST(JpegReader, AGreyScaleImageArrivesAsThreeEqualChannels) {
    Bytes grey(8 * 8, 0);
    for (int i = 0; i < 64; ++i) {
        grey[i] = static_cast<std::uint8_t>(i * 4);
    }
    const JpegReadResult result = decode(makeJpeg(8, 8, 1, grey));
    ASSERT_TRUE(result.image) << result.message;
    ASSERT_EQ(result.image->channels, 3);
    ASSERT_EQ(result.image->pixels.size(), 8u * 8u * 3u);
    for (std::size_t i = 0; i < result.image->pixels.size(); i += 3) {
        EXPECT_EQ(result.image->pixels[i], result.image->pixels[i + 1]);
        EXPECT_EQ(result.image->pixels[i], result.image->pixels[i + 2]);
    }
}

TEST(JpegReader, ACmykImageIsRefusedWithTheLibrarysMessage) {
    const Bytes cmyk(8 * 8 * 4, 100);
    const JpegReadResult result = decode(makeJpeg(8, 8, 4, cmyk));
    EXPECT_FALSE(result.image);
    EXPECT_NE(result.message.find("color conversion"), std::string::npos) << result.message;
}

TEST(JpegReader, GarbageAndEmptyInputComeBackAsMessages) {
    const Bytes garbage = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    const JpegReadResult notJpeg = decode(garbage);
    EXPECT_FALSE(notJpeg.image);
    EXPECT_NE(notJpeg.message.find("Not a JPEG file"), std::string::npos) << notJpeg.message;

    const JpegReadResult empty = readJpeg(nullptr, 0);
    EXPECT_FALSE(empty.image);
    EXPECT_FALSE(empty.message.empty());
}

TEST(JpegReader, EveryTruncationOfAValidFileDecodesOrFailsCleanly) {
    const Bytes file = makeJpeg(16, 16, 3, Bytes(16 * 16 * 3, 128), 90);
    int loaded = 0;
    for (std::size_t length = 0; length < file.size(); length += 7) {
        const JpegReadResult result = readJpeg(file.data(), length);
        if (result.image) {
            ++loaded;
            EXPECT_EQ(result.image->pixels.size(), 16u * 16u * 3u);
        } else {
            EXPECT_FALSE(result.message.empty());
        }
    }
    // Once the header is complete, the library fills in a missing tail with grey and warns.
    EXPECT_GT(loaded, 0);
}

TEST(JpegReader, ImagesOverThePixelBudgetAreRefusedBeforeDecoding) {
    const Bytes file = makeJpeg(64, 64, 3, Bytes(64 * 64 * 3, 10), 50);
    EXPECT_TRUE(readJpeg(file.data(), file.size(), 64 * 64).image);
    const JpegReadResult result = readJpeg(file.data(), file.size(), 64 * 64 - 1);
    EXPECT_FALSE(result.image);
    EXPECT_FALSE(result.message.empty());
}
