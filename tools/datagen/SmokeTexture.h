// The smoke puff "data/texture/smoke.tga": 128 x 128, 32-bit, greyish white, a soft round puff
// whose alpha falls to 0 well inside the edges (the corners are fully transparent).
#pragma once

#include <string>

const char* const kSmokeTexture = "data/texture/smoke.tga";

bool writeSmokeTexture(const std::string& runDir);
