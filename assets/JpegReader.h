// JPEG files to RGB pixels, bottom row first, through libjpeg. Pure byte work, no GL; a file the
// library cannot decode gives a message instead of ending the program.
#pragma once

#include "assets/PixelImage.h"

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>

// Either an image (3 channels), or the library's message for why there is none.
struct JpegReadResult {
    std::optional<PixelImage> image;
    std::string message;
};

// Decodes with RGB output: grey-scale converts, CMYK and YCCK are refused. Warnings about
// corrupt data do not stop the decode. The top scanline ends up as the last buffer row.
JpegReadResult readJpeg(const std::uint8_t* data, std::size_t size);

// As above, but also refuses images of more than maxPixels pixels (the fuzzers keep memory low).
JpegReadResult readJpeg(const std::uint8_t* data, std::size_t size, std::uint64_t maxPixels);
