// libFuzzer target for the level reader: any bytes as a level file, read through the XML library
// and the walk of the document, with a builder that records each object instead of creating it.
#include "level/LevelBuilder.h"
#include "level/LevelReader.h"

#include <unistd.h>

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

namespace {

class RecordingBuilder : public LevelBuilder {
public:
    void createElement(const Object& object) override { objects.push_back(object); }
    std::vector<Object> objects;
};

std::size_t occurrences(const std::uint8_t* data, std::size_t size, const char* text) {
    const std::size_t length = std::strlen(text);
    std::size_t count = 0;
    for (std::size_t i = 0; i + length <= size; ++i) {
        count += std::memcmp(data + i, text, length) == 0 ? 1 : 0;
    }
    return count;
}

// Bytes the reader takes as UTF-8: no encoding declared, no NUL, neither a UTF-16 byte order mark
// nor the EBCDIC "<?" that the library would read in another encoding.
bool readAsUtf8(const std::uint8_t* data, std::size_t size) {
    const bool otherStart =
        size >= 2 && ((data[0] == 0x4C && data[1] == 0x6F) || data[0] == 0xFE || data[0] == 0xFF);
    return !otherStart && std::memchr(data, 0, size) == nullptr &&
           occurrences(data, size, "encoding") == 0;
}

// The reader takes a file name, as the game gives it: each input goes through one file per
// fuzzing process, removed when the process ends.
struct LevelFile {
    std::string path = "/tmp/fuzz_level-" + std::to_string(getpid()) + ".xml";
    ~LevelFile() { std::remove(path.c_str()); }
};

const std::string& levelPath() {
    static const LevelFile file;
    return file.path;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::FILE* file = std::fopen(levelPath().c_str(), "wb");
    if (file == nullptr || std::fwrite(data, 1, size, file) != size || std::fclose(file) != 0) {
        std::abort();
    }
    RecordingBuilder builder;
    const bool read = LevelReader(builder).read(levelPath().c_str());

    // Without a DOCTYPE there are no entities that could make tags: every object and trigger the
    // walk hands over was written as such in the bytes (counted where they are read as UTF-8).
    std::size_t triggers = 0;
    for (const LevelBuilder::Object& object : builder.objects) {
        triggers += object.triggers.size();
        for (const Trigger& trigger : object.triggers) {
            if (trigger.getCause() < kTriggerUnset || trigger.getCause() > kTriggerCauseProximity ||
                trigger.getEvent() < kTriggerUnset || trigger.getEvent() > kTriggerEventEndLevel) {
                std::abort();
            }
        }
    }
    if (!read && !builder.objects.empty()) {
        std::abort();
    }
    if (readAsUtf8(data, size) && (builder.objects.size() > occurrences(data, size, "<OBJECT") ||
                                   triggers > occurrences(data, size, "<TRIGGER"))) {
        std::abort();
    }
    return 0;
}
