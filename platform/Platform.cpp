// Debug channel, process exit and the message-box dispatch shared by every backend.
#include "platform/Platform.h"

#include "platform/Files.h"

#include <cerrno>
#include <cstdarg>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>
#include <utility>

namespace platform {
namespace {

std::function<void(const char*)>& debugObserver() {
    static std::function<void(const char*)> observer;
    return observer;
}

// Standard error until told otherwise; a log file stays open until the next choice or the end.
// The first line that cannot be written to it is reported once; the rest go quietly.
struct DebugSink {
    std::FILE* file = stderr;
    std::string name;
    bool failed = false;
    ~DebugSink() { close(); }
    void close() {
        if (file != nullptr && file != stderr) {
            std::fclose(file);
        }
        file = nullptr;
        failed = false;
    }
    void write(const char* text) {
        if (file == nullptr) {
            return;
        }
        const bool written =
            std::fputs(text, file) >= 0 && (file == stderr || std::fflush(file) == 0);
        if (!written && !failed && file != stderr) {
            failed = true;
            warn("cannot write the log to %s: %s", name.c_str(), std::strerror(errno));
        }
        std::clearerr(file);
    }
};

DebugSink& debugSink() {
    static DebugSink sink;
    return sink;
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
    // Written straight through (stderr is unbuffered, a log file is flushed) so log order is
    // exact and nothing is lost when the process ends abruptly.
    debugSink().write(text);
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

bool setDebugLog(const std::string& target) {
    DebugSink& sink = debugSink();
    sink.close();
    if (target.empty()) {
        return true;
    }
    if (target == "stderr") {
        sink.file = stderr;
        return true;
    }
    std::string why;
    sink.file = openOutput(target, why);
    if (sink.file == nullptr) {
        warn("cannot write the log to %s: %s", target.c_str(), why.c_str());
        return false;
    }
    sink.name = target;
    return true;
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
