// MilkShape 3D parsing from memory: header, then the vertex, triangle, group and material blocks,
// each a 16-bit count and packed little-endian records. Every read is checked against the buffer
// and every index against its array, so a damaged file is refused instead of drawn out of bounds.
#include "assets/Ms3dReader.h"

#include <cstring>
#include <utility>

namespace {

const char kIdentifier[] = "MS3D000000"; // 10 bytes, no terminator in the file
const std::size_t kIdentifierSize = 10;
const std::int32_t kOldestVersion = 3;
const std::int32_t kNewestVersion = 4;

const std::size_t kVertexRecordSize = 15;
const std::size_t kTriangleRecordSize = 70;
const std::size_t kGroupHeadSize = 1 + 32 + 2; // flags, name, triangle count
const std::size_t kMaterialRecordSize = 361;
const std::size_t kMaterialTextureOffset = 105;
const std::size_t kMaterialNameFieldSize = 128;

// A bounds-checked little-endian cursor over the file image.
class ByteCursor {
public:
    ByteCursor(const std::uint8_t* data, std::size_t size) : data_(data), size_(size) {}

    bool has(std::size_t bytes) const { return size_ - pos_ >= bytes; }
    const std::uint8_t* here() const { return data_ + pos_; }
    void skip(std::size_t bytes) { pos_ += bytes; }

    bool readU16(std::uint16_t& value) {
        if (!has(2)) {
            return false;
        }
        value = static_cast<std::uint16_t>(data_[pos_] | (data_[pos_ + 1] << 8));
        pos_ += 2;
        return true;
    }

private:
    const std::uint8_t* data_;
    std::size_t size_;
    std::size_t pos_ = 0;
};

std::uint32_t u32At(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) | (static_cast<std::uint32_t>(p[1]) << 8) |
           (static_cast<std::uint32_t>(p[2]) << 16) | (static_cast<std::uint32_t>(p[3]) << 24);
}

std::uint16_t u16At(const std::uint8_t* p) {
    return static_cast<std::uint16_t>(p[0] | (p[1] << 8));
}

float floatAt(const std::uint8_t* p) {
    const std::uint32_t bits = u32At(p);
    float value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

void floatsAt(const std::uint8_t* p, float* out, int count) {
    for (int i = 0; i < count; ++i) {
        out[i] = floatAt(p + 4 * i);
    }
}

bool readVertices(ByteCursor& cursor, std::vector<Vertex>& vertices) {
    std::uint16_t count = 0;
    if (!cursor.readU16(count) || !cursor.has(count * kVertexRecordSize)) {
        return false;
    }
    vertices.resize(count);
    for (Vertex& vertex : vertices) {
        floatsAt(cursor.here() + 1, vertex.position, 3);
        cursor.skip(kVertexRecordSize);
    }
    return true;
}

bool readTriangles(ByteCursor& cursor, std::size_t vertexCount, std::vector<Triangle>& triangles) {
    std::uint16_t count = 0;
    if (!cursor.readU16(count) || !cursor.has(count * kTriangleRecordSize)) {
        return false;
    }
    triangles.resize(count);
    for (Triangle& triangle : triangles) {
        const std::uint8_t* record = cursor.here();
        for (int corner = 0; corner < 3; ++corner) {
            const std::uint16_t index = u16At(record + 2 + 2 * corner);
            if (index >= vertexCount) {
                return false;
            }
            triangle.vertexIndices[corner] = index;
            floatsAt(record + 8 + 12 * corner, triangle.normals[corner], 3);
            triangle.s[corner] = floatAt(record + 44 + 4 * corner);
            // The file's t runs top-down; GL's runs bottom-up.
            triangle.t[corner] = 1.0f - floatAt(record + 56 + 4 * corner);
        }
        cursor.skip(kTriangleRecordSize);
    }
    return true;
}

bool readGroups(ByteCursor& cursor, std::size_t triangleCount, std::vector<Group>& groups) {
    std::uint16_t count = 0;
    // Even an empty group takes its head and material byte; a count that cannot fit is refused
    // before anything is allocated for it.
    if (!cursor.readU16(count) || !cursor.has(count * (kGroupHeadSize + 1))) {
        return false;
    }
    groups.resize(count);
    for (Group& group : groups) {
        if (!cursor.has(kGroupHeadSize)) {
            return false;
        }
        const std::size_t triangles = u16At(cursor.here() + 33);
        cursor.skip(kGroupHeadSize);
        if (!cursor.has(triangles * 2 + 1)) {
            return false;
        }
        group.triangleIndices.resize(triangles);
        for (std::size_t i = 0; i < triangles; ++i) {
            const std::uint16_t index = u16At(cursor.here() + 2 * i);
            if (index >= triangleCount) {
                return false;
            }
            group.triangleIndices[i] = index;
        }
        group.materialIndex = static_cast<std::int8_t>(cursor.here()[2 * triangles]);
        cursor.skip(triangles * 2 + 1);
    }
    return true;
}

bool readMaterials(ByteCursor& cursor, std::vector<Material>& materials) {
    std::uint16_t count = 0;
    if (!cursor.readU16(count) || !cursor.has(count * kMaterialRecordSize)) {
        return false;
    }
    materials.resize(count);
    for (Material& material : materials) {
        const std::uint8_t* record = cursor.here();
        floatsAt(record + 32, material.ambient, 4);
        floatsAt(record + 48, material.diffuse, 4);
        floatsAt(record + 64, material.specular, 4);
        floatsAt(record + 80, material.emissive, 4);
        material.shininess = floatAt(record + 96);
        // The name ends at its first NUL; a field without one is cut at its end.
        const char* name = reinterpret_cast<const char*>(record + kMaterialTextureOffset);
        const void* nul = std::memchr(name, '\0', kMaterialNameFieldSize);
        const std::size_t length =
            nul != nullptr ? static_cast<const char*>(nul) - name : kMaterialNameFieldSize;
        material.textureFile.assign(name, length);
        cursor.skip(kMaterialRecordSize);
    }
    return true;
}

} // namespace

std::optional<Ms3dContents> readMs3d(const std::uint8_t* data, std::size_t size) {
    if (data == nullptr || size < kIdentifierSize + 4 ||
        std::memcmp(data, kIdentifier, kIdentifierSize) != 0) {
        return std::nullopt;
    }
    const std::int32_t version = static_cast<std::int32_t>(u32At(data + kIdentifierSize));
    if (version < kOldestVersion || version > kNewestVersion) {
        return std::nullopt;
    }
    ByteCursor cursor(data, size);
    cursor.skip(kIdentifierSize + 4);

    Ms3dContents contents;
    if (!readVertices(cursor, contents.vertices) ||
        !readTriangles(cursor, contents.vertices.size(), contents.triangles) ||
        !readGroups(cursor, contents.triangles.size(), contents.groups) ||
        !readMaterials(cursor, contents.materials)) {
        return std::nullopt;
    }
    // A material index past the table (the format writes -1 for none) also means no material.
    for (Group& group : contents.groups) {
        if (group.materialIndex >= static_cast<int>(contents.materials.size())) {
            group.materialIndex = -1;
        }
    }
    return contents;
}
