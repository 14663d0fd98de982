// Reading the progress file with inih and writing it through a temporary file in the same
// folder, flushed to the disk and renamed over the old one, so that a crash or a full disk
// leaves either the old file or the new one, never half of one.
#include "app/Progress.h"

#include "platform/Files.h"

#include <fcntl.h>
#include <ini.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

// A value inih handed over that the file's writer would not have written.
const int kUnreadable = 0;
const int kRead = 1;

std::string folderOf(const std::string& path) {
    const std::size_t slash = path.rfind('/');
    return slash == std::string::npos ? "." : path.substr(0, slash == 0 ? 1 : slash);
}

// Makes the folders along the way; those that exist already are fine.
void makeFolders(const std::string& path) {
    for (std::size_t slash = path.find('/', 1); slash != std::string::npos;
         slash = path.find('/', slash + 1)) {
        mkdir(path.substr(0, slash).c_str(), 0755);
    }
}

// Flushes the folder's entry of the renamed file too; a folder that cannot be opened for that
// only loses this extra safety.
void syncFolder(const std::string& folder) {
    const int fd = ::open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
    if (fd >= 0) {
        ::fsync(fd);
        ::close(fd);
    }
}

} // namespace

std::string Progress::defaultPath() {
    return platform::userFolder("XDG_DATA_HOME", "/.local/share") + "/progress.ini";
}

int Progress::takeSetting(void* user, const char* section, const char* name, const char* value) {
    Record& record = static_cast<Progress*>(user)->records[section];
    const std::string key = name;
    if (key == "completed") {
        const std::string answer = value;
        if (answer != "yes" && answer != "no") {
            return kUnreadable;
        }
        record.completed = answer == "yes";
        return kRead;
    }
    if (key == "best_time") {
        char* end = nullptr;
        const double seconds = std::strtod(value, &end);
        if (*value == '\0' || *end != '\0' || !std::isfinite(seconds) || seconds < 0.0) {
            return kUnreadable;
        }
        record.bestSeconds = seconds;
        return kRead;
    }
    return kRead; // what a later version may add is left to it
}

Progress::Progress(const std::string& path) : szPath(path) {
    std::string text;
    std::string why;
    if (!platform::readFile(path, platform::kSettingsFileLimit, text, why)) {
        if (errno == ENOENT) {
            bSaving = true;
        } else {
            platform::warn(
                "cannot read the progress file %s: %s; nothing will be saved in this run",
                path.c_str(), why.c_str());
        }
        return;
    }
    const int errorLine = text.find('\0') != std::string::npos
                              ? 1
                              : ini_parse_string(text.c_str(), &takeSetting, this);
    if (errorLine == 0) {
        bSaving = true;
        return;
    }
    records.clear();
    const std::string aside = path + kBrokenSuffix;
    if (std::rename(path.c_str(), aside.c_str()) != 0) {
        platform::warn("the progress file %s cannot be read (line %d) nor moved aside (%s); "
                       "nothing will be saved in this run",
                       path.c_str(), errorLine, std::strerror(errno));
        return;
    }
    platform::warn("the progress file %s cannot be read (line %d); it is kept as %s and play "
                   "starts fresh",
                   path.c_str(), errorLine, aside.c_str());
    bSaving = true;
}

void Progress::reset(const std::string& path) {
    const std::string aside = path + kOldSuffix;
    if (std::rename(path.c_str(), aside.c_str()) != 0 && errno != ENOENT) {
        platform::warn("cannot move the progress file %s aside: %s", path.c_str(),
                       std::strerror(errno));
    }
}

bool Progress::completed(const std::string& id) const {
    const auto found = records.find(id);
    return found != records.end() && found->second.completed;
}

bool Progress::fresh() const {
    for (const auto& entry : records) {
        if (entry.second.completed) {
            return false;
        }
    }
    return true;
}

double Progress::bestTime(const std::string& id) const {
    const auto found = records.find(id);
    return found != records.end() ? found->second.bestSeconds : -1.0;
}

void Progress::complete(const std::string& id, double seconds) {
    Record& record = records[id];
    record.completed = true;
    if (record.bestSeconds < 0.0 || seconds < record.bestSeconds) {
        record.bestSeconds = seconds;
    }
    if (szPath.empty() || !bSaving) {
        return;
    }
    std::string why;
    if (!save(why) && !bWarned) {
        bWarned = true;
        platform::warn("cannot save the progress to %s: %s; play goes on without saving",
                       szPath.c_str(), why.c_str());
    }
}

bool Progress::save(std::string& why) const {
    makeFolders(szPath);
    const std::string temporary = szPath + kTemporarySuffix;
    std::FILE* file = platform::openOutput(temporary, why);
    if (file == nullptr) {
        return false;
    }
    if (!platform::isSeekable(file)) {
        std::fclose(file);
        why = temporary + " is not a regular file";
        return false;
    }
    std::fprintf(file, "# Ombrelix progress: the levels completed and their best times in "
                       "seconds.\n");
    for (const auto& [id, record] : records) {
        std::fprintf(file, "\n[%s]\ncompleted = %s\n", id.c_str(), record.completed ? "yes" : "no");
        if (record.bestSeconds >= 0.0) {
            std::fprintf(file, "best_time = %.3f\n", record.bestSeconds);
        }
    }
    const bool written =
        std::fflush(file) == 0 && std::ferror(file) == 0 && ::fsync(::fileno(file)) == 0;
    const int writeError = errno;
    const bool closed = std::fclose(file) == 0;
    if (!written || !closed || std::rename(temporary.c_str(), szPath.c_str()) != 0) {
        why = std::strerror(!written ? writeError : errno != 0 ? errno : EIO);
        std::remove(temporary.c_str());
        return false;
    }
    syncFolder(folderOf(szPath));
    return true;
}
