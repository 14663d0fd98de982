// The JPEG reader's own limits: the pixel budget at its edge and no data at all come back as
// messages. (Row order, grey scale and libjpeg's refusals are the conformance corpus's, cut and
// damaged files the fuzzer's, the logged message the texture loader's.)
#include "assets/JpegReader.h"
#include "tests/assets/TestFiles.h"

#include <gtest/gtest.h>

TEST(JpegReader, ThePixelBudgetAndMissingDataAreRefusedWithAMessage) {
    const assettest::Bytes file =
        assettest::makeJpeg(64, 64, 3, assettest::Bytes(64 * 64 * 3, 10), 50);
    EXPECT_TRUE(readJpeg(file.data(), file.size(), 64 * 64).image);
    for (const JpegReadResult& refused :
         {readJpeg(file.data(), file.size(), 64 * 64 - 1), readJpeg(nullptr, 0)}) {
        EXPECT_FALSE(refused.image);
        EXPECT_FALSE(refused.message.empty());
    }
}
