// The JPEG reader on files made with libjpeg: broken or unsupported files come back as messages
// instead of ending the game. (Row order and grey scale are the conformance corpus's, cut and
// damaged files the fuzzer's.)
#include "assets/JpegReader.h"
#include "tests/assets/TestFiles.h"

#include <gtest/gtest.h>

using assettest::Bytes;
using assettest::makeJpeg;

namespace {

JpegReadResult decode(const Bytes& file) {
    return readJpeg(file.data(), file.size());
}

} // namespace

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
