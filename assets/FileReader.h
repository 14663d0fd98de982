// Whole-file reads for the asset readers, which all work on bytes in memory.
#pragma once

#include <cstdint>
#include <optional>
#include <vector>

// The file's bytes, or nothing when it cannot be opened or read.
std::optional<std::vector<std::uint8_t>> readFileBytes(const char* path);
