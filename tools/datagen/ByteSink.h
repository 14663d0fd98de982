// Little-endian byte buffer that the file writers fill, and the one place that saves files.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

class ByteSink {
public:
    void u8(std::uint32_t v) { bytes.push_back(static_cast<std::uint8_t>(v & 0xFF)); }
    void u16(std::uint32_t v);
    void u32(std::uint32_t v);
    void i32(std::int32_t v) { u32(static_cast<std::uint32_t>(v)); }
    void f32(float v);
    // Exactly `size` bytes of the text, NUL padded (and cut if longer, keeping a terminator).
    void text(const std::string& s, std::size_t size);
    void raw(const std::uint8_t* data, std::size_t size) {
        bytes.insert(bytes.end(), data, data + size);
    }
    void patchU32(std::size_t offset, std::uint32_t v);
    std::size_t size() const { return bytes.size(); }

    std::vector<std::uint8_t> bytes;
};

// Writes the bytes to the path; false (with a line on stderr) when the file cannot be written.
bool saveFile(const std::string& path, const std::vector<std::uint8_t>& bytes);
