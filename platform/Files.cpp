// Reading and writing the player's files with POSIX calls: opened without waiting, checked with
// fstat before a single byte moves.
#include "platform/Files.h"

#include <fcntl.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdarg>
#include <cstdlib>
#include <cstring>

namespace platform {
namespace {

// What a file that is not a regular one is, for the reason given to the player.
const char* notRegular(mode_t mode) {
    if (S_ISDIR(mode)) {
        return "it is a directory";
    }
    if (S_ISFIFO(mode)) {
        return "it is a named pipe, not a regular file";
    }
    if (S_ISCHR(mode) || S_ISBLK(mode)) {
        return "it is a device, not a regular file";
    }
    if (S_ISSOCK(mode)) {
        return "it is a socket, not a regular file";
    }
    return "it is not a regular file";
}

std::string sizeText(std::size_t bytes) {
    if (bytes % (1024 * 1024) == 0) {
        return std::to_string(bytes / (1024 * 1024)) + " MiB";
    }
    if (bytes % 1024 == 0) {
        return std::to_string(bytes / 1024) + " KiB";
    }
    return std::to_string(bytes) + " bytes";
}

// Reads until the end of the descriptor, one byte past the limit at most, so that a file that
// grows while it is read is still caught.
bool readAll(int fd, std::size_t limit, std::string& bytes, std::string& why) {
    bytes.clear();
    char buffer[65536];
    for (;;) {
        const std::size_t room = limit + 1 - bytes.size();
        const ssize_t got = ::read(fd, buffer, room < sizeof buffer ? room : sizeof buffer);
        if (got < 0) {
            if (errno == EINTR) {
                continue;
            }
            why = std::strerror(errno);
            return false;
        }
        if (got == 0) {
            errno = 0;
            return true;
        }
        bytes.append(buffer, static_cast<std::size_t>(got));
        if (bytes.size() > limit) {
            why = "it holds more than " + sizeText(limit);
            bytes.clear();
            errno = EFBIG;
            return false;
        }
    }
}

} // namespace

bool readFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& why,
              bool allowStandardInput) {
    if (allowStandardInput && path == kStandardInput) {
        return readAll(STDIN_FILENO, limit, bytes, why);
    }
    // Non-blocking, so that opening a named pipe without a writer returns at once; fstat then
    // turns it away with every other kind of file that is not a regular one.
    const int fd = ::open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC | O_NOCTTY);
    if (fd < 0) {
        why = std::strerror(errno);
        return false;
    }
    struct stat status;
    int reason = 0;
    if (::fstat(fd, &status) != 0) {
        reason = errno;
        why = std::strerror(errno);
    } else if (!S_ISREG(status.st_mode)) {
        reason = S_ISDIR(status.st_mode) ? EISDIR : EINVAL;
        why = notRegular(status.st_mode);
    } else if (static_cast<unsigned long long>(status.st_size) > limit) {
        reason = EFBIG;
        why = "it holds more than " + sizeText(limit);
    } else if (!readAll(fd, limit, bytes, why)) {
        reason = errno != 0 ? errno : EFBIG;
    }
    ::close(fd);
    errno = reason;
    return reason == 0;
}

std::FILE* openOutput(const std::string& path, std::string& why) {
    // Not emptied on opening: a block device must be turned away before anything touches it.
    const int fd =
        ::open(path.c_str(), O_WRONLY | O_CREAT | O_NONBLOCK | O_CLOEXEC | O_NOCTTY, 0644);
    if (fd < 0) {
        why = errno == ENXIO ? "it is a named pipe that nothing reads" : std::strerror(errno);
        return nullptr;
    }
    struct stat status;
    if (::fstat(fd, &status) != 0) {
        why = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    const mode_t mode = status.st_mode;
    if (!S_ISREG(mode) && !S_ISCHR(mode) && !S_ISFIFO(mode)) {
        why = notRegular(mode);
        ::close(fd);
        return nullptr;
    }
    // A pipe that has its reader, and a character device, are written like any file from here.
    const int flags = ::fcntl(fd, F_GETFL);
    if ((S_ISREG(mode) && ::ftruncate(fd, 0) != 0) || flags < 0 ||
        ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        why = std::strerror(errno);
        ::close(fd);
        return nullptr;
    }
    std::FILE* file = ::fdopen(fd, "wb");
    if (file == nullptr) {
        why = std::strerror(errno);
        ::close(fd);
    }
    return file;
}

bool isSeekable(std::FILE* file) {
    struct stat status;
    return file != nullptr && ::fstat(::fileno(file), &status) == 0 && S_ISREG(status.st_mode);
}

std::string userFolder(const char* variable, const char* fallbackUnderHome) {
    const char* base = std::getenv(variable);
    if (base != nullptr && base[0] == '/') {
        return std::string(base) + "/ombrelix";
    }
    const char* home = std::getenv("HOME");
    return std::string(home != nullptr ? home : ".") + fallbackUnderHome + "/ombrelix";
}

void warn(const char* format, ...) {
    char sentence[1024];
    va_list args;
    va_start(args, format);
    std::vsnprintf(sentence, sizeof sentence, format, args);
    va_end(args);
    std::fprintf(stderr, "%s: %s\n", program_invocation_short_name, sentence);
}

} // namespace platform
