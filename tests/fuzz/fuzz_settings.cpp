// libFuzzer target for the settings file: any bytes through the INI reader and the game's handler
// of its lines, then what the game would save from the result read back again.
#include "app/LaunchOptions.h"
#include "app/Settings.h"

#include <cstdint>
#include <cstdlib>
#include <string>
#include <vector>

namespace {

// One problem line per broken line up to a handful, one more for the rest, or one for the file.
const std::size_t kMostProblems = 9;

bool printable(const std::string& text) {
    for (const unsigned char c : text) {
        if (c < 0x20 || c >= 0x7f) {
            return false;
        }
    }
    return true;
}

bool sameChoices(const LaunchOptions& a, const LaunchOptions& b) {
    if (a.fullscreen != b.fullscreen || a.volume != b.volume) {
        return false;
    }
    for (int i = 0; i < kKeyActionCount; ++i) {
        if (a.keys.keys(static_cast<KeyAction>(i)) != b.keys.keys(static_cast<KeyAction>(i))) {
            return false;
        }
    }
    return true;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    LaunchOptions options;
    std::vector<std::string> problems;
    Settings::read(std::string(reinterpret_cast<const char*>(data), size), "fuzz.ini", options,
                   problems);

    // What reaches the player's terminal is a short list of plain lines, and the result is a
    // choice the game can play with.
    if (problems.size() > kMostProblems || options.volume < 0 ||
        options.volume > LaunchOptions::kMaxVolume) {
        std::abort();
    }
    for (const std::string& problem : problems) {
        if (!printable(problem)) {
            std::abort();
        }
    }
    // Saving what was read and reading it again changes nothing and finds nothing to complain of.
    LaunchOptions again;
    std::vector<std::string> problemsAgain;
    Settings::read(Settings::text(options), "saved.ini", again, problemsAgain);
    if (!problemsAgain.empty() || !sameChoices(options, again)) {
        std::abort();
    }
    return 0;
}
