// Windows BMP (DIB) files to 24-bit RGB pixels, bottom row first: the reader behind the sky and
// any BMP material texture. Pure byte work, no GL; safe on any input.
#pragma once

#include "assets/PixelImage.h"

#include <cstddef>
#include <cstdint>
#include <optional>

// Decodes a BMP held in memory: with the 14-byte "BM" file header or starting directly with the
// bitmap header (12-byte core or 40-byte info header). Palette images of 1, 4 and 8 bits (also
// RLE4/RLE8 compressed), direct colour of 16, 24 and 32 bits (with or without bit-fields).
// Always gives 3 channels, R, G, B. Nothing for anything malformed, truncated or too large.
std::optional<PixelImage> readBmp(const std::uint8_t* data, std::size_t size);

// As above, but also refuses images of more than maxPixels pixels (the fuzzers keep memory low).
std::optional<PixelImage> readBmp(const std::uint8_t* data, std::size_t size,
                                  std::uint64_t maxPixels);
