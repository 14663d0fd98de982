// Parsing of the off-screen window's session scripts.
#include "platform/WindowScript.h"

#include "platform/Files.h"
#include "platform/VirtualGamepad.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <sstream>

namespace platform {
namespace {

bool readNumber(const std::string& word, long& value) {
    if (word.empty()) {
        return false;
    }
    errno = 0;
    char* end = nullptr;
    value = std::strtol(word.c_str(), &end, 10);
    return errno == 0 && *end == '\0';
}

bool parsePad(const std::vector<std::string>& w, WindowScript::Event& event) {
    using Action = WindowScript::Action;
    if (w.size() == 3 && (w[2] == "attach" || w[2] == "detach")) {
        event.action = w[2] == "attach" ? Action::PadAttach : Action::PadDetach;
        return true;
    }
    long value = 0;
    if (w.size() == 5 && w[2] == "axis") {
        event.action = Action::PadAxis;
        event.control = VirtualGamepad::axisNamed(w[3]);
        if (!readNumber(w[4], value) || value < -32768 || value > 32767) {
            return false;
        }
        event.value = static_cast<int>(value);
        return event.control >= 0;
    }
    if (w.size() == 5 && w[2] == "button" && (w[4] == "down" || w[4] == "up")) {
        event.action = Action::PadButton;
        event.control = VirtualGamepad::buttonNamed(w[3]);
        event.value = w[4] == "down" ? 1 : 0;
        return event.control >= 0;
    }
    return false;
}

} // namespace

bool WindowScript::parse(const std::string& text) {
    eventList.clear();
    errorText.clear();
    std::istringstream lines(text);
    std::string line;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const std::size_t hash = line.find('#');
        if (hash != std::string::npos) {
            line.erase(hash);
        }
        std::istringstream words(line);
        std::vector<std::string> w;
        for (std::string word; words >> word;) {
            w.push_back(word);
        }
        if (w.empty()) {
            continue;
        }
        const std::string where = "line " + std::to_string(lineNumber) + ": ";
        Event event;
        event.line = lineNumber;
        if (!readNumber(w[0], event.frame) || event.frame < 0 || w.size() < 2) {
            errorText = where + "expected a frame number and an action";
            return false;
        }
        const std::string& action = w[1];
        if ((action == "down" || action == "up") && w.size() == 3) {
            event.action = action == "down" ? Action::KeyDown : Action::KeyUp;
            event.key = virtualKeyFromName(w[2].c_str());
            if (event.key == 0) {
                errorText = where + "unknown key '" + w[2] + "'";
                return false;
            }
        } else if (action == "close" && w.size() == 2) {
            event.action = Action::Close;
        } else if ((action == "minimise" || action == "minimize") && w.size() == 2) {
            event.action = Action::Minimise;
        } else if (action == "restore" && w.size() == 2) {
            event.action = Action::Restore;
        } else if (action == "focus" && w.size() == 3 && (w[2] == "out" || w[2] == "in")) {
            event.action = w[2] == "out" ? Action::FocusOut : Action::FocusIn;
        } else if (action == "size" && w.size() == 4) {
            long width = 0;
            long height = 0;
            if (!readNumber(w[2], width) || !readNumber(w[3], height) || width < 0 || height < 0 ||
                width > 0xFFFF || height > 0xFFFF) {
                errorText = where + "size needs a width and a height in pixels";
                return false;
            }
            event.action = Action::Size;
            event.width = static_cast<int>(width);
            event.height = static_cast<int>(height);
        } else if (action == "alt-enter" && w.size() == 2) {
            event.action = Action::ToggleFullscreen;
        } else if (action == "pad" && !parsePad(w, event)) {
            errorText = where + "pad takes attach, detach, axis NAME VALUE or button NAME down|up";
            return false;
        } else if (action != "pad") {
            errorText = where + "cannot read '" + line + "'";
            return false;
        }
        eventList.push_back(event);
    }
    // Lines of one frame keep their file order; frames may come in any order.
    std::stable_sort(eventList.begin(), eventList.end(),
                     [](const Event& a, const Event& b) { return a.frame < b.frame; });
    return true;
}

bool WindowScript::fitsSurface(int width, int height) {
    for (const Event& event : eventList) {
        if (event.action == Action::Size && (event.width > width || event.height > height)) {
            errorText = "line " + std::to_string(event.line) + ": size " +
                        std::to_string(event.width) + " " + std::to_string(event.height) +
                        " is larger than the " + std::to_string(width) + "x" +
                        std::to_string(height) + " surface";
            return false;
        }
    }
    return true;
}

bool WindowScript::load(const std::string& fileName) {
    std::string text;
    std::string why;
    if (!readFile(fileName, kDocumentFileLimit, text, why, true)) {
        eventList.clear();
        errorText = "cannot read the script " + fileName + ": " + why;
        return false;
    }
    if (!parse(text)) {
        errorText = fileName + ": " + errorText;
        return false;
    }
    return true;
}

} // namespace platform
