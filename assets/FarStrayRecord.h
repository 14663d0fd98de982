// How far a far model strays from its model, measured once by the data generator and kept beside
// the far model, so that loading a kind does not stall the game to measure it again. A record
// holds only for the very two files it was measured on.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <string>
#include <vector>

class FarStrayRecord {
public:
    // At most this many bytes are read from a record; anything longer is not one.
    static constexpr std::size_t kLimit = 256;

    // The record kept beside a far model: NAME.far.ms3d -> NAME.far.stray.
    static std::string pathFor(const std::string& farModelPath);
    // A fingerprint of the model's and the far model's bytes, in that order (64-bit FNV-1a).
    static std::uint64_t fingerprint(const std::vector<std::uint8_t>& model,
                                     const std::vector<std::uint8_t>& farModel);
    // The record's text: the fingerprint and the stray, the float written exactly.
    static std::string text(std::uint64_t fingerprint, float stray);
    // The stray a record's text holds for the fingerprint: none for another pair of files, for
    // text that is not a record, or for a stray that is negative or not a number (infinite is
    // one: a far model that draws nothing is never used).
    static std::optional<float> read(const std::string& text, std::uint64_t fingerprint);
};
