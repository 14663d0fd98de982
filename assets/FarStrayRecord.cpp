// The far-model stray records: their file name, fingerprint and one line of text.
#include "assets/FarStrayRecord.h"

#include <cinttypes>
#include <cstdio>
#include <cstdlib>

namespace {
const char* const kTag = "ombrelix-far-stray";
const std::uint64_t kFnvOffset = 14695981039346656037ull;
const std::uint64_t kFnvPrime = 1099511628211ull;

std::uint64_t mix(std::uint64_t hash, const std::uint8_t* bytes, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        hash = (hash ^ bytes[i]) * kFnvPrime;
    }
    return hash;
}
} // namespace

std::string FarStrayRecord::pathFor(const std::string& farModelPath) {
    const std::string suffix = ".ms3d";
    const bool hasSuffix =
        farModelPath.size() >= suffix.size() &&
        farModelPath.compare(farModelPath.size() - suffix.size(), suffix.size(), suffix) == 0;
    return (hasSuffix ? farModelPath.substr(0, farModelPath.size() - suffix.size())
                      : farModelPath) +
           ".stray";
}

std::uint64_t FarStrayRecord::fingerprint(const std::vector<std::uint8_t>& model,
                                          const std::vector<std::uint8_t>& farModel) {
    // The length between the two, so that bytes moved from one file to the other tell.
    std::uint8_t length[8];
    for (std::size_t i = 0; i < sizeof length; ++i) {
        length[i] = static_cast<std::uint8_t>(model.size() >> (8 * i));
    }
    const std::uint64_t hash = mix(kFnvOffset, model.data(), model.size());
    return mix(mix(hash, length, sizeof length), farModel.data(), farModel.size());
}

std::string FarStrayRecord::text(std::uint64_t fingerprint, float stray) {
    // %a writes the float's bits exactly; strtof reads them back the same.
    char line[kLimit];
    std::snprintf(line, sizeof line, "%s %016" PRIx64 " %a\n", kTag, fingerprint,
                  static_cast<double>(stray));
    return line;
}

std::optional<float> FarStrayRecord::read(const std::string& text, std::uint64_t fingerprint) {
    if (text.size() > kLimit) {
        return std::nullopt;
    }
    char tag[32] = {};
    char hash[17] = {};
    char number[64] = {};
    char extra = 0;
    // One line: the tag, sixteen hexadecimal digits, the stray, and nothing after it.
    if (std::sscanf(text.c_str(), "%31s %16[0-9a-f] %63s %c", tag, hash, number, &extra) != 3 ||
        std::string(tag) != kTag || std::string(hash).size() != 16) {
        return std::nullopt;
    }
    if (std::strtoull(hash, nullptr, 16) != fingerprint) {
        return std::nullopt;
    }
    char* end = nullptr;
    const float stray = std::strtof(number, &end);
    if (end == number || *end != '\0' || !(stray >= 0.0f)) {
        return std::nullopt;
    }
    return stray;
}
