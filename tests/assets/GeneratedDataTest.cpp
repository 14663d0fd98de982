// The generated art as the game will meet it: every model and texture in the run directory
// loads through the game's own readers, and textures have power-of-two sides.
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

std::string extensionOf(const std::string& path) {
    std::string ext = path.substr(path.rfind('.') + 1);
    std::transform(ext.begin(), ext.end(), ext.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return ext;
}

// Decodes a file the way the game picks its reader: by the extension.
std::optional<PixelImage> loadImage(const std::string& path) {
    auto bytes = readFileBytes(path.c_str());
    const std::string ext = extensionOf(path);
    if (!bytes) {
        return std::nullopt;
    }
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

std::optional<Ms3dContents> loadModel(const std::string& path) {
    auto bytes = readFileBytes(path.c_str());
    return bytes ? readMs3d(bytes->data(), bytes->size()) : std::nullopt;
}

bool isPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

} // namespace

TEST(GeneratedData, EveryModelLoadsWithLitPartsAndTexturesOfEveryFormat) {
    std::set<std::string> formats;
    for (const char* path :
         {"data/model/semmel.ms3d", "data/model/asteroid.ms3d", "data/model/bonus2.ms3d",
          "data/model/knacker.ms3d", "data/model/fugenmasse.ms3d", "data/model/wurst.ms3d"}) {
        SCOPED_TRACE(path);
        auto model = loadModel(path);
        ASSERT_TRUE(model);
        ASSERT_FALSE(model->groups.empty());
        for (const Group& g : model->groups) {
            EXPECT_FALSE(g.triangleIndices.empty());
            EXPECT_GE(g.materialIndex, 0) << "every part has its material";
        }
        // Unit-length normals on every corner, so every drawing path lights the model alike.
        for (const Triangle& t : model->triangles) {
            for (const auto& n : t.normals) {
                ASSERT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 1e-3f);
            }
        }
        for (const Material& m : model->materials) {
            if (!m.textureFile.empty()) {
                SCOPED_TRACE(m.textureFile);
                EXPECT_EQ(m.textureFile.rfind("data/texture/", 0), 0u) << "relative to the run dir";
                EXPECT_TRUE(loadImage(m.textureFile));
                formats.insert(extensionOf(m.textureFile));
            }
        }
    }
    EXPECT_EQ(formats, (std::set<std::string>{"bmp", "jpg", "tga"}));
}

TEST(GeneratedData, EveryTextureLoadsWithPowerOfTwoSides) {
    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("data/texture")) {
        const std::string path = "data/texture/" + entry.path().filename().string();
        SCOPED_TRACE(path);
        auto image = loadImage(path);
        ASSERT_TRUE(image);
        EXPECT_TRUE(isPowerOfTwo(image->width) && isPowerOfTwo(image->height));
        ++count;
    }
    EXPECT_GE(count, 8);
}
