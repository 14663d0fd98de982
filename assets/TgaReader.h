// Truevision TGA files (uncompressed or run-length encoded true colour, 24 or 32 bits) to
// R, G, B(, A) pixels in file row order. Pure byte work, no GL; safe on any input.
#pragma once

#include "assets/PixelImage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Either an image, or the message and caption that the texture loader shows for the failure.
struct TgaReadResult {
    std::optional<PixelImage> image;
    std::string message;
    std::string caption;
};

// Accepts exactly the 12-byte prefixes of type 2 and type 10 files with no ID field, no colour
// map and origin 0,0. Rows are used in file order (the origin bit is not consulted).
TgaReadResult readTga(const std::uint8_t* data, std::size_t size);
