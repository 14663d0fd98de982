// The game's narrow window onto the operating system: debug output, process exit, message boxes
// and clocks. Nothing outside platform/ includes SDL or EGL; everything goes through here.
#pragma once

#include <cstdint>
#include <functional>
#include <string>

namespace platform {

// Writes the text to the debug channel exactly as given, unbuffered. The channel is standard
// error until setDebugLog says otherwise.
void debugOutput(const char* text);

// Where the debug channel goes: "" nowhere, "stderr" standard error, anything else a file,
// created or emptied now. False (and the channel goes nowhere) when the file cannot be made;
// that, and the first line that cannot be written, is said once on standard error.
bool setDebugLog(const std::string& target);

// printf-style convenience: formats into a buffer, then writes it with debugOutput.
void debugPrintf(const char* format, ...) __attribute__((format(printf, 1, 2)));

// Observes every debug string as it is written (tests use it); pass nullptr to stop observing.
void setDebugObserver(std::function<void(const char*)> observer);

// Ends the process with the given exit code.
[[noreturn]] void exitProcess(int code);

enum class Buttons { Ok, YesNo };
enum class Icon { None, Error, Question, Information, Warning };
enum class Answer { Ok, Yes, No };

struct MessageBoxRequest {
    std::string text;
    std::string caption;
    Buttons buttons = Buttons::Ok;
    Icon icon = Icon::None;
};

// Shows a modal message box and gives the player's answer. Without a display (or before the
// window layer installs its own handler) the caption and text go to the debug channel and the
// box's default answer comes back: Ok, or Yes for a Yes/No question.
Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon icon);

// Replaces the way message boxes are shown; nullptr restores the debug-channel fallback.
// Gives the handler that was installed before, so a caller can put it back.
using MessageBoxHandler = std::function<Answer(const MessageBoxRequest&)>;
MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler);

// The fallback itself, for handlers that want to log before (or instead of) showing a box.
Answer debugMessageBox(const MessageBoxRequest& request);

} // namespace platform
