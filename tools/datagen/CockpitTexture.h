// The cockpit overlay "data/texture/cokpit.tga": 1024 x 1024, 32-bit, run-length encoded. It is
// stretched over the whole 1024 x 768 window: a slim canopy frame and a dashboard whose radar
// scope faces and energy-bar slot sit exactly where the HUD instruments are drawn. The canopy
// view is transparent (alpha 0), so the alpha test lets the world show through.
#pragma once

#include <string>

const char* const kCockpitTexture = "data/texture/cokpit.tga";

// Where the instruments land on a 1024 x 768 window, in pixels from the bottom-left corner.
const int kCockpitWindowWidth = 1024;
const int kCockpitWindowHeight = 768;
const float kFrontScopeX = 234.0f; // front-view radar, left of centre
const float kTopScopeX = 790.0f;   // top-view radar, right of centre
const float kScopeY = 72.0f;
const float kScopeRadius = 56.0f;
const float kBarLeft = 367.0f, kBarBottom = 61.0f, kBarRight = 649.0f, kBarTop = 99.0f;

bool writeCockpitTexture(const std::string& runDir);

// The strips beside the cockpit on windows wider than 4:3, "data/texture/cokpit-side.tga":
// 16 x 1024, every column alike, stretched over a strip as high as the window. Each row carries
// on what the cockpit's outer edge shows at that height: the dashboard up to its lip, canopy
// glass (transparent) above it, and the top bar.
const char* const kCockpitSidesTexture = "data/texture/cokpit-side.tga";

bool writeCockpitSidesTexture(const std::string& runDir);
