// Decoded pixels as every image reader delivers them: rows bottom row first, tightly packed,
// R, G, B (and A) byte order, ready for a GL upload.
#pragma once

#include <cstdint>
#include <vector>

// Largest side any reader accepts; a bigger header is refused before anything is allocated.
const int kMaxImageSide = 16384;

struct PixelImage {
    int width = 0;
    int height = 0;
    int channels = 3; // 3 (RGB) or 4 (RGBA)
    std::vector<std::uint8_t> pixels;
};
