// Reading the settings with inih, line by line so each broken line can be named, and writing
// them back.
#include "app/Settings.h"

#include "platform/Files.h"
#include "platform/Messages.h"

#include <ini.h>

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <sstream>
#include <sys/stat.h>

namespace {

// Problems named one by one; a file with more is not a settings file, and one more line says
// how many were left unnamed.
const std::size_t kProblemsNamed = 8;
// Keys one action takes from the file; with the longest names that keeps its saved line short
// enough for the INI library to read back whole.
const std::size_t kMostKeysPerAction = 8;

// The text as it may go to a terminal: bytes that are not printable ASCII become \xNN, so a
// hostile file cannot send control sequences through the game's messages.
std::string printable(const std::string& text) {
    std::string out;
    for (const unsigned char c : text) {
        if (c >= 0x20 && c < 0x7f) {
            out += static_cast<char>(c);
        } else {
            const char* digits = "0123456789abcdef";
            out += std::string("\\x") + digits[c >> 4] + digits[c & 15];
        }
    }
    return out;
}

struct Reading {
    const std::string* text = nullptr; // the file's bytes
    std::size_t next = 0;              // where the next line starts
    std::string path;
    int line = 0;
    LaunchOptions* options = nullptr;
    std::vector<std::string>* problems = nullptr;

    std::size_t named = 0;
    std::size_t unnamed = 0;

    void problem(const std::string& what) {
        if (named++ < kProblemsNamed) {
            problems->push_back(printable(path + ":" + std::to_string(line) + ": " + what) +
                                " (line ignored)");
        } else {
            ++unnamed;
        }
    }
};

// inih reads one line per call, so counting calls gives the line it is looking at. Lines inih
// would skip as unreadable are named here, where the number is known.
char* readLine(char* buffer, int size, void* stream) {
    Reading& reading = *static_cast<Reading*>(stream);
    const std::string& file = *reading.text;
    if (reading.next >= file.size() || size < 2) {
        return nullptr;
    }
    // Like fgets: up to the newline, which is kept.
    const std::size_t newline = file.find('\n', reading.next);
    const std::size_t end = newline == std::string::npos ? file.size() : newline + 1;
    ++reading.line;
    if (end - reading.next > static_cast<std::size_t>(size - 1)) {
        // Cut to the buffer, its tail would come back as a line of its own, which a long
        // comment could use to say anything; it is named and skipped whole instead.
        reading.next = end;
        reading.problem("longer than " + std::to_string(size - 2) + " characters");
        std::strcpy(buffer, "\n");
        return buffer;
    }
    const std::size_t length = end - reading.next;
    file.copy(buffer, length, reading.next);
    buffer[length] = '\0';
    reading.next += length;
    char* line = buffer;
    const char* text = line + std::strspn(line, " \t\r\n");
    const bool fine = *text == '\0' || *text == ';' || *text == '#' ||
                      (*text == '[' && std::strchr(text, ']') != nullptr) ||
                      (*text != '[' && std::strpbrk(text, "=:") != nullptr);
    if (!fine) {
        reading.problem("not a \"name = value\" line");
    }
    return line;
}

bool readKeys(const std::string& text, std::vector<unsigned>& keys) {
    std::string words = text;
    for (char& c : words) {
        if (c == ',') {
            c = ' ';
        }
    }
    std::istringstream list(words);
    for (std::string word; list >> word;) {
        const unsigned code = platform::virtualKeyFromName(word.c_str());
        // The pad's controls are fixed: a pad code named here ("0xCA") would bind as a keyboard
        // key that is never written back.
        if (code == 0 || KeyBindings::isGamepadKey(code)) {
            return false;
        }
        if (std::find(keys.begin(), keys.end(), code) == keys.end()) {
            keys.push_back(code);
        }
    }
    return !keys.empty() && keys.size() <= kMostKeysPerAction;
}

int takeSetting(void* user, const char* section, const char* name, const char* value) {
    Reading& reading = *static_cast<Reading*>(user);
    LaunchOptions& options = *reading.options;
    const std::string where = std::string(section) + "." + name;
    if (where == "game.fullscreen") {
        const std::string answer = value;
        if (answer == "ask" || answer == "yes" || answer == "no") {
            options.fullscreen = answer == "ask"   ? LaunchOptions::Fullscreen::Ask
                                 : answer == "yes" ? LaunchOptions::Fullscreen::Yes
                                                   : LaunchOptions::Fullscreen::No;
        } else {
            reading.problem("fullscreen is ask, yes or no");
        }
    } else if (where == "game.fullscreen_mode") {
        if (!LaunchOptions::readFullscreenMode(value, options.fullscreenMode)) {
            reading.problem("fullscreen_mode is desktop or 1024x768");
        }
    } else if (where == "game.volume") {
        if (!LaunchOptions::readVolume(value, options.volume)) {
            reading.problem("volume is a whole number from 0 to 100");
        }
    } else if (std::strcmp(section, "keys") == 0) {
        KeyAction action;
        std::vector<unsigned> keys;
        if (!KeyBindings::actionNamed(name, action)) {
            reading.problem(std::string("no action called ") + name);
        } else if (!readKeys(value, keys)) {
            reading.problem(std::string("cannot read the keys of ") + name + " (at most " +
                            std::to_string(kMostKeysPerAction) + " known keys)");
        } else {
            options.keys.setKeyboardKeys(action, keys);
        }
    } else {
        reading.problem("unknown setting " + where);
    }
    return 1; // go on: one bad line spoils nothing else
}

const char* fullscreenWord(LaunchOptions::Fullscreen answer) {
    switch (answer) {
    case LaunchOptions::Fullscreen::Yes:
        return "yes";
    case LaunchOptions::Fullscreen::No:
        return "no";
    default:
        return "ask";
    }
}

} // namespace

std::string Settings::defaultPath() {
    return platform::userFolder("XDG_CONFIG_HOME", "/.config") + "/settings.ini";
}

void Settings::load(const std::string& path, LaunchOptions& options,
                    std::vector<std::string>& problems) {
    std::string text;
    std::string why;
    if (!platform::readFile(path, platform::kSettingsFileLimit, text, why)) {
        // No file yet is the usual start; anything else the player should hear of.
        if (errno != ENOENT) {
            problems.push_back("cannot read the settings file " + printable(path) + ": " + why +
                               "; the game's own settings are used");
        }
        return;
    }
    read(text, path, options, problems);
}

void Settings::read(const std::string& text, const std::string& name, LaunchOptions& options,
                    std::vector<std::string>& problems) {
    if (text.find('\0') != std::string::npos) {
        problems.push_back("cannot read the settings file " + printable(name) +
                           ": it is not a text file; the game's own settings are used");
        return;
    }
    Reading reading;
    reading.text = &text;
    reading.path = name;
    reading.options = &options;
    reading.problems = &problems;
    ini_parse_stream(&readLine, &reading, &takeSetting, &reading);
    if (reading.unnamed > 0) {
        problems.push_back(printable(name) + ": " + std::to_string(reading.unnamed) +
                           " more lines cannot be used (ignored)");
    }
}

std::string Settings::text(const LaunchOptions& options) {
    std::string text = "# Ombrelix settings. Keys: letters, digits, F1-F12, ESC, ENTER, SPACE, "
                       "LEFT, RIGHT, UP, DOWN, ...\n[game]\nfullscreen = ";
    text += fullscreenWord(options.fullscreen);
    text += "\nfullscreen_mode = ";
    text += LaunchOptions::fullscreenModeName(options.fullscreenMode);
    text += "\nvolume = " + std::to_string(options.volume) + "\n\n[keys]\n";
    for (int i = 0; i < kKeyActionCount; ++i) {
        const KeyAction action = static_cast<KeyAction>(i);
        std::string names;
        for (unsigned code : options.keys.keyboardKeys(action)) {
            names += (names.empty() ? "" : ", ") + platform::virtualKeyName(code);
        }
        text += std::string(KeyBindings::name(action)) + " = " + names + "\n";
    }
    return text;
}

bool Settings::save(const std::string& path, const LaunchOptions& options, std::string& error) {
    // Make the folders along the way; those that exist already are fine.
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0755);
    }
    std::FILE* file = platform::openOutput(path, error);
    if (file == nullptr) {
        return false;
    }
    const std::string written = text(options);
    std::fwrite(written.data(), 1, written.size(), file);
    // A write that failed on the way (a full disk) counts as much as one that fails at the end.
    const bool failedOnTheWay = std::ferror(file) != 0;
    if (std::fclose(file) != 0 || failedOnTheWay) {
        error = std::strerror(errno != 0 ? errno : EIO);
        return false;
    }
    return true;
}
