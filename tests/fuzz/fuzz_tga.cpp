// libFuzzer target for the TGA reader: an image, or a message with a caption, never both.
#include "assets/TgaReader.h"
#include "tests/fuzz/FuzzLimits.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const TgaReadResult result = readTga(data, size);
    if (result.image) {
        checkImage(*result.image, result.image->channels == 4 ? 4 : 3);
        if (!result.message.empty()) {
            std::abort();
        }
    } else if (result.message.empty() || result.caption.empty()) {
        std::abort();
    }
    return 0;
}
