// Writes small valid BMP, TGA, JPEG and MS3D files into <dir>/<format>/ as fuzzing seeds.
#include "tests/assets/TestFiles.h"

#include <cstdio>
#include <filesystem>

using assettest::BmpLayout;
using assettest::Bytes;
using assettest::makeBmp;
using assettest::makeJpeg;
using assettest::makeTga;
using assettest::Ms3dBuilder;

namespace {

Bytes gradient(int width, int height, int components) {
    Bytes pixels;
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            for (int c = 0; c < components; ++c) {
                pixels.push_back(static_cast<std::uint8_t>(x * 16 + y * 8 + c * 60));
            }
        }
    }
    return pixels;
}

BmpLayout withPalette(int bits, int width, int height) {
    BmpLayout layout;
    layout.bits = bits;
    layout.width = width;
    layout.height = height;
    for (int i = 0; i < (1 << bits); ++i) {
        layout.palette.push_back({{static_cast<std::uint8_t>(i * 7), static_cast<std::uint8_t>(i),
                                   static_cast<std::uint8_t>(255 - i)}});
    }
    return layout;
}

} // namespace

int main(int argc, char** argv) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: %s <seed directory>\n", argv[0]);
        return 2;
    }
    const std::filesystem::path root = argv[1];
    for (const char* format : {"bmp", "tga", "jpeg", "ms3d"}) {
        std::filesystem::create_directories(root / format);
    }
    auto write = [&](const char* format, const char* name, const Bytes& bytes) {
        FILE* file = std::fopen((root / format / name).c_str(), "wb");
        if (file != nullptr) {
            std::fwrite(bytes.data(), 1, bytes.size(), file);
            std::fclose(file);
        }
    };

    BmpLayout rgb;
    rgb.width = 3;
    rgb.height = 2;
    write("bmp", "rgb24.bmp", makeBmp(rgb, assettest::bmpRows24(3, 2, gradient(3, 2, 3))));
    BmpLayout topDown = rgb;
    topDown.height = -2;
    topDown.bits = 32;
    write("bmp", "topdown32.bmp", makeBmp(topDown, gradient(3, 2, 4)));
    BmpLayout fields;
    fields.bits = 16;
    fields.width = 2;
    fields.compression = 3;
    fields.masks = {0xF800, 0x07E0, 0x001F};
    write("bmp", "rgb565.bmp", makeBmp(fields, {0x1F, 0xF8, 0xE0, 0x07}));
    BmpLayout bare = withPalette(8, 3, 1);
    bare.fileHeader = false;
    write("bmp", "bare8.bmp", makeBmp(bare, {1, 2, 3, 0}));
    BmpLayout core = withPalette(1, 9, 2);
    core.coreHeader = true;
    write("bmp", "core1.bmp", makeBmp(core, {0xAA, 0x80, 0, 0, 0x55, 0, 0, 0}));
    BmpLayout rle8 = withPalette(8, 4, 2);
    rle8.compression = 1;
    write("bmp", "rle8.bmp", makeBmp(rle8, {2, 5, 0, 3, 1, 2, 3, 0, 0, 0, 0, 2, 1, 0, 1, 9, 0, 1}));
    BmpLayout rle4 = withPalette(4, 5, 1);
    rle4.compression = 2;
    write("bmp", "rle4.bmp", makeBmp(rle4, {5, 0x12, 0, 1}));

    write("tga", "raw24.tga", makeTga(2, 2, 2, 24, gradient(2, 2, 3)));
    write("tga", "raw32.tga", makeTga(2, 1, 1, 32, {1, 2, 3, 4}));
    write("tga", "rle24.tga", makeTga(10, 3, 2, 24, {0x83, 0, 0, 255, 0x01, 0, 255, 0, 255, 0, 0}));
    write("tga", "rle32.tga", makeTga(10, 2, 2, 32, {0x00, 1, 2, 3, 4, 0x82, 5, 6, 7, 8}));

    write("jpeg", "rgb.jpg", makeJpeg(16, 8, 3, gradient(16, 8, 3), 75));
    write("jpeg", "grey.jpg", makeJpeg(8, 8, 1, gradient(8, 8, 1), 50));

    write("ms3d", "quad.ms3d", Ms3dBuilder::quad("data/texture/tex.bmp").build());
    Ms3dBuilder twoMaterials = Ms3dBuilder::quad("a.tga");
    twoMaterials.materials.push_back(twoMaterials.materials[0]);
    twoMaterials.groups.push_back({{1}, 0xFF});
    twoMaterials.version = 3;
    twoMaterials.trailing = {1, 0, 0, 0, 0, 0, 0, 0};
    write("ms3d", "two-materials.ms3d", twoMaterials.build());
    return 0;
}
