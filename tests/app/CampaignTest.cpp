// Where a campaign picks up from the progress kept between runs.
#include "app/Campaign.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

TEST(Campaign, PicksUpAtTheFirstLevelTheProgressFileDoesNotCallCompleted) {
    // The first level won, the second tried but not won: the next run starts at the second.
    const testsupport::TempDir folder;
    const std::string file = folder.write("p.ini", "[first]\ncompleted = yes\nbest_time = 31\n"
                                                   "[second]\ncompleted = no\n");
    const std::vector<CampaignReader::Level> levels = {
        {"first", "a.xml", "First"}, {"second", "b.xml", "Second"}, {"third", "c.xml", "Third"}};
    const Campaign campaign(levels, Progress(file));
    EXPECT_EQ(campaign.index(), 1u);
    EXPECT_FALSE(campaign.freshStart());
}
