// Little-endian byte buffer for the writers, and file saving.
#include "tools/datagen/ByteSink.h"

#include <cstdio>
#include <cstring>

void ByteSink::u16(std::uint32_t v) {
    u8(v);
    u8(v >> 8);
}

void ByteSink::u32(std::uint32_t v) {
    u16(v);
    u16(v >> 16);
}

void ByteSink::f32(float v) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &v, sizeof bits);
    u32(bits);
}

void ByteSink::text(const std::string& s, std::size_t size) {
    for (std::size_t i = 0; i < size; ++i) {
        u8(i + 1 < size && i < s.size() ? static_cast<unsigned char>(s[i]) : 0);
    }
}

void ByteSink::patchU32(std::size_t offset, std::uint32_t v) {
    for (int i = 0; i < 4; ++i) {
        bytes[offset + static_cast<std::size_t>(i)] = static_cast<std::uint8_t>(v >> (8 * i));
    }
}

bool saveFile(const std::string& path, const std::vector<std::uint8_t>& bytes) {
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        std::fprintf(stderr, "ombrelix-datagen: cannot write %s\n", path.c_str());
        return false;
    }
    bool ok = std::fwrite(bytes.data(), 1, bytes.size(), file) == bytes.size();
    ok = std::fclose(file) == 0 && ok;
    if (!ok) {
        std::fprintf(stderr, "ombrelix-datagen: short write to %s\n", path.c_str());
    }
    return ok;
}
