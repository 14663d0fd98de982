// The generated art as the game will meet it: every model and texture in the run directory's
// data/ loads through the game's own readers, has the size and look its element needs, and the
// cockpit and message overlays line up with the instruments drawn over them.
#include "assets/BmpReader.h"
#include "assets/FileReader.h"
#include "assets/JpegReader.h"
#include "assets/Ms3dReader.h"
#include "assets/TgaReader.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>
#include <set>
#include <string>

namespace {

std::optional<Ms3dContents> loadModel(const std::string& path) {
    auto bytes = readFileBytes(path.c_str());
    if (!bytes) {
        return std::nullopt;
    }
    return readMs3d(bytes->data(), bytes->size());
}

std::string extensionOf(const std::string& path) {
    std::string ext = path.substr(path.rfind('.') + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// Decodes a texture the way ObjectTexture picks its reader: by the extension.
std::optional<PixelImage> loadImage(const std::string& path) {
    auto bytes = readFileBytes(path.c_str());
    if (!bytes) {
        return std::nullopt;
    }
    const std::string ext = extensionOf(path);
    if (ext == "bmp") {
        return readBmp(bytes->data(), bytes->size());
    }
    if (ext == "tga") {
        return readTga(bytes->data(), bytes->size()).image;
    }
    if (ext == "jpg" || ext == "jpeg") {
        return readJpeg(bytes->data(), bytes->size()).image;
    }
    return std::nullopt;
}

bool isPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

struct Texel {
    int r, g, b, a;
};

Texel texel(const PixelImage& image, int x, int y) {
    const std::uint8_t* p =
        &image.pixels[static_cast<std::size_t>((y * image.width + x) * image.channels)];
    return {p[0], p[1], p[2], image.channels == 4 ? p[3] : 255};
}

struct Extent {
    float min[3] = {1e30f, 1e30f, 1e30f};
    float max[3] = {-1e30f, -1e30f, -1e30f};
    float maxRadius = 0;
    float meanRadius = 0;

    float size(int axis) const { return max[axis] - min[axis]; }
};

Extent extentOf(const Ms3dContents& model) {
    Extent e;
    for (const Vertex& v : model.vertices) {
        float r2 = 0;
        for (int i = 0; i < 3; ++i) {
            e.min[i] = std::min(e.min[i], v.position[i]);
            e.max[i] = std::max(e.max[i], v.position[i]);
            r2 += v.position[i] * v.position[i];
        }
        e.maxRadius = std::max(e.maxRadius, std::sqrt(r2));
        e.meanRadius += std::sqrt(r2);
    }
    e.meanRadius /= static_cast<float>(std::max<std::size_t>(1, model.vertices.size()));
    return e;
}

bool glows(const Material& m) {
    return m.emissive[0] + m.emissive[1] + m.emissive[2] > 0.5f;
}

const char* const kModels[] = {"data/model/semmel.ms3d",     "data/model/asteroid.ms3d",
                               "data/model/bonus2.ms3d",     "data/model/knacker.ms3d",
                               "data/model/fugenmasse.ms3d", "data/model/wurst.ms3d"};

} // namespace

TEST(GeneratedModels, EveryModelIsAVersionFourFileWithSeveralTexturedAndLitParts) {
    for (const char* path : kModels) {
        SCOPED_TRACE(path);
        auto bytes = readFileBytes(path);
        ASSERT_TRUE(bytes) << "missing";
        ASSERT_GE(bytes->size(), 14u);
        EXPECT_EQ((*bytes)[10], 4) << "version";
        auto model = readMs3d(bytes->data(), bytes->size());
        ASSERT_TRUE(model);
        EXPECT_GE(model->groups.size(), 2u);
        EXPECT_GE(model->materials.size(), 2u);
        for (const Group& g : model->groups) {
            EXPECT_FALSE(g.triangleIndices.empty());
            EXPECT_GE(g.materialIndex, 0) << "every part has its material";
        }
        // Outward-facing, unit-length normals on every corner, so every drawing path lights the
        // model the same way.
        int badNormals = 0;
        for (const Triangle& t : model->triangles) {
            for (const auto& n : t.normals) {
                float len = std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]);
                badNormals += std::fabs(len - 1.0f) > 1e-3f;
            }
        }
        EXPECT_EQ(badNormals, 0);
    }
}

TEST(GeneratedModels, MaterialTexturesExistAndLoadAsPowerOfTwoImagesOfEveryFormat) {
    std::set<std::string> formats;
    int untextured = 0;
    for (const char* path : kModels) {
        SCOPED_TRACE(path);
        auto model = loadModel(path);
        ASSERT_TRUE(model);
        for (const Material& m : model->materials) {
            if (m.textureFile.empty()) {
                ++untextured;
                continue;
            }
            SCOPED_TRACE(m.textureFile);
            EXPECT_EQ(m.textureFile.rfind("data/texture/", 0), 0u) << "relative to the run dir";
            auto image = loadImage(m.textureFile);
            ASSERT_TRUE(image);
            EXPECT_TRUE(isPowerOfTwo(image->width) && isPowerOfTwo(image->height));
            EXPECT_GE(image->width, 64);
            EXPECT_LE(image->width, 256);
            formats.insert(extensionOf(m.textureFile));
        }
    }
    EXPECT_EQ(formats, (std::set<std::string>{"bmp", "jpg", "tga"}));
    EXPECT_GT(untextured, 0) << "some materials exercise the untextured path";
}

TEST(GeneratedModels, TheFighterIsSeventyLongFitsItsShieldAndGlowsAtTheRear) {
    auto model = loadModel("data/model/semmel.ms3d");
    ASSERT_TRUE(model);
    Extent e = extentOf(*model);
    EXPECT_GE(e.size(2), 60.0f);
    EXPECT_LE(e.size(2), 80.0f);
    EXPECT_LE(e.maxRadius, 40.0f) << "inside the collision radius";
    EXPECT_GT(e.size(0), e.size(1)) << "wider than tall: it has wings";
    // The exhausts: every vertex of a glowing group lies behind the middle (-z).
    bool foundExhaust = false;
    for (const Group& g : model->groups) {
        const Material& m = model->materials[static_cast<std::size_t>(g.materialIndex)];
        if (!glows(m) || m.emissive[0] < 0.9f || m.emissive[1] < 0.4f) {
            continue; // the navigation lights glow red or green
        }
        foundExhaust = true;
        for (int ti : g.triangleIndices) {
            for (int vi : model->triangles[static_cast<std::size_t>(ti)].vertexIndices) {
                EXPECT_LT(model->vertices[static_cast<std::size_t>(vi)].position[2], -20.0f);
            }
        }
    }
    EXPECT_TRUE(foundExhaust);
}

TEST(GeneratedModels, RocksCrystalsAndArmourHaveTheirSizes) {
    auto asteroid = loadModel("data/model/asteroid.ms3d");
    ASSERT_TRUE(asteroid);
    Extent rock = extentOf(*asteroid);
    EXPECT_NEAR(rock.meanRadius, 3.5f, 0.5f);
    EXPECT_LT(rock.maxRadius, 5.0f);
    EXPECT_GT(rock.maxRadius - rock.meanRadius, 0.3f) << "lumpy, not a ball";

    auto bonus = loadModel("data/model/bonus2.ms3d");
    ASSERT_TRUE(bonus);
    Extent crystal = extentOf(*bonus);
    float largest = std::max({crystal.size(0), crystal.size(1), crystal.size(2)});
    EXPECT_GE(largest, 8.0f);
    EXPECT_LE(largest, 12.0f);
    EXPECT_TRUE(std::any_of(bonus->materials.begin(), bonus->materials.end(), glows));

    auto knacker = loadModel("data/model/knacker.ms3d");
    ASSERT_TRUE(knacker);
    Extent block = extentOf(*knacker);
    for (int axis = 0; axis < 3; ++axis) {
        EXPECT_GE(block.size(axis), 7.0f);
        EXPECT_LE(block.size(axis), 11.0f);
    }
    EXPECT_LE(block.maxRadius * 6.0f, 50.0f) << "scaled by 6 it stays inside its radius of 50";
}

TEST(GeneratedModels, ShotsAreThinGlowingBoltsAlongTheirFlight) {
    auto bolt = loadModel("data/model/fugenmasse.ms3d");
    ASSERT_TRUE(bolt);
    Extent laser = extentOf(*bolt);
    EXPECT_NEAR(laser.size(2), 15.0f, 1.0f);
    EXPECT_LT(laser.size(0), 2.0f);
    EXPECT_LT(laser.size(1), 2.0f);
    EXPECT_TRUE(std::all_of(bolt->materials.begin(), bolt->materials.end(), glows));

    auto sausage = loadModel("data/model/wurst.ms3d");
    ASSERT_TRUE(sausage);
    Extent wurst = extentOf(*sausage);
    EXPECT_GE(wurst.size(2), 12.0f);
    EXPECT_LE(wurst.size(2), 15.0f);
    EXPECT_LT(wurst.size(0), wurst.size(2) / 3) << "long and thin along z";
    const Material& skin =
        sausage->materials[static_cast<std::size_t>(sausage->groups[0].materialIndex)];
    EXPECT_TRUE(glows(skin));
    EXPECT_GT(skin.emissive[0], 2 * skin.emissive[1]) << "reddish";
    EXPECT_GT(skin.emissive[0], 2 * skin.emissive[2]);
}

TEST(GeneratedTextures, EveryTextureLoadsWithPowerOfTwoSides) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("data/texture")) {
        const std::string path = "data/texture/" + entry.path().filename().string();
        SCOPED_TRACE(path);
        auto image = loadImage(path);
        ASSERT_TRUE(image);
        EXPECT_TRUE(isPowerOfTwo(image->width));
        EXPECT_TRUE(isPowerOfTwo(image->height));
        ++count;
    }
    EXPECT_GE(count, 8);
}

TEST(GeneratedTextures, TheStarSkyIsMostlyDarkWithBrightAndColouredStars) {
    auto sky = loadImage("data/texture/sterne.bmp");
    ASSERT_TRUE(sky);
    EXPECT_EQ(sky->width, 512);
    EXPECT_EQ(sky->height, 512);
    int dark = 0, bright = 0, tinted = 0;
    for (int y = 0; y < sky->height; ++y) {
        for (int x = 0; x < sky->width; ++x) {
            Texel t = texel(*sky, x, y);
            int peak = std::max({t.r, t.g, t.b});
            dark += peak < 40;
            bright += peak > 200;
            tinted += peak > 120 && (std::abs(t.r - t.b) > 40);
        }
    }
    const int all = sky->width * sky->height;
    EXPECT_GT(dark, all * 8 / 10);
    EXPECT_GT(bright, 300);
    EXPECT_GT(tinted, 20);
}

TEST(GeneratedTextures, TheSmokePuffFadesToNothingAtItsEdges) {
    auto smoke = loadImage("data/texture/smoke.tga");
    ASSERT_TRUE(smoke);
    ASSERT_EQ(smoke->channels, 4);
    EXPECT_EQ(smoke->width, 128);
    EXPECT_EQ(smoke->height, 128);
    for (int x : {0, 127}) {
        for (int y : {0, 127}) {
            EXPECT_EQ(texel(*smoke, x, y).a, 0);
        }
    }
    for (int i = 0; i < 128; ++i) {
        EXPECT_EQ(texel(*smoke, i, 0).a, 0);
        EXPECT_EQ(texel(*smoke, 0, i).a, 0);
    }
    Texel middle = texel(*smoke, 64, 64);
    EXPECT_GT(middle.a, 160);
    EXPECT_GT(middle.r, 170) << "greyish white";
    EXPECT_LT(std::abs(middle.r - middle.g), 12);
}

namespace {

// The cockpit texel that covers a window pixel (x, y) from the bottom-left of 1024 x 768.
Texel cockpitAt(const PixelImage& cockpit, float x, float y) {
    int col = std::min(cockpit.width - 1, static_cast<int>(x / 1024.0f * cockpit.width));
    int row = std::min(cockpit.height - 1, static_cast<int>(y / 768.0f * cockpit.height));
    return texel(cockpit, col, row);
}

} // namespace

TEST(GeneratedTextures, TheCockpitFramesTheViewAndCarriesTheInstruments) {
    auto cockpit = loadImage("data/texture/cokpit.tga");
    ASSERT_TRUE(cockpit);
    ASSERT_EQ(cockpit->channels, 4);
    EXPECT_EQ(cockpit->width, 1024);
    EXPECT_TRUE(cockpit->height == 1024 || cockpit->height == 512);

    // The instruments are drawn at texture coordinate (0, 1), which wraps to this texel.
    Texel corner = texel(*cockpit, 0, 0);
    EXPECT_EQ(corner.r, 255);
    EXPECT_EQ(corner.g, 255);
    EXPECT_EQ(corner.b, 255);
    EXPECT_EQ(corner.a, 255);

    // Opaque, dark scope faces under the radar dots and a dark slot under the energy bar.
    for (float sx : {234.0f, 790.0f}) {
        for (float dx : {-40.0f, 0.0f, 30.0f}) {
            Texel face = cockpitAt(*cockpit, sx + dx, 72.0f + dx / 2);
            EXPECT_EQ(face.a, 255);
            EXPECT_LT(std::max({face.r, face.g, face.b}), 80);
        }
    }
    for (float x : {370.0f, 508.0f, 645.0f}) {
        Texel slot = cockpitAt(*cockpit, x, 80.0f);
        EXPECT_EQ(slot.a, 255);
        EXPECT_LT(std::max({slot.r, slot.g, slot.b}), 40);
    }

    // The canopy: the crosshair and nearly the whole view above the dashboard show the world.
    EXPECT_LE(cockpitAt(*cockpit, 512, 384).a, 26);
    int clear = 0, total = 0;
    for (float y = 220; y < 740; y += 4) {
        for (float x = 140; x < 884; x += 4) {
            clear += cockpitAt(*cockpit, x, y).a <= 26;
            ++total;
        }
    }
    EXPECT_GT(clear, total * 95 / 100);
    // Dashboard along the bottom edge, frame along the top.
    EXPECT_EQ(cockpitAt(*cockpit, 512, 5).a, 255);
    EXPECT_EQ(cockpitAt(*cockpit, 512, 765).a, 255);
}

TEST(GeneratedTextures, TheInfoTextureHoldsOneMessagePerHalfOnAClearBackground) {
    auto info = loadImage("data/texture/info.tga");
    ASSERT_TRUE(info);
    ASSERT_EQ(info->channels, 4);
    ASSERT_TRUE(isPowerOfTwo(info->width) && isPowerOfTwo(info->height));
    const int half = info->height / 2;

    // White texels where the instruments sample the texture after a message.
    for (int row : {0, half}) {
        Texel t = texel(*info, 0, row);
        EXPECT_EQ(t.a, 255) << "row " << row;
        EXPECT_EQ(std::min({t.r, t.g, t.b}), 255) << "row " << row;
    }

    // Letters in both halves, inside the halves' middles; transparent around them.
    auto opaqueIn = [&](int firstRow, int lastRow) {
        int n = 0;
        for (int y = firstRow; y <= lastRow; ++y) {
            for (int x = 2; x < info->width - 2; ++x) {
                n += texel(*info, x, y).a > 26;
            }
        }
        return n;
    };
    const int rowPixels = info->width - 4;
    EXPECT_GT(opaqueIn(2, half - 3), rowPixels * half / 20) << "LEVEL COMPLETE";
    EXPECT_GT(opaqueIn(half + 2, info->height - 3), rowPixels * half / 20) << "GAME OVER";
    const int transparentRows = 3;
    EXPECT_EQ(opaqueIn(2, 2 + transparentRows), 0) << "clear margin below the first message";
    EXPECT_EQ(opaqueIn(half + 2, half + 2 + transparentRows), 0);
    EXPECT_EQ(texel(*info, info->width / 2, half - 2).a, 0);
    EXPECT_EQ(texel(*info, 5, info->height - 5).a, 0);
}

TEST(GeneratedFuzzSeeds, SeedsAreSmallAndLoadThroughTheirReaders) {
    std::set<int> ms3dVersions;
    for (const char* kind : {"bmp", "tga", "jpeg", "ms3d"}) {
        int files = 0;
        for (const auto& entry :
             std::filesystem::directory_iterator(std::string("fuzz-seeds/") + kind)) {
            const std::string path = entry.path().string();
            SCOPED_TRACE(path);
            auto bytes = readFileBytes(path.c_str());
            ASSERT_TRUE(bytes);
            EXPECT_LT(bytes->size(), 2048u);
            if (std::string(kind) == "ms3d") {
                EXPECT_TRUE(readMs3d(bytes->data(), bytes->size()));
                ms3dVersions.insert((*bytes)[10]);
            } else {
                EXPECT_TRUE(loadImage(path));
            }
            ++files;
        }
        EXPECT_GE(files, 3) << kind;
    }
    EXPECT_EQ(ms3dVersions, (std::set<int>{3, 4}));
}
