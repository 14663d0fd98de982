// Encodes JPEG files with libjpeg, in colour or grey.
#pragma once

#include "assets/PixelImage.h"

#include <string>

// Writes the image (rows bottom first, as everywhere in the game) as a baseline JPEG; `grey`
// stores one luminance channel. False, with a line on stderr, when the file cannot be written.
bool writeJpeg(const std::string& path, const PixelImage& image, int quality, bool grey = false);
