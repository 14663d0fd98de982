// The message texture "data/texture/info.tga": 1024 x 512, 32-bit, run-length encoded. The lower
// half (rows 0..255) holds "LEVEL COMPLETE", the upper half "GAME OVER"; each half is stretched
// over the upper half of the 1024 x 768 window. Everything but the letters is transparent.
#pragma once

#include <string>

const char* const kInfoTexture = "data/texture/info.tga";

bool writeInfoTexture(const std::string& runDir);
