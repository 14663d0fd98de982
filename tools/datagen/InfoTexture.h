// The message textures, 1024 x 512, 32-bit, run-length encoded; each half is stretched over the
// upper half of the 1024 x 768 window and everything but the letters is transparent.
// "data/texture/info.tga" holds "LEVEL COMPLETE" in its lower half (rows 0..255) and "GAME OVER"
// in its upper half; "data/texture/campaign.tga" holds "CAMPAIGN COMPLETE" in its lower half,
// shown in place of "LEVEL COMPLETE" after the campaign's last level.
#pragma once

#include <string>

const char* const kInfoTexture = "data/texture/info.tga";
const char* const kCampaignTexture = "data/texture/campaign.tga";

bool writeInfoTexture(const std::string& runDir);
bool writeCampaignTexture(const std::string& runDir);
