// The campaign being played: its levels in order, which one is on, the time spent flying it,
// and the progress kept between runs (levels completed, best times).
#pragma once

#include "app/LaunchOptions.h"
#include "app/Progress.h"
#include "level/CampaignReader.h"

#include <memory>
#include <vector>

class Campaign {
public:
    // Starts at `start` (counting from 0), or at the first level not completed yet when start is
    // negative (the first of all when every one is).
    Campaign(std::vector<CampaignReader::Level> levels, Progress progress, int start = -1);

    // The campaign the options name, with its progress (reset first if asked) and every level
    // file checked; null after saying why on standard error in one sentence.
    static std::unique_ptr<Campaign> open(const LaunchOptions& options);

    std::size_t size() const { return levelList.size(); }
    // The level on now, counting from 0.
    std::size_t index() const { return iLevel; }
    const CampaignReader::Level& level() const { return levelList[iLevel]; }
    bool onLastLevel() const { return iLevel + 1 == levelList.size(); }
    // The first level of a campaign nobody has completed anything of yet.
    bool freshStart() const { return iLevel == 0 && progress.fresh(); }

    // Seconds the level on now has been flown (the world's steps, not the pauses or its card).
    double levelTime() const { return dLevelTime; }
    void addLevelTime(double seconds) { dLevelTime += seconds; }

    // The level on now is completed in its level time: recorded (and saved) once.
    void completeLevel();
    bool levelCompleted() const { return bCompleted; }
    // Best seconds of the level on now, this completion included; negative when none.
    double bestTime() const { return progress.bestTime(level().id); }
    // Every level completed, the last one just now.
    bool finished() const { return bCompleted && onLastLevel(); }

    // After the level's end: the next level if it was completed (the first after the last), the
    // same one otherwise; its time starts from 0.
    void goOn();

private:
    std::vector<CampaignReader::Level> levelList;
    Progress progress;
    std::size_t iLevel = 0;
    double dLevelTime = 0.0;
    bool bCompleted = false;
};
