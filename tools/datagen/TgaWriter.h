// Encodes Truevision TGA files the way the game reads them: true colour, 24 or 32 bits, no ID
// field or colour map, bottom-left origin; uncompressed (type 2) or run-length encoded (type 10).
#pragma once

#include "assets/PixelImage.h"

#include <cstdint>
#include <vector>

std::vector<std::uint8_t> encodeTga(const PixelImage& image, bool runLength);
