// What the player has done in the campaign, kept between runs: the levels completed and the best
// time of each, keyed by the level's id, in a small INI file that is written whole and
// atomically whenever a level is completed, and at no other time.
#pragma once

#include <map>
#include <string>

class Progress {
public:
    // $XDG_DATA_HOME/ombrelix/progress.ini, or ~/.local/share/ombrelix/progress.ini.
    static std::string defaultPath();

    // Progress kept for this run only: nothing is read or written.
    Progress() = default;
    // Reads the file. A missing one is a fresh start. One that is not a progress file is said
    // on standard error, moved aside to FILE.broken, and play starts fresh; one that cannot be
    // read is said and left alone, and nothing is saved in this run.
    explicit Progress(const std::string& path);

    // Moves the file aside to FILE.old, so that play starts fresh; nothing new is written until
    // a level is completed. Problems are said on standard error.
    static void reset(const std::string& path);

    bool completed(const std::string& id) const;
    // Seconds of the best completion, or a negative number when there is none.
    double bestTime(const std::string& id) const;
    // Whether no level has been completed yet.
    bool fresh() const;

    // Records a completion in the time given (the best time stays the best) and writes the
    // file. A write that fails is said once per run, and play goes on.
    void complete(const std::string& id, double seconds);

    static constexpr const char* kBrokenSuffix = ".broken";
    static constexpr const char* kOldSuffix = ".old";
    static constexpr const char* kTemporarySuffix = ".tmp";

private:
    struct Record {
        bool completed = false;
        double bestSeconds = -1.0;
    };
    static int takeSetting(void* user, const char* section, const char* name, const char* value);
    bool save(std::string& why) const;

    std::map<std::string, Record> records;
    std::string szPath;   // "" when kept for this run only
    bool bSaving = false; // the file may be written
    bool bWarned = false; // a failed write was said
};
