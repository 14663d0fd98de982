// Fuzz seed files: every BMP header and depth variant, TGA types 2 and 10 in both depths, colour
// and grey JPEGs, and MS3D files of versions 3 and 4 with one or two triangles.
#include "tools/datagen/FuzzSeeds.h"

#include "tools/datagen/BmpWriter.h"
#include "tools/datagen/ByteSink.h"
#include "tools/datagen/Canvas.h"
#include "tools/datagen/JpegWriter.h"
#include "tools/datagen/ModelMaterials.h"
#include "tools/datagen/Ms3dWriter.h"
#include "tools/datagen/TgaWriter.h"

#include <cmath>

namespace {

// A small image with at most `colours` distinct colours: diagonal stripes over a gradient.
PixelImage sample(int width, int height, int colours, bool alpha) {
    Canvas canvas(width, height);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) {
            int k = (x + 2 * y) % colours;
            float t = colours > 1 ? static_cast<float>(k) / static_cast<float>(colours - 1) : 0.0f;
            canvas.at(x, y) = {t, 1.0f - t, 0.5f * t + 0.25f, alpha ? 0.25f + 0.75f * t : 1.0f};
        }
    }
    return canvas.toImage(alpha ? 4 : 3);
}

bool saveBmp(const std::string& path, const PixelImage& image, const BmpOptions& options) {
    auto bytes = encodeBmp(image, options);
    return bytes && saveFile(path, *bytes);
}

Mesh oneTriangle(float offset) {
    Mesh mesh;
    int a = mesh.addVertex({offset, 0, 0});
    int b = mesh.addVertex({offset + 1, 0, 0});
    int c = mesh.addVertex({offset, 1, 0});
    mesh.addTriangle(a, b, c, 0, 0, 1, 0, 0, 1);
    mesh.computeNormals(45);
    return mesh;
}

} // namespace

bool writeFuzzSeeds(const std::string& runDir) {
    const std::string root = runDir + "/fuzz-seeds/";
    bool ok = true;

    const std::string bmp = root + "bmp/";
    BmpOptions pal1{1, false, true}, pal4{4, false, true}, pal8{8, false, true};
    ok = saveBmp(bmp + "palette1.bmp", sample(9, 5, 2, false), pal1) && ok;
    ok = saveBmp(bmp + "palette4.bmp", sample(7, 6, 12, false), pal4) && ok;
    ok = saveBmp(bmp + "palette8.bmp", sample(8, 8, 40, false), pal8) && ok;
    ok = saveBmp(bmp + "core8.bmp", sample(6, 4, 20, false), {8, true, true}) && ok;
    ok = saveBmp(bmp + "core24.bmp", sample(5, 3, 15, false), {24, true, true}) && ok;
    ok = saveBmp(bmp + "rgb24.bmp", sample(5, 3, 15, false), {24, false, true}) && ok;
    ok = saveBmp(bmp + "rgb32.bmp", sample(4, 4, 16, true), {32, false, true}) && ok;
    ok = saveBmp(bmp + "bare-info-header24.bmp", sample(3, 2, 6, false), {24, false, false}) && ok;

    const std::string tga = root + "tga/";
    ok = saveFile(tga + "type2-24.tga", encodeTga(sample(4, 4, 16, false), false)) && ok;
    ok = saveFile(tga + "type2-32.tga", encodeTga(sample(4, 3, 12, true), false)) && ok;
    ok = saveFile(tga + "type10-24.tga", encodeTga(sample(8, 4, 3, false), true)) && ok;
    ok = saveFile(tga + "type10-32.tga", encodeTga(sample(8, 8, 5, true), true)) && ok;
    ok = saveFile(tga + "type10-long-run.tga", encodeTga(sample(128, 2, 1, false), true)) && ok;

    const std::string jpeg = root + "jpeg/";
    ok = writeJpeg(jpeg + "rgb.jpg", sample(8, 8, 8, false), 75) && ok;
    ok = writeJpeg(jpeg + "rgb-wide.jpg", sample(16, 8, 8, false), 60) && ok;
    ok = writeJpeg(jpeg + "grey.jpg", sample(8, 8, 8, false), 75, true) && ok;

    const std::string ms3d = root + "ms3d/";
    {
        Ms3dWriter model;
        int m =
            model.addMaterial(litMaterial("seed", 0.8f, 0.6f, 0.4f, 0.5f, "data/texture/hull.bmp"));
        model.addGroup("one", oneTriangle(0), m);
        ok = model.save(ms3d + "v4-one-triangle.ms3d", 4) && ok;
    }
    {
        Ms3dWriter model;
        int m = model.addMaterial(glowMaterial("seed", 1, 0.5f, 0.2f));
        model.addGroup("first", oneTriangle(0), m);
        model.addGroup("second", oneTriangle(2), m);
        ok = model.save(ms3d + "v3-two-groups.ms3d", 3) && ok;
    }
    {
        Ms3dWriter model; // no material: the group's material byte is 0xFF
        Mesh two = oneTriangle(0);
        two.append(oneTriangle(1));
        model.addGroup("bare", two, -1);
        ok = model.save(ms3d + "v4-no-material.ms3d", 4) && ok;
    }
    return ok;
}
