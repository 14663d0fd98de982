// Small image and model files built byte by byte for the asset tests and the fuzz seeds: every
// header field is spelled out, so a test can break exactly the one it is about.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <vector>

namespace assettest {

using Bytes = std::vector<std::uint8_t>;

// A BMP as its fields say; the pixel bytes are given exactly as stored (rows padded).
struct BmpLayout {
    int width = 1;
    int height = 1; // negative: rows stored top row first
    int bits = 24;
    bool fileHeader = true; // the 14-byte "BM" header in front
    std::uint32_t compression = 0;
    std::uint32_t coloursUsed = 0;
    std::vector<std::uint32_t> masks;                 // bit-field masks after the info header
    std::vector<std::array<std::uint8_t, 3>> palette; // R, G, B per entry
};
Bytes makeBmp(const BmpLayout& layout, const Bytes& storedPixels);

// The 18-byte TGA header of a plain type 2 or type 10 file, then the body as given.
Bytes makeTga(int imageType, int width, int height, int bitsPerPixel, const Bytes& body);

// A baseline JPEG through libjpeg. components: 1 (grey), 3 (RGB) or 4 (CMYK); pixels top row
// first.
Bytes makeJpeg(int width, int height, int components, const Bytes& pixelsTopDown,
               int quality = 100);

// A MilkShape 3D file, record by record.
struct Ms3dBuilder {
    struct Tri {
        std::array<std::uint16_t, 3> vertices{0, 0, 0};
        std::array<float, 3> s{0, 0, 0};
        std::array<float, 3> t{0, 0, 0}; // as stored in the file
        std::array<float, 9> normals{0, 0, 1, 0, 0, 1, 0, 0, 1};
    };
    struct Grp {
        std::vector<std::uint16_t> triangles;
        std::uint8_t material = 0xFF;
    };
    struct Mat {
        std::array<float, 4> diffuse{0.8f, 0.8f, 0.8f, 1}; // ambient, specular, emissive: black
        float shininess = 0;
        std::string texture;   // written into the 128-byte field
        bool fillName = false; // fill the whole field with the name repeated, no NUL
        std::string alphaMap;  // the next field, which the game does not read
    };

    std::string identifier = "MS3D000000";
    std::int32_t version = 4;
    std::vector<std::array<float, 3>> vertices;
    std::vector<Tri> triangles;
    std::vector<Grp> groups;
    std::vector<Mat> materials;
    Bytes trailing;

    // One textured quad: four vertices, two triangles, one group on material 0 (if any).
    static Ms3dBuilder quad(const std::string& texture);
    Bytes build() const;
};

} // namespace assettest
