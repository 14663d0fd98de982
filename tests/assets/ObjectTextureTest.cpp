// Textures from files on a real GL context: what reaches GL for each format, which loader each
// file name picks, the three filter modes, and what the player sees when a file is bad.
#include "assets/ObjectTexture.h"
#include "platform/Platform.h"
#include "tests/assets/TestFiles.h"
#include "tests/support/GLTestContext.h"
#include "tests/support/TempDir.h"

#include <GL/gl.h>

#include <algorithm>

using assettest::Bytes;
using assettest::makeTga;

namespace {

const int kTgaUncompressed = 2;
const int kTgaRunLength = 10;

class TextureFileTest : public testsupport::GLTest {
protected:
    // The bound texture's level-0 pixels as GL holds them, tightly packed.
    static Bytes readBack(unsigned texture, GLenum format, int width, int height) {
        glBindTexture(GL_TEXTURE_2D, texture);
        Bytes pixels(static_cast<std::size_t>(width) * height * (format == GL_RGBA ? 4 : 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        return pixels;
    }
    static GLint parameter(unsigned texture, GLenum name, int level = -1) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint value = 0;
        if (level < 0) {
            glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        } else {
            glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
        }
        return value;
    }
    static unsigned load(const std::string& file) {
        return ObjectTexture::LoadTexture(file.c_str(), kFilterPoint);
    }

    std::string smallTga(const std::string& name) {
        return dir.write(name, makeTga(kTgaUncompressed, 1, 1, 24, {10, 20, 30}));
    }
    std::string smallBmp(const std::string& name) {
        return dir.write(name, assettest::makeBmp({}, {30, 20, 10, 0}));
    }

    testsupport::TempDir dir;
    // Every message box, answered Ok.
    std::vector<platform::MessageBoxRequest> boxes;
    platform::MessageBoxHandler previous =
        platform::setMessageBoxHandler([this](const platform::MessageBoxRequest& request) {
            boxes.push_back(request);
            return platform::Answer::Ok;
        });
    void TearDown() override {
        platform::setMessageBoxHandler(previous);
        GLTest::TearDown();
    }
};

} // namespace

TEST_F(TextureFileTest, EachFormatUploadsItsPixelsBottomRowFirstWithOrWithoutAlpha) {
    const unsigned tga = load(smallTga("pixel.tga"));
    ASSERT_NE(tga, 0u);
    EXPECT_EQ(readBack(tga, GL_RGB, 1, 1), (Bytes{30, 20, 10}));
    EXPECT_EQ(parameter(tga, GL_TEXTURE_INTERNAL_FORMAT, 0), GL_RGB);

    const unsigned alpha =
        load(dir.write("alpha.tga", makeTga(kTgaRunLength, 2, 1, 32, {0x81, 1, 2, 3, 128})));
    ASSERT_NE(alpha, 0u);
    EXPECT_EQ(parameter(alpha, GL_TEXTURE_INTERNAL_FORMAT, 0), GL_RGBA);
    EXPECT_EQ(readBack(alpha, GL_RGBA, 2, 1), (Bytes{3, 2, 1, 128, 3, 2, 1, 128}));

    assettest::BmpLayout twoRows;
    twoRows.height = 2;
    const unsigned bmp =
        load(dir.write("two.bmp", assettest::makeBmp(twoRows, {0, 0, 255, 0, 255, 0, 0, 0})));
    ASSERT_NE(bmp, 0u);
    EXPECT_EQ(readBack(bmp, GL_RGB, 1, 2), (Bytes{255, 0, 0, 0, 0, 255}));
    EXPECT_TRUE(boxes.empty());
}

TEST_F(TextureFileTest, TheExtensionAfterTheLastDotPicksTheLoaderInAnyCase) {
    const struct {
        std::string file;
        bool loads;
    } cases[] = {{smallBmp("upper.BMP"), true},
                 {smallBmp("mixed.Bmp"), true},
                 {smallTga("sky.bmp.tga"), true},
                 {smallTga("upper.TGA"), true},
                 {smallTga("texture"), false},
                 {smallTga("texture.png"), false},
                 {dir.write("photo.JPEG", assettest::makeJpeg(8, 8, 3, Bytes(192, 90))), true}};
    for (const auto& c : cases) {
        EXPECT_EQ(load(c.file) != 0, c.loads) << c.file;
    }
    testsupport::DebugCapture log;
    EXPECT_EQ(ObjectTexture::LoadTexture(nullptr, kFilterPoint), 0u);
    EXPECT_EQ(ObjectTexture::LoadJPEGTexture("", kFilterPoint), 0u);
    load(cases[5].file);
    EXPECT_EQ(log.text(), "") << "no name or an unknown extension: not a word";
    EXPECT_TRUE(boxes.empty());
}

TEST_F(TextureFileTest, EachBadFileGivesNoTextureAndItsMessageBoxOrLogLineAndPlayGoesOn) {
    const struct {
        std::string file;
        const char* box; // text of the one message box, or none
        const char* caption;
        std::string logged;
    } cases[] = {
        {dir.path() + "/missing.bmp", nullptr, "",
         "ObjectTexture::LoadBMP(): trying to load BMP...\n"
         "ObjectTexture::LoadBMP(): loading BMP failed\n"},
        // Opens, but no BMP: the open succeeded, the reader gives nothing.
        {smallTga("fake.bmp"), nullptr, "", "loading BMP succeeded"},
        {dir.path() + "/missing.tga", "Could not open texture file", "ERROR", ""},
        {dir.write("mapped.tga", makeTga(1, 1, 1, 24, {1, 2, 3})), "TGA file be type 2 or type 10 ",
         "Invalid Image", ""},
        {dir.write("overrun.tga", makeTga(kTgaRunLength, 1, 1, 24, {0x81, 1, 2, 3})),
         "Too many pixels read", "ERROR", ""},
        {dir.path() + "/missing.jpg", "Unable to load JPG File!", "Error", ""},
        {dir.write("broken.jpg", Bytes{0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3}), nullptr, "",
         "broken.jpg"},
        {dir.write("cmyk.jpg", assettest::makeJpeg(8, 8, 4, Bytes(256, 50))), nullptr, "",
         "cmyk.jpg"},
    };
    for (const auto& c : cases) {
        boxes.clear();
        testsupport::DebugCapture log;
        EXPECT_EQ(load(c.file), 0u) << c.file;
        EXPECT_TRUE(log.contains(c.logged)) << log.text();
        ASSERT_EQ(boxes.size(), c.box != nullptr ? 1u : 0u) << c.file;
        if (c.box != nullptr) {
            EXPECT_EQ(boxes[0].text, c.box);
            EXPECT_EQ(boxes[0].caption, c.caption);
            EXPECT_EQ(boxes[0].buttons, platform::Buttons::Ok);
            EXPECT_EQ(boxes[0].icon, platform::Icon::Error);
        } else if (c.file.find(".jpg") != std::string::npos) {
            EXPECT_EQ(std::count(log.text().begin(), log.text().end(), '\n'), 1) << log.text();
        }
    }
    EXPECT_NE(load(smallTga("after.tga")), 0u) << "the next texture loads as usual";
}

TEST_F(TextureFileTest, EachFilterModeSetsItsFiltersAndMode2BuildsEveryMipmapLevel) {
    const Bytes pixels(4 * 4 * 3, 77);
    const struct {
        int mode;
        GLint mag, min;
    } modes[] = {{kFilterPoint, GL_NEAREST, GL_NEAREST},
                 {kFilterBilinear, GL_LINEAR, GL_LINEAR},
                 {kFilterTrilinearMipmap, GL_LINEAR, GL_LINEAR_MIPMAP_NEAREST},
                 {7, GL_NEAREST, GL_NEAREST},
                 {-1, GL_NEAREST, GL_NEAREST}};
    for (const auto& m : modes) {
        const unsigned texture =
            ObjectTexture::CreateGLTexture(m.mode, GL_RGB, 4, 4, pixels.data());
        ASSERT_NE(texture, 0u);
        GLint bound = 0;
        glGetIntegerv(GL_TEXTURE_BINDING_2D, &bound);
        EXPECT_EQ(static_cast<unsigned>(bound), texture) << "the new texture stays bound";
        EXPECT_EQ(parameter(texture, GL_TEXTURE_MAG_FILTER), m.mag) << "mode " << m.mode;
        EXPECT_EQ(parameter(texture, GL_TEXTURE_MIN_FILTER), m.min) << "mode " << m.mode;
        const bool mipmapped = m.mode == kFilterTrilinearMipmap;
        EXPECT_EQ(parameter(texture, GL_TEXTURE_WIDTH, 1), mipmapped ? 2 : 0);
        EXPECT_EQ(parameter(texture, GL_TEXTURE_WIDTH, 2), mipmapped ? 1 : 0);
    }
}

TEST_F(TextureFileTest, OddWidthRgbRowsArriveIntactAndTheUnpackAlignmentIsRestored) {
    // 3 RGB pixels make 9-byte rows, which GL's default alignment of 4 would misread.
    const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    GLint alignment = 0;
    for (int mode : {kFilterPoint, kFilterBilinear}) {
        const unsigned texture = ObjectTexture::CreateGLTexture(mode, GL_RGB, 3, 2, pixels.data());
        EXPECT_EQ(readBack(texture, GL_RGB, 3, 2), pixels);
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 4);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    ObjectTexture::CreateGLTexture(kFilterTrilinearMipmap, GL_RGB, 3, 2, pixels.data());
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 2) << "whatever was set before comes back";
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TEST_F(TextureFileTest, PixelsWithoutARowOrAColumnGiveNoTexture) {
    const Bytes pixel = {1, 2, 3};
    GLuint smallest = ObjectTexture::CreateGLTexture(kFilterPoint, GL_RGB, 1, 1, pixel.data());
    EXPECT_NE(smallest, 0u);
    glDeleteTextures(1, &smallest);
    EXPECT_EQ(ObjectTexture::CreateGLTexture(kFilterPoint, GL_RGB, 1, 0, pixel.data()), 0u);
    EXPECT_EQ(ObjectTexture::CreateGLTexture(kFilterPoint, GL_RGB, 0, 1, pixel.data()), 0u);
}
