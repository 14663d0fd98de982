// Key names for scripts and tests, turned into the virtual-key codes the game's key table uses.
#include "platform/Messages.h"

#include <cctype>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

namespace platform {

namespace {

struct Named {
    const char* name;
    unsigned code;
};
// The first name of a code is the one written back.
const Named kNamedKeys[] = {
    {"ESC", VK_ESCAPE},    {"ESCAPE", VK_ESCAPE}, {"SPACE", VK_SPACE}, {"ENTER", VK_RETURN},
    {"RETURN", VK_RETURN}, {"TAB", VK_TAB},       {"LEFT", VK_LEFT},   {"RIGHT", VK_RIGHT},
    {"UP", VK_UP},         {"DOWN", VK_DOWN},     {"SHIFT", VK_SHIFT}, {"CONTROL", VK_CONTROL},
    {"PAUSE", VK_PAUSE},
};

} // namespace

unsigned virtualKeyFromName(const char* name) {
    if (name == nullptr || *name == '\0') {
        return 0;
    }
    std::string upper;
    for (const char* c = name; *c != '\0'; ++c) {
        upper += static_cast<char>(std::toupper(static_cast<unsigned char>(*c)));
    }
    if (upper.size() > 2 && upper[0] == '0' && upper[1] == 'X') {
        char* end = nullptr;
        const unsigned long code = std::strtoul(upper.c_str() + 2, &end, 16);
        return (*end == '\0' && code > 0 && code < VK_COUNT) ? static_cast<unsigned>(code) : 0;
    }
    if (upper.size() == 1 && (std::isupper(static_cast<unsigned char>(upper[0])) ||
                              std::isdigit(static_cast<unsigned char>(upper[0])))) {
        return static_cast<unsigned>(upper[0]);
    }
    if (upper.size() >= 2 && upper[0] == 'F' &&
        std::isdigit(static_cast<unsigned char>(upper[1]))) {
        char* end = nullptr;
        const long number = std::strtol(upper.c_str() + 1, &end, 10);
        if (*end == '\0' && number >= 1 && number <= 12) {
            return VK_F1 + static_cast<unsigned>(number - 1);
        }
        return 0;
    }
    for (const Named& entry : kNamedKeys) {
        if (upper == entry.name) {
            return entry.code;
        }
    }
    return 0;
}

} // namespace platform

namespace platform {

std::string virtualKeyName(unsigned code) {
    if ((code >= 'A' && code <= 'Z') || (code >= '0' && code <= '9')) {
        return std::string(1, static_cast<char>(code));
    }
    if (code >= VK_F1 && code <= VK_F12) {
        return "F" + std::to_string(code - VK_F1 + 1);
    }
    for (const Named& entry : kNamedKeys) {
        if (entry.code == code) {
            return entry.name;
        }
    }
    char hex[8];
    std::snprintf(hex, sizeof hex, "0x%02X", code & 0xFFu);
    return hex;
}

} // namespace platform
