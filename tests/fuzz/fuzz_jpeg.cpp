// libFuzzer target for the JPEG reader: libjpeg's errors must come back as messages.
#include "assets/JpegReader.h"
#include "tests/fuzz/FuzzLimits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const JpegReadResult result = readJpeg(data, size, kFuzzMaxPixels);
    if (result.image) {
        checkImage(*result.image, 3);
    } else if (result.message.empty()) {
        std::abort();
    }
    return 0;
}
