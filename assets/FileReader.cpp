// Whole-file reads for the asset readers.
#include "assets/FileReader.h"

#include <cstdio>
#include <memory>

std::optional<std::vector<std::uint8_t>> readFileBytes(const char* path) {
    if (path == nullptr) {
        return std::nullopt;
    }
    std::unique_ptr<FILE, int (*)(FILE*)> file(std::fopen(path, "rb"), &std::fclose);
    if (!file) {
        return std::nullopt;
    }
    std::vector<std::uint8_t> bytes;
    std::uint8_t chunk[65536];
    size_t got = 0;
    while ((got = std::fread(chunk, 1, sizeof chunk, file.get())) > 0) {
        bytes.insert(bytes.end(), chunk, chunk + got);
    }
    if (std::ferror(file.get())) {
        return std::nullopt;
    }
    return bytes;
}
