// The generated art as the game meets it in the run directory: every model loads with a material
// and unit normals on every part and textures of every format; every texture loads with
// power-of-two sides.
#include "assets/Ms3dModel.h"
#include "assets/ObjectTexture.h"
#include "tests/support/GLTestContext.h"

#include <GL/gl.h>

#include <cmath>
#include <filesystem>
#include <set>

namespace {

using GeneratedDataTest = testsupport::GLTest;

bool isPowerOfTwo(int n) {
    return n > 0 && (n & (n - 1)) == 0;
}

} // namespace

TEST_F(GeneratedDataTest, EveryModelAndTextureLoadsTheWayTheGameLoadsIt) {
    std::set<std::string> formats;
    for (const char* path :
         {"data/model/semmel.ms3d", "data/model/asteroid.ms3d", "data/model/bonus2.ms3d",
          "data/model/knacker.ms3d", "data/model/fugenmasse.ms3d", "data/model/wurst.ms3d"}) {
        SCOPED_TRACE(path);
        Ms3dModel model;
        ASSERT_TRUE(model.load(path));
        ASSERT_GT(model.getGroupCount(), 0);
        for (const Group& g : model.groups) {
            EXPECT_FALSE(g.triangleIndices.empty());
            EXPECT_GE(g.materialIndex, 0) << "every part has its material";
        }
        // Unit-length normals on every corner, so every drawing path lights the model alike.
        for (const Triangle& t : model.triangles) {
            for (const auto& n : t.normals) {
                ASSERT_NEAR(std::sqrt(n[0] * n[0] + n[1] * n[1] + n[2] * n[2]), 1.0f, 1e-3f);
            }
        }
        for (const Material& m : model.materials) {
            if (!m.textureFile.empty()) {
                EXPECT_NE(m.texture, 0u) << m.textureFile;
                formats.insert(m.textureFile.substr(m.textureFile.rfind('.') + 1));
            }
        }
    }
    EXPECT_EQ(formats, (std::set<std::string>{"bmp", "jpg", "tga"}));

    int count = 0;
    for (const auto& entry : std::filesystem::directory_iterator("data/texture")) {
        const std::string path = "data/texture/" + entry.path().filename().string();
        unsigned texture = ObjectTexture::LoadTexture(path.c_str(), kFilterPoint);
        ASSERT_NE(texture, 0u) << path;
        GLint width = 0, height = 0;
        glBindTexture(GL_TEXTURE_2D, texture);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_WIDTH, &width);
        glGetTexLevelParameteriv(GL_TEXTURE_2D, 0, GL_TEXTURE_HEIGHT, &height);
        EXPECT_TRUE(isPowerOfTwo(width) && isPowerOfTwo(height)) << path;
        glDeleteTextures(1, &texture);
        ++count;
    }
    EXPECT_GE(count, 8);
}
