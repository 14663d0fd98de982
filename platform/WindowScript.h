// A recorded play session for the off-screen window: which window messages arrive before which
// drawn frame. One line per event: "FRAME down KEY", "FRAME up KEY", "FRAME close",
// "FRAME minimise", "FRAME restore", "FRAME size W H", "FRAME alt-enter" (the full-screen
// chord, as the desktop window reports it) or "FRAME focus out|in" (the keyboard going to another
// window and coming back); a software gamepad with "FRAME pad
// attach|detach", "FRAME pad axis NAME VALUE" and "FRAME pad button NAME down|up" (SDL's names:
// leftx, righttrigger, start, back, ...). '#' starts a comment.
#pragma once

#include "platform/Messages.h"

#include <string>
#include <vector>

namespace platform {

class WindowScript {
public:
    enum class Action {
        KeyDown,
        KeyUp,
        Close,
        Minimise,
        Restore,
        Size,
        ToggleFullscreen,
        FocusOut,
        FocusIn,
        PadAttach,
        PadDetach,
        PadAxis,
        PadButton
    };

    struct Event {
        long frame = 0; // posted just before this drawn frame (counting from 0)
        int line = 0;   // in the script
        Action action = Action::Close;
        unsigned key = 0; // virtual-key code for KeyDown and KeyUp
        int width = 0;    // for Size
        int height = 0;
        int control = 0; // the pad's axis or button number
        int value = 0;   // axis position (-32768..32767), or 1 for a button down
    };

    // Reads the script text; false with error() naming the line when a line makes no sense.
    bool parse(const std::string& text);
    // Reads the script file ("-": standard input), at most 16 MiB; error() names the file.
    bool load(const std::string& fileName);
    // False, with error() naming the line, when a size line asks for more than the surface has.
    bool fitsSurface(int width, int height);

    const std::vector<Event>& events() const { return eventList; }
    const std::string& error() const { return errorText; }

private:
    std::vector<Event> eventList;
    std::string errorText;
};

} // namespace platform
