// libFuzzer target for the level reader: any bytes as a level file, parsed from memory by one
// reader made once (as the game keeps its parser between levels), with a builder that records
// each object instead of creating it.
#include "level/CampaignReader.h"
#include "level/LevelBuilder.h"
#include "level/LevelReader.h"
#include "platform/Platform.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <vector>

namespace {

class RecordingBuilder : public LevelBuilder {
public:
    void createElement(const Object& object) override { objects.push_back(object); }
    std::vector<Object> objects;
};

// Made on the first input and kept for every later one: a parser that carried anything over
// from one document to the next would show up here as a wrong count on a later input.
struct Readers {
    RecordingBuilder levelObjects;
    LevelReader level{levelObjects};
    CampaignReader campaign;
};

Readers& readers() {
    static Readers made;
    return made;
}

std::size_t occurrences(const std::uint8_t* data, std::size_t size, const char* text) {
    const std::size_t length = std::strlen(text);
    std::size_t count = 0;
    for (const std::uint8_t* at = data; size >= length;) {
        const void* found = std::memchr(at, text[0], size - length + 1);
        if (found == nullptr) {
            break;
        }
        const std::size_t skipped = static_cast<const std::uint8_t*>(found) - at;
        at += skipped;
        size -= skipped;
        count += std::memcmp(at, text, length) == 0 ? 1 : 0;
        ++at;
        --size;
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

// The level walk: what it hands over must be what the bytes hold.
void walkLevel(const std::uint8_t* data, std::size_t size) {
    RecordingBuilder& builder = readers().levelObjects;
    builder.objects.clear();
    const bool read =
        readers().level.readBytes(reinterpret_cast<const char*>(data), size, "fuzz.xml");

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
}

// The campaign walk: a list it accepts holds only what the game can show and keep progress under,
// and a refusal says why and leaves nothing behind.
void walkCampaign(const std::uint8_t* data, std::size_t size) {
    CampaignReader& reader = readers().campaign;
    const bool read =
        reader.readBytes(reinterpret_cast<const char*>(data), size, "fuzz-campaign.xml", "fuzz");
    if (!read) {
        if (!reader.levels().empty() || reader.error().empty()) {
            std::abort();
        }
        return;
    }
    if (reader.levels().empty() || reader.levels().size() > CampaignReader::kMaxLevels ||
        (readAsUtf8(data, size) && reader.levels().size() > occurrences(data, size, "<LEVEL"))) {
        std::abort();
    }
    for (const CampaignReader::Level& level : reader.levels()) {
        if (level.id.empty() || level.id.size() > CampaignReader::kMaxIdLength ||
            level.name.size() > CampaignReader::kMaxNameLength || level.file.empty()) {
            std::abort();
        }
        for (char c : level.id) {
            const bool allowed = (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') ||
                                 (c >= '0' && c <= '9') || c == '-' || c == '_';
            if (!allowed) {
                std::abort();
            }
        }
        for (char c : level.name) {
            if (c < ' ' || c > '~') {
                std::abort();
            }
        }
    }
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    // The reader logs every node it walks; at tens of thousands of documents a second that
    // output would cost more than the parse.
    platform::setDebugLog("");
    readers();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // A campaign file is an XML document the player names just as a level is: both readers walk
    // the same bytes.
    walkLevel(data, size);
    walkCampaign(data, size);
    return 0;
}
