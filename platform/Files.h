// Opening the files a player names (on the command line or in the settings) so that no path can
// make the game wait or swallow more than its kind of file needs: a FIFO, a device or a folder
// is refused at once with a reason, and a failed write is said once.
#pragma once

#include <cstddef>
#include <cstdio>
#include <string>

namespace platform {

// Read limits by kind of file, in bytes.
const std::size_t kSettingsFileLimit = 64 * 1024;
const std::size_t kDocumentFileLimit = 16 * 1024 * 1024; // levels, campaigns, scripts

// The path that means standard input, where a reader allows it.
const char* const kStandardInput = "-";

// Reads a whole regular file of at most limit bytes (or, with allowStandardInput, standard
// input for "-"). False with the reason, a phrase such as "it is a named pipe, not a regular
// file", in why, and errno set (ENOENT: there is no such file); the file is never waited on.
bool readFile(const std::string& path, std::size_t limit, std::string& bytes, std::string& why,
              bool allowStandardInput = false);

// Opens a file for writing from its start: a regular file (created or emptied) or a character
// device such as /dev/null; a named pipe only when a reader is already there. nullptr with the
// reason in why; nothing is written to anything refused.
std::FILE* openOutput(const std::string& path, std::string& why);

// Whether a file opened by openOutput can be gone back into (a regular file), so that headers
// with sizes can be written last.
bool isSeekable(std::FILE* file);

// The game's folder under an XDG base folder: the variable's value when it is an absolute path
// (a relative one is ignored, as the XDG rules ask), else the fallback under HOME (for example
// "/.config"), with "/ombrelix" after it.
std::string userFolder(const char* variable, const char* fallbackUnderHome);

// Says on standard error, once per call, "<program>: <sentence>" for what the player must know
// (a refused file, a failed write); the program's name is the one it was started as.
void warn(const char* format, ...) __attribute__((format(printf, 1, 2)));

} // namespace platform
