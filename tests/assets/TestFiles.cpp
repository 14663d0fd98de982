// Byte-level builders for BMP, TGA, JPEG and MS3D test files.
#include "tests/assets/TestFiles.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <fstream>

#include <jpeglib.h>

namespace assettest {

void putU16(Bytes& out, unsigned value) {
    out.push_back(static_cast<std::uint8_t>(value & 0xFF));
    out.push_back(static_cast<std::uint8_t>((value >> 8) & 0xFF));
}

void putU32(Bytes& out, std::uint32_t value) {
    putU16(out, value & 0xFFFF);
    putU16(out, value >> 16);
}

void putFloat(Bytes& out, float value) {
    std::uint32_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    putU32(out, bits);
}

Bytes makeBmp(const BmpLayout& layout, const Bytes& storedPixels) {
    Bytes header;
    if (layout.coreHeader) {
        putU32(header, 12);
        putU16(header, static_cast<unsigned>(layout.width));
        putU16(header, static_cast<unsigned>(layout.height));
        putU16(header, static_cast<unsigned>(layout.planes));
        putU16(header, static_cast<unsigned>(layout.bits));
    } else {
        putU32(header, 40);
        putU32(header, static_cast<std::uint32_t>(layout.width));
        putU32(header, static_cast<std::uint32_t>(layout.height));
        putU16(header, static_cast<unsigned>(layout.planes));
        putU16(header, static_cast<unsigned>(layout.bits));
        putU32(header, layout.compression);
        putU32(header, static_cast<std::uint32_t>(storedPixels.size()));
        putU32(header, 2835); // 72 dpi
        putU32(header, 2835);
        putU32(header, layout.coloursUsed);
        putU32(header, 0);
        for (std::uint32_t mask : layout.masks) {
            putU32(header, mask);
        }
    }
    for (const auto& entry : layout.palette) {
        header.push_back(entry[2]);
        header.push_back(entry[1]);
        header.push_back(entry[0]);
        if (!layout.coreHeader) {
            header.push_back(0);
        }
    }
    Bytes file;
    if (layout.fileHeader) {
        const std::uint32_t offset = static_cast<std::uint32_t>(14 + header.size());
        file = {'B', 'M'};
        putU32(file, static_cast<std::uint32_t>(offset + storedPixels.size()));
        putU32(file, 0);
        putU32(file, offset);
    }
    file.insert(file.end(), header.begin(), header.end());
    file.insert(file.end(), storedPixels.begin(), storedPixels.end());
    return file;
}

Bytes bmpRows24(int width, int height, const Bytes& rgbBottomUp) {
    Bytes rows;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            const std::size_t i = (static_cast<std::size_t>(y) * width + x) * 3;
            rows.push_back(rgbBottomUp[i + 2]);
            rows.push_back(rgbBottomUp[i + 1]);
            rows.push_back(rgbBottomUp[i]);
        }
        while (rows.size() % 4 != 0) {
            rows.push_back(0);
        }
    }
    return rows;
}

Bytes makeTga(int imageType, int width, int height, int bitsPerPixel, const Bytes& body) {
    Bytes file = {0, 0, static_cast<std::uint8_t>(imageType), 0, 0, 0, 0, 0, 0, 0, 0, 0};
    putU16(file, static_cast<unsigned>(width));
    putU16(file, static_cast<unsigned>(height));
    file.push_back(static_cast<std::uint8_t>(bitsPerPixel));
    file.push_back(0);
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
    Tri first;
    first.vertices = {0, 1, 2};
    first.s = {0, 1, 1};
    first.t = {1, 1, 0};
    Tri second;
    second.vertices = {0, 2, 3};
    second.s = {0, 1, 0};
    second.t = {1, 0, 0};
    model.triangles = {first, second};
    Grp group;
    group.triangles = {0, 1};
    group.material = 0;
    model.groups = {group};
    Mat material;
    material.texture = texture;
    model.materials = {material};
    return model;
}

Bytes Ms3dBuilder::build() const {
    Bytes file(identifier.begin(), identifier.end());
    putU32(file, static_cast<std::uint32_t>(version));
    putU16(file, static_cast<unsigned>(vertices.size()));
    for (const auto& vertex : vertices) {
        file.push_back(0); // flags
        for (float coordinate : vertex) {
            putFloat(file, coordinate);
        }
        file.push_back(0xFF); // bone
        file.push_back(1);    // reference count
    }
    putU16(file, static_cast<unsigned>(triangles.size()));
    for (const Tri& triangle : triangles) {
        putU16(file, 0);
        for (std::uint16_t index : triangle.vertices) {
            putU16(file, index);
        }
        for (float n : triangle.normals) {
            putFloat(file, n);
        }
        for (float s : triangle.s) {
            putFloat(file, s);
        }
        for (float t : triangle.t) {
            putFloat(file, t);
        }
        file.push_back(1); // smoothing group
        file.push_back(0); // group index
    }
    putU16(file, static_cast<unsigned>(groups.size()));
    for (const Grp& group : groups) {
        file.push_back(0);
        Bytes name(32, 0);
        std::memcpy(name.data(), "group", 5);
        file.insert(file.end(), name.begin(), name.end());
        putU16(file, static_cast<unsigned>(group.triangles.size()));
        for (std::uint16_t index : group.triangles) {
            putU16(file, index);
        }
        file.push_back(group.material);
    }
    putU16(file, static_cast<unsigned>(materials.size()));
    for (const Mat& material : materials) {
        Bytes name(32, 0);
        std::memcpy(name.data(), "material", 8);
        file.insert(file.end(), name.begin(), name.end());
        for (const auto* colour :
             {&material.ambient, &material.diffuse, &material.specular, &material.emissive}) {
            for (float c : *colour) {
                putFloat(file, c);
            }
        }
        putFloat(file, material.shininess);
        putFloat(file, 1.0f); // transparency
        file.push_back(0);    // mode
        Bytes texture(128, 0);
        for (std::size_t i = 0; i < texture.size(); ++i) {
            if (i < material.texture.size()) {
                texture[i] = static_cast<std::uint8_t>(material.texture[i]);
            } else if (material.fillName && !material.texture.empty()) {
                texture[i] =
                    static_cast<std::uint8_t>(material.texture[i % material.texture.size()]);
            }
        }
        file.insert(file.end(), texture.begin(), texture.end());
        Bytes alphaMap(128, 0);
        file.insert(file.end(), alphaMap.begin(), alphaMap.end());
    }
    file.insert(file.end(), trailing.begin(), trailing.end());
    return file;
}

TempDir::TempDir() {
    std::string pattern =
        (std::filesystem::temp_directory_path() / "ombrelix-assets-XXXXXX").string();
    if (mkdtemp(pattern.data()) != nullptr) {
        path_ = pattern;
    }
}

TempDir::~TempDir() {
    if (!path_.empty()) {
        std::error_code ignored;
        std::filesystem::remove_all(path_, ignored);
    }
}

std::string TempDir::write(const std::string& name, const Bytes& bytes) const {
    const std::string file = path_ + "/" + name;
    std::ofstream out(file, std::ios::binary);
    out.write(reinterpret_cast<const char*>(bytes.data()),
              static_cast<std::streamsize>(bytes.size()));
    return file;
}

} // namespace assettest
