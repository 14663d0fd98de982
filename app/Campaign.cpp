// Where a campaign starts, what completing a level records, and where it goes on.
#include "app/Campaign.h"

#include "app/Game.h"
#include "platform/Files.h"

Campaign::Campaign(std::vector<CampaignReader::Level> levels, Progress kept, int start)
    : levelList(std::move(levels)), progress(std::move(kept)) {
    if (start >= 0 && static_cast<std::size_t>(start) < levelList.size()) {
        iLevel = static_cast<std::size_t>(start);
        return;
    }
    while (iLevel < levelList.size() && progress.completed(levelList[iLevel].id)) {
        ++iLevel;
    }
    if (iLevel == levelList.size()) {
        iLevel = 0; // all done: round again
    }
}

std::unique_ptr<Campaign> Campaign::open(const LaunchOptions& options) {
    CampaignReader reader;
    if (!reader.read(options.campaignFile)) {
        platform::warn("cannot read the campaign %s", reader.error().c_str());
        return nullptr;
    }
    const std::vector<CampaignReader::Level>& levels = reader.levels();
    if (static_cast<std::size_t>(options.campaignLevel) > levels.size()) {
        platform::warn("the campaign %s has %zu levels, so it cannot start at level %d",
                       options.campaignFile.c_str(), levels.size(), options.campaignLevel);
        return nullptr;
    }
    for (const CampaignReader::Level& level : levels) {
        if (!CheckLevelFile(level.file)) {
            return nullptr;
        }
    }
    if (options.resetProgress && !options.progressFile.empty()) {
        Progress::reset(options.progressFile);
    }
    Progress progress = options.progressFile.empty() ? Progress() : Progress(options.progressFile);
    return std::make_unique<Campaign>(levels, std::move(progress), options.campaignLevel - 1);
}

void Campaign::completeLevel() {
    if (bCompleted) {
        return;
    }
    bCompleted = true;
    progress.complete(level().id, dLevelTime);
}

void Campaign::goOn() {
    if (bCompleted) {
        iLevel = (iLevel + 1) % levelList.size();
    }
    bCompleted = false;
    dLevelTime = 0.0;
}
