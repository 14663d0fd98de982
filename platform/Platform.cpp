// Debug channel, process exit and the message-box dispatch shared by every backend.
#include "platform/Platform.h"

#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <utility>

namespace platform {
namespace {

std::function<void(const char*)>& debugObserver() {
    static std::function<void(const char*)> observer;
    return observer;
}

MessageBoxHandler& messageBoxHandler() {
    static MessageBoxHandler handler;
    return handler;
}

} // namespace

void debugOutput(const char* text) {
    if (text == nullptr) {
        return;
    }
    // stderr is unbuffered by default; write it straight through so log order is exact.
    std::fputs(text, stderr);
    if (debugObserver()) {
        debugObserver()(text);
    }
}

void debugPrintf(const char* format, ...) {
    char buffer[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(buffer, sizeof buffer, format, args);
    va_end(args);
    debugOutput(buffer);
}

void setDebugObserver(std::function<void(const char*)> observer) {
    debugObserver() = std::move(observer);
}

void exitProcess(int code) {
    std::fflush(stdout);
    std::exit(code);
}

Answer debugMessageBox(const MessageBoxRequest& request) {
    debugOutput(request.caption.c_str());
    debugOutput(": ");
    debugOutput(request.text.c_str());
    debugOutput("\n");
    return request.buttons == Buttons::YesNo ? Answer::Yes : Answer::Ok;
}

Answer messageBox(const char* text, const char* caption, Buttons buttons, Icon icon) {
    MessageBoxRequest request{text ? text : "", caption ? caption : "", buttons, icon};
    if (messageBoxHandler()) {
        return messageBoxHandler()(request);
    }
    return debugMessageBox(request);
}

MessageBoxHandler setMessageBoxHandler(MessageBoxHandler handler) {
    return std::exchange(messageBoxHandler(), std::move(handler));
}

} // namespace platform
