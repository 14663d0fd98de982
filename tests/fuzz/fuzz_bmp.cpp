// libFuzzer target for the BMP reader.
#include "assets/BmpReader.h"
#include "tests/fuzz/FuzzLimits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (const auto image = readBmp(data, size, kFuzzMaxPixels)) {
        checkImage(*image, 3);
    }
    return 0;
}
