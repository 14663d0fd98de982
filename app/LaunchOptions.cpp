// Reading the player's choices the same way wherever they are given.
#include "app/LaunchOptions.h"

#include <cerrno>
#include <cstdlib>

bool LaunchOptions::readVolume(const std::string& text, int& volume) {
    errno = 0;
    char* end = nullptr;
    const long value = std::strtol(text.c_str(), &end, 10);
    if (text.empty() || *end != '\0' || errno != 0 || value < 0 || value > kMaxVolume) {
        return false;
    }
    volume = static_cast<int>(value);
    return true;
}

bool LaunchOptions::readFullscreenMode(const std::string& text, FullscreenMode& mode) {
    if (text == "desktop" || text == "1024x768") {
        mode = text == "desktop" ? FullscreenMode::Desktop : FullscreenMode::Mode1024x768;
        return true;
    }
    return false;
}

const char* LaunchOptions::fullscreenModeName(FullscreenMode mode) {
    return mode == FullscreenMode::Desktop ? "desktop" : "1024x768";
}
