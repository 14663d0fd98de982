// The JPEG reader on files made with libjpeg: row order, grey-scale conversion, and broken or
// unsupported files coming back as messages instead of ending the game. (Cut and damaged files
// are the fuzzer's.)
#include "assets/JpegReader.h"
#include "tests/assets/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>

using assettest::Bytes;
using assettest::makeJpeg;

namespace {

JpegReadResult decode(const Bytes& file) {
    return readJpeg(file.data(), file.size());
}

} // namespace

TEST(JpegReader, TheTopScanlineOfAFourRowImageLandsInBufferRowThree) {
    // A white top row over three black ones. Brightness is coded at full resolution; colour is
    // not, so only brightness can tell single rows apart.
    Bytes pixels(16 * 4 * 3, 0);
    std::fill(pixels.begin(), pixels.begin() + 16 * 3, 255);
    const JpegReadResult result = decode(makeJpeg(16, 4, 3, pixels));
    ASSERT_TRUE(result.image) << result.message;
    ASSERT_EQ(result.image->pixels.size(), 16u * 4u * 3u);
    // Lossy coding blurs a little.
    EXPECT_GT(result.image->pixels[3 * 16 * 3 + 24], 200) << "top row (white) is buffer row 3";
    EXPECT_LT(result.image->pixels[24], 60) << "bottom row (black) is buffer row 0";
}

TEST(JpegReader, AGreyScaleImageArrivesAsThreeEqualChannels) {
    Bytes grey(8 * 8, 0);
    for (int i = 0; i < 64; ++i) {
        grey[i] = static_cast<std::uint8_t>(i * 4);
    }
    const JpegReadResult result = decode(makeJpeg(8, 8, 1, grey));
    ASSERT_TRUE(result.image) << result.message;
    ASSERT_EQ(result.image->channels, 3);
    for (std::size_t i = 0; i < result.image->pixels.size(); i += 3) {
        EXPECT_EQ(result.image->pixels[i], result.image->pixels[i + 1]);
        EXPECT_EQ(result.image->pixels[i], result.image->pixels[i + 2]);
    }
}

TEST(JpegReader, UnreadableAndUnsupportedFilesComeBackAsMessages) {
    const Bytes cmyk = makeJpeg(8, 8, 4, Bytes(8 * 8 * 4, 100));
    const Bytes garbage = {'n', 'o', 't', ' ', 'a', ' ', 'j', 'p', 'e', 'g'};
    const Bytes budget = makeJpeg(64, 64, 3, Bytes(64 * 64 * 3, 10), 50);
    EXPECT_TRUE(readJpeg(budget.data(), budget.size(), 64 * 64).image);
    const struct {
        JpegReadResult result;
        const char* message;
    } cases[] = {
        {decode(cmyk), "color conversion"},
        {decode(garbage), "Not a JPEG file"},
        {readJpeg(nullptr, 0), ""},
        {readJpeg(budget.data(), budget.size(), 64 * 64 - 1), ""}, // over the pixel budget
    };
    for (const auto& c : cases) {
        EXPECT_FALSE(c.result.image) << c.message;
        EXPECT_FALSE(c.result.message.empty());
        EXPECT_NE(c.result.message.find(c.message), std::string::npos) << c.result.message;
    }
}
