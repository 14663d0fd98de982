// The star sky "data/texture/sterne.bmp": 512 x 512, 24-bit, stars of many brightnesses and a
// few colours over a faint nebula. Each face of the sky polyhedron shows the whole image, so it
// tiles: the nebula repeats with the image and stars near an edge continue across it.
#pragma once

#include <string>

const char* const kSkyTexture = "data/texture/sterne.bmp";

bool writeSkyTexture(const std::string& runDir);
