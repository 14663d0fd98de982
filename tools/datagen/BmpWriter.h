// Encodes Windows BMP files: 24- and 32-bit direct colour, and 1-, 4- and 8-bit palette images,
// with the 40-byte info header or the old 12-byte core header.
#pragma once

#include "assets/PixelImage.h"

#include <cstdint>
#include <optional>
#include <vector>

struct BmpOptions {
    int bitsPerPixel = 24;   // 1, 4, 8 (palette), 24 or 32
    bool coreHeader = false; // 12-byte header (palette entries then take 3 bytes)
    bool fileHeader = true;  // the 14-byte "BM" header in front of the bitmap header
};

// The file bytes, or nothing when a palette depth cannot hold the image's colours.
std::optional<std::vector<std::uint8_t>> encodeBmp(const PixelImage& image,
                                                   const BmpOptions& options = {});
