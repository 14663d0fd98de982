// Loading MilkShape 3D models on a real GL context: the geometry arrives, each material gets its
// texture from a BMP, TGA or JPEG file with the container's filter, and bad files leave an empty
// model without a word.
#include "assets/Ms3dModel.h"
#include "assets/ObjectTexture.h"
#include "platform/Platform.h"
#include "tests/assets/TestFiles.h"
#include "tests/support/GLTestContext.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>

using assettest::Bytes;
using assettest::Ms3dBuilder;

namespace {

class Ms3dModelTest : public testsupport::GLTest {
protected:
    void SetUp() override {
        GLTest::SetUp();
        capture = std::make_unique<testsupport::MessageBoxCapture>();
    }
    void TearDown() override {
        capture.reset();
        ElementContainer::getInstance()->iTextureFilter = kFilterPoint;
        GLTest::TearDown();
    }

    // A model with one group per material, the materials naming the given texture files.
    std::string writeModel(const std::vector<std::string>& textures) {
        Ms3dBuilder model = Ms3dBuilder::quad("");
        model.materials.clear();
        model.groups.clear();
        for (std::size_t i = 0; i < textures.size(); ++i) {
            Ms3dBuilder::Mat material;
            material.texture = textures[i];
            model.materials.push_back(material);
            model.groups.push_back(
                {{static_cast<std::uint16_t>(i % 2)}, static_cast<std::uint8_t>(i)});
        }
        return dir.write("model.ms3d", model.build());
    }

    std::vector<std::string> writeTexturesInAllFormats() {
        assettest::BmpLayout bmp;
        return {dir.write("hull.bmp", assettest::makeBmp(bmp, {0, 0, 255, 0})),
                dir.write("wing.tga", assettest::makeTga(2, 1, 1, 24, {0, 255, 0})),
                dir.write("cockpit.jpg", assettest::makeJpeg(8, 8, 3, Bytes(192, 200)))};
    }

    static GLint minFilter(unsigned texture) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &value);
        return value;
    }

    assettest::TempDir dir;
    std::unique_ptr<testsupport::MessageBoxCapture> capture;
};

} // namespace

TEST_F(Ms3dModelTest, MaterialsGetTexturesFromBmpTgaAndJpegFilesWithTheCurrentFilter) {
    std::vector<std::string> textures = writeTexturesInAllFormats();
    textures.push_back("");          // untextured material: nothing is tried
    textures.push_back("notes.txt"); // unsupported extension
    ElementContainer::getInstance()->iTextureFilter = kFilterTrilinearMipmap;

    Ms3dModel model;
    ASSERT_TRUE(model.load(writeModel(textures).c_str()));
    EXPECT_EQ(model.getVertexCount(), 4);
    EXPECT_EQ(model.getTriangleCount(), 2);
    EXPECT_EQ(model.getGroupCount(), 5);
    ASSERT_EQ(model.getMaterialCount(), 5);
    EXPECT_TRUE(model.groupVertexArrays.empty()) << "the model record builds those";
    for (int i = 0; i < 3; ++i) {
        const unsigned texture = model.materials[i].texture;
        ASSERT_NE(texture, 0u) << textures[i];
        EXPECT_TRUE(glIsTexture(texture));
        EXPECT_EQ(minFilter(texture), GL_LINEAR_MIPMAP_NEAREST) << textures[i];
    }
    EXPECT_NE(model.materials[0].texture, model.materials[1].texture);
    EXPECT_EQ(model.materials[3].texture, 0u);
    EXPECT_EQ(model.materials[4].texture, 0u);
    EXPECT_TRUE(capture->boxes.empty());
}

TEST_F(Ms3dModelTest, ReloadingTexturesMakesNewOnesWithTheNewFilterAndKeepsTheOld) {
    Ms3dModel model;
    ASSERT_TRUE(model.load(writeModel(writeTexturesInAllFormats()).c_str()));
    const unsigned before = model.materials[1].texture;
    EXPECT_EQ(minFilter(before), GL_NEAREST);

    ElementContainer::getInstance()->iTextureFilter = kFilterBilinear;
    model.loadTextures();
    const unsigned after = model.materials[1].texture;
    EXPECT_NE(after, before);
    EXPECT_EQ(minFilter(after), GL_LINEAR);
    EXPECT_TRUE(glIsTexture(before)) << "display lists compiled earlier still use it";
}

TEST_F(Ms3dModelTest, AMissingTextureLeavesThatMaterialUntexturedAndTheModelLoaded) {
    Ms3dModel model;
    ASSERT_TRUE(model.load(writeModel({dir.path() + "/gone.bmp"}).c_str()));
    EXPECT_EQ(model.materials[0].texture, 0u);
    EXPECT_EQ(model.getGroupCount(), 1);
}

TEST_F(Ms3dModelTest, FilesThatCannotBeLoadedLeaveAnEmptyModelWithoutAMessage) {
    Ms3dBuilder wrongVersion = Ms3dBuilder::quad("");
    wrongVersion.version = 5;
    Ms3dBuilder badIndex = Ms3dBuilder::quad("");
    badIndex.triangles[0].vertices[0] = 9;
    const std::vector<std::string> files = {
        dir.path() + "/missing.ms3d", dir.write("v5.ms3d", wrongVersion.build()),
        dir.write("bad.ms3d", badIndex.build()), dir.write("empty.ms3d", {})};
    for (const std::string& file : files) {
        testsupport::DebugCapture log;
        Ms3dModel model;
        EXPECT_FALSE(model.load(file.c_str())) << file;
        EXPECT_EQ(model.getVertexCount(), 0);
        EXPECT_EQ(model.getTriangleCount(), 0);
        EXPECT_EQ(model.getGroupCount(), 0);
        EXPECT_EQ(model.getMaterialCount(), 0);
        EXPECT_TRUE(log.text().empty()) << log.text();
    }
    Ms3dModel unnamed;
    EXPECT_FALSE(unnamed.load(nullptr));
    EXPECT_TRUE(capture->boxes.empty());
}
