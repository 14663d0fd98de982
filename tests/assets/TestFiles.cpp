// Byte-level builders for BMP, TGA, JPEG and MS3D test files.
#include "tests/assets/TestFiles.h"

#include <cstdlib>
#include <cstring>

#include <jpeglib.h>

namespace assettest {

namespace {

void putU16(Bytes& out, unsigned value) {
    out.insert(out.end(), {std::uint8_t(value & 0xFF), std::uint8_t((value >> 8) & 0xFF)});
}

// Little-endian 16-bit and 32-bit fields, one after the other.
template <typename... T> void put16(Bytes& out, T... values) {
    (putU16(out, static_cast<unsigned>(values)), ...);
}
template <typename... T> void put32(Bytes& out, T... values) {
    ((putU16(out, static_cast<std::uint32_t>(values) & 0xFFFF),
      putU16(out, static_cast<std::uint32_t>(values) >> 16)),
     ...);
}
template <typename Floats> void putFloats(Bytes& out, const Floats& values) {
    for (float value : values) {
        std::uint32_t bits = 0;
        std::memcpy(&bits, &value, sizeof bits);
        put32(out, bits);
    }
}
// A fixed-size name field: the text, then zeros.
void putName(Bytes& out, const char* name, std::size_t size) {
    Bytes field(size, 0);
    std::memcpy(field.data(), name, std::strlen(name));
    out.insert(out.end(), field.begin(), field.end());
}

} // namespace

Bytes makeBmp(const BmpLayout& layout, const Bytes& storedPixels) {
    Bytes header;
    put32(header, 40, layout.width, layout.height);
    put16(header, 1, layout.bits); // one plane
    // Compression, image size, 72 dpi both ways, colours used and important.
    put32(header, layout.compression, storedPixels.size(), 2835, 2835, layout.coloursUsed, 0);
    for (std::uint32_t mask : layout.masks) {
        put32(header, mask);
    }
    for (const auto& entry : layout.palette) {
        header.insert(header.end(), {entry[2], entry[1], entry[0], 0});
    }
    Bytes file;
    if (layout.fileHeader) {
        const std::size_t offset = 14 + header.size();
        file = {'B', 'M'};
        put32(file, offset + storedPixels.size(), 0, offset);
    }
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), storedPixels.begin(), storedPixels.end());
    return file;
}

Bytes makeTga(int imageType, int width, int height, int bitsPerPixel, const Bytes& body) {
    Bytes file = {0, 0, static_cast<std::uint8_t>(imageType), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    put16(file, width, height);
    file.insert(file.end(), {static_cast<std::uint8_t>(bitsPerPixel), 0});
    file.insert(file.end(), body.begin(), body.end());
    return file;
}

Bytes makeJpeg(int width, int height, int components, const Bytes& pixelsTopDown, int quality) {
    jpeg_compress_struct cinfo;
    jpeg_error_mgr errors;
    cinfo.err = jpeg_std_error(&errors);
    jpeg_create_compress(&cinfo);
    unsigned char* buffer = nullptr;
    unsigned long size = 0;
    jpeg_mem_dest(&cinfo, &buffer, &size);
    cinfo.image_width = static_cast<JDIMENSION>(width);
    cinfo.image_height = static_cast<JDIMENSION>(height);
    cinfo.input_components = components;
    cinfo.in_color_space = components == 1 ? JCS_GRAYSCALE : components == 4 ? JCS_CMYK : JCS_RGB;
    jpeg_set_defaults(&cinfo);
    jpeg_set_quality(&cinfo, quality, TRUE);
    jpeg_start_compress(&cinfo, TRUE);
    const std::size_t rowSpan = static_cast<std::size_t>(width) * components;
    while (cinfo.next_scanline < cinfo.image_height) {
        JSAMPROW row = const_cast<JSAMPROW>(pixelsTopDown.data() + cinfo.next_scanline * rowSpan);
        jpeg_write_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_compress(&cinfo);
    jpeg_destroy_compress(&cinfo);
    Bytes file(buffer, buffer + size);
    std::free(buffer);
    return file;
}

Ms3dBuilder Ms3dBuilder::quad(const std::string& texture) {
    Ms3dBuilder model;
    model.vertices = {{-1, -1, 0}, {1, -1, 0}, {1, 1, 0}, {-1, 1, 0}};
    model.triangles = {{{0, 1, 2}, {0, 1, 1}, {1, 1, 0}}, {{0, 2, 3}, {0, 1, 0}, {1, 0, 0}}};
    model.groups = {{{0, 1}, 0}};
    model.materials.resize(1);
    model.materials[0].texture = texture;
    return model;
}

Bytes Ms3dBuilder::build() const {
    Bytes file(identifier.begin(), identifier.end());
    put32(file, version);
    put16(file, vertices.size());
    for (const auto& vertex : vertices) {
        file.push_back(0); // flags
        putFloats(file, vertex);
        file.insert(file.end(), {0xFF, 1}); // no bone, one reference
    }
    put16(file, triangles.size());
    for (const Tri& triangle : triangles) {
        put16(file, 0, triangle.vertices[0], triangle.vertices[1], triangle.vertices[2]);
        putFloats(file, triangle.normals);
        putFloats(file, triangle.s);
        putFloats(file, triangle.t);
        file.insert(file.end(), {1, 0}); // smoothing group, group index
    }
    put16(file, groups.size());
    for (const Grp& group : groups) {
        file.push_back(0);
        putName(file, "group", 32);
        put16(file, group.triangles.size());
        for (std::uint16_t index : group.triangles) {
            put16(file, index);
        }
        file.push_back(group.material);
    }
    put16(file, materials.size());
    for (const Mat& material : materials) {
        putName(file, "material", 32);
        const std::array<float, 4> black{0, 0, 0, 1};
        for (const auto* colour : {&black, &material.diffuse, &black, &black}) {
            putFloats(file, *colour);
        }
        putFloats(file, std::array<float, 2>{material.shininess, 1.0f}); // and transparency
        file.push_back(0);                                               // mode
        Bytes texture(128, 0);
        for (std::size_t i = 0; i < texture.size() && !material.texture.empty(); ++i) {
            if (i < material.texture.size() || material.fillName) {
                texture[i] =
                    static_cast<std::uint8_t>(material.texture[i % material.texture.size()]);
            }
        }
        file.insert(file.end(), texture.begin(), texture.end());
        putName(file, material.alphaMap.c_str(), 128);
    }
    file.insert(file.end(), trailing.begin(), trailing.end());
    return file;
}

} // namespace assettest
