// Shared by the fuzz targets: a pixel budget that keeps every decode fast and small, and a check
// that stops the run loudly when a reader hands out an inconsistent image.
#pragma once

#include "assets/PixelImage.h"

#include <cstdint>
#include <cstdlib>

// 1 megapixel: room for every texture shape the game uses, yet each run stays small and fast.
const std::uint64_t kFuzzMaxPixels = std::uint64_t(1) << 20;

inline void checkImage(const PixelImage& image, int channels) {
    const bool consistent =
        image.width > 0 && image.height > 0 && image.width <= kMaxImageSide &&
        image.height <= kMaxImageSide && image.channels == channels &&
        image.pixels.size() == static_cast<std::size_t>(image.width) * image.height * channels;
    if (!consistent) {
        std::abort();
    }
}
