// Texture loading on a real GL context: what reaches GL for each format, which loader each
// file name picks, the three filter modes, and what the player sees when a file is bad.
#include "assets/ObjectTexture.h"
#include "platform/Platform.h"
#include "tests/assets/TestFiles.h"
#include "tests/support/GLTestContext.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cstdlib>

using assettest::Bytes;
using assettest::makeTga;

namespace {

const int kTgaUncompressed = 2;
const int kTgaRunLength = 10;

class ObjectTextureTest : public testsupport::GLTest {
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

    // The bound texture's level-0 pixels as GL holds them, tightly packed.
    static Bytes readBack(unsigned texture, GLenum format, int width, int height) {
        glBindTexture(GL_TEXTURE_2D, texture);
        Bytes pixels(static_cast<std::size_t>(width) * height * (format == GL_RGBA ? 4 : 3));
        glPixelStorei(GL_PACK_ALIGNMENT, 1);
        glGetTexImage(GL_TEXTURE_2D, 0, format, GL_UNSIGNED_BYTE, pixels.data());
        glPixelStorei(GL_PACK_ALIGNMENT, 4);
        return pixels;
    }

    static GLint parameter(unsigned texture, GLenum name) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint value = 0;
        glGetTexParameteriv(GL_TEXTURE_2D, name, &value);
        return value;
    }

    static GLint levelParameter(unsigned texture, int level, GLenum name) {
        glBindTexture(GL_TEXTURE_2D, texture);
        GLint value = 0;
        glGetTexLevelParameteriv(GL_TEXTURE_2D, level, name, &value);
        return value;
    }

    std::string smallTga(const std::string& name) {
        return dir.write(name, makeTga(kTgaUncompressed, 1, 1, 24, {10, 20, 30}));
    }

    std::string smallBmp(const std::string& name) {
        assettest::BmpLayout layout;
        return dir.write(name, assettest::makeBmp(layout, {30, 20, 10, 0}));
    }

    assettest::TempDir dir;
    std::unique_ptr<testsupport::MessageBoxCapture> capture;
};

} // namespace

TEST_F(ObjectTextureTest, ATgaPixelStoredAs10_20_30IsUploadedAs30_20_10) {
    const unsigned texture =
        ObjectTexture::LoadTexture(smallTga("pixel.tga").c_str(), kFilterPoint);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(readBack(texture, GL_RGB, 1, 1), (Bytes{30, 20, 10}));
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGB);
    EXPECT_TRUE(capture->boxes.empty());
}

TEST_F(ObjectTextureTest, AThirtyTwoBitTgaBecomesAnRgbaTexture) {
    const std::string file =
        dir.write("alpha.tga", makeTga(kTgaRunLength, 2, 1, 32, {0x81, 1, 2, 3, 128}));
    const unsigned texture = ObjectTexture::LoadTexture(file.c_str(), kFilterPoint);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(levelParameter(texture, 0, GL_TEXTURE_INTERNAL_FORMAT), GL_RGBA);
    EXPECT_EQ(readBack(texture, GL_RGBA, 2, 1), (Bytes{3, 2, 1, 128, 3, 2, 1, 128}));
}

TEST_F(ObjectTextureTest, ABmpUploadsItsRgbRowsBottomRowFirst) {
    assettest::BmpLayout layout;
    layout.width = 1;
    layout.height = 2;
    const std::string file =
        dir.write("two.bmp", assettest::makeBmp(layout, {0, 0, 255, 0, 255, 0, 0, 0}));
    const unsigned texture = ObjectTexture::LoadTexture(file.c_str(), kFilterPoint);
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(readBack(texture, GL_RGB, 1, 2), (Bytes{255, 0, 0, 0, 0, 255}));
}

TEST_F(ObjectTextureTest, AFourRowJpegHasItsTopRowInTextureRowThree) {
    Bytes pixels;
    for (int row = 0; row < 4; ++row) {
        for (int x = 0; x < 8; ++x) {
            // White on top, then black rows.
            const std::uint8_t level = row == 0 ? 255 : 0;
            pixels.insert(pixels.end(), {level, level, level});
        }
    }
    const std::string file = dir.write("rows.jpg", assettest::makeJpeg(8, 4, 3, pixels));
    const unsigned texture = ObjectTexture::LoadTexture(file.c_str(), kFilterPoint);
    ASSERT_NE(texture, 0u);
    const Bytes stored = readBack(texture, GL_RGB, 8, 4);
    EXPECT_GT(stored[3 * 8 * 3 + 12], 200) << "row 3 is the white top row";
    EXPECT_LT(stored[0 * 8 * 3 + 12], 60) << "row 0 is a black bottom row";
}

TEST_F(ObjectTextureTest, TheExtensionAfterTheLastDotPicksTheLoaderInAnyCase) {
    testsupport::DebugCapture log;
    for (const char* name : {"upper.BMP", "lower.bmp", "mixed.Bmp"}) {
        log.clear();
        EXPECT_NE(ObjectTexture::LoadTexture(smallBmp(name).c_str(), kFilterPoint), 0u) << name;
        EXPECT_TRUE(log.contains("ObjectTexture::LoadBMP(): trying to load BMP...\n")) << name;
    }
    log.clear();
    EXPECT_NE(ObjectTexture::LoadTexture(smallTga("sky.bmp.tga").c_str(), kFilterPoint), 0u);
    EXPECT_FALSE(log.contains("LoadBMP")) << "only the last '.' counts";
    EXPECT_NE(ObjectTexture::LoadTexture(smallTga("upper.TGA").c_str(), kFilterPoint), 0u);

    const std::string jpeg = dir.write("photo.JPEG", assettest::makeJpeg(8, 8, 3, Bytes(192, 90)));
    EXPECT_NE(ObjectTexture::LoadTexture(jpeg.c_str(), kFilterPoint), 0u);
    EXPECT_TRUE(capture->boxes.empty());
}

TEST_F(ObjectTextureTest, NamesWithoutADotOrWithAnUnknownExtensionGiveNoTextureAndNoMessage) {
    testsupport::DebugCapture log;
    const std::string noDot = smallTga("texture");
    EXPECT_EQ(ObjectTexture::LoadTexture(noDot.c_str(), kFilterPoint), 0u);
    EXPECT_EQ(ObjectTexture::LoadTexture(smallTga("texture.png").c_str(), kFilterPoint), 0u);
    EXPECT_EQ(ObjectTexture::LoadTexture(nullptr, kFilterPoint), 0u);
    EXPECT_TRUE(log.text().empty()) << log.text();
    EXPECT_TRUE(capture->boxes.empty());
}

TEST_F(ObjectTextureTest, LoadBmpLogsTheAttemptAndItsOutcome) {
    testsupport::DebugCapture log;
    EXPECT_NE(ObjectTexture::LoadTexture(smallBmp("ok.bmp").c_str(), kFilterPoint), 0u);
    EXPECT_EQ(log.text(), "ObjectTexture::LoadBMP(): trying to load BMP...\n"
                          "ObjectTexture::LoadBMP(): loading BMP succeeded\n");
    log.clear();
    EXPECT_EQ(ObjectTexture::LoadTexture((dir.path() + "/missing.bmp").c_str(), kFilterPoint), 0u);
    EXPECT_EQ(log.text(), "ObjectTexture::LoadBMP(): trying to load BMP...\n"
                          "ObjectTexture::LoadBMP(): loading BMP failed\n");
    // A file that opens but is no BMP: the open succeeded, the reader gives nothing.
    log.clear();
    EXPECT_EQ(ObjectTexture::LoadTexture(smallTga("fake.bmp").c_str(), kFilterPoint), 0u);
    EXPECT_TRUE(log.contains("loading BMP succeeded"));
    EXPECT_TRUE(capture->boxes.empty()) << "BMP problems only go to the debug output";
}

TEST_F(ObjectTextureTest, TgaProblemsAreShownInMessageBoxesAndGiveNoTexture) {
    struct Case {
        std::string file;
        const char* text;
        const char* caption;
    };
    const std::vector<Case> cases = {
        {dir.path() + "/missing.tga", "Could not open texture file", "ERROR"},
        {dir.write("16bit.tga", makeTga(kTgaUncompressed, 1, 1, 16, {1, 2})),
         "Invalid texture information", "ERROR"},
        {dir.write("mapped.tga", makeTga(1, 1, 1, 24, {1, 2, 3})), "TGA file be type 2 or type 10 ",
         "Invalid Image"},
        {dir.write("overrun.tga", makeTga(kTgaRunLength, 1, 1, 24, {0x81, 1, 2, 3})),
         "Too many pixels read", "ERROR"},
    };
    for (const Case& c : cases) {
        capture->boxes.clear();
        EXPECT_EQ(ObjectTexture::LoadTexture(c.file.c_str(), kFilterPoint), 0u) << c.file;
        ASSERT_EQ(capture->boxes.size(), 1u) << c.file;
        EXPECT_EQ(capture->boxes[0].text, c.text);
        EXPECT_EQ(capture->boxes[0].caption, c.caption);
        EXPECT_EQ(capture->boxes[0].buttons, platform::Buttons::Ok);
        EXPECT_EQ(capture->boxes[0].icon, platform::Icon::Error);
    }
}

TEST_F(ObjectTextureTest, AMissingJpegShowsItsBoxAndPlayGoesOn) {
    const std::string missing = dir.path() + "/missing.jpg";
    EXPECT_EQ(ObjectTexture::LoadTexture(missing.c_str(), kFilterPoint), 0u);
    ASSERT_EQ(capture->boxes.size(), 1u);
    EXPECT_EQ(capture->boxes[0].text, "Unable to load JPG File!");
    EXPECT_EQ(capture->boxes[0].caption, "Error");
    // Still here: the next texture loads as usual.
    EXPECT_NE(ObjectTexture::LoadTexture(smallTga("after.tga").c_str(), kFilterPoint), 0u);
}

TEST_F(ObjectTextureTest, UndecodableAndCmykJpegsWriteOneLineNamingTheFile) {
    const std::string broken = dir.write("broken.jpg", Bytes{0xFF, 0xD8, 0xFF, 0x00, 1, 2, 3});
    const std::string cmyk = dir.write("cmyk.jpg", assettest::makeJpeg(8, 8, 4, Bytes(256, 50)));
    for (const std::string& file : {broken, cmyk}) {
        testsupport::DebugCapture log;
        EXPECT_EQ(ObjectTexture::LoadTexture(file.c_str(), kFilterPoint), 0u);
        EXPECT_TRUE(log.contains(file)) << log.text();
        EXPECT_EQ(std::count(log.text().begin(), log.text().end(), '\n'), 1) << log.text();
    }
    EXPECT_TRUE(capture->boxes.empty());
}

TEST_F(ObjectTextureTest, EachFilterModeSetsItsFiltersAndMode2BuildsEveryMipmapLevel) {
    const Bytes pixels(4 * 4 * 3, 77);
    const struct {
        int mode;
        GLint mag;
        GLint min;
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
        EXPECT_EQ(levelParameter(texture, 1, GL_TEXTURE_WIDTH), mipmapped ? 2 : 0);
        EXPECT_EQ(levelParameter(texture, 2, GL_TEXTURE_WIDTH), mipmapped ? 1 : 0);
    }
}

TEST_F(ObjectTextureTest, OddWidthRgbRowsArriveIntactAndTheUnpackAlignmentIsRestored) {
    // 3 RGB pixels make 9-byte rows, which GL's default alignment of 4 would misread.
    const Bytes pixels = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12, 13, 14, 15, 16, 17, 18};
    for (int mode : {kFilterPoint, kFilterBilinear}) {
        const unsigned texture = ObjectTexture::CreateGLTexture(mode, GL_RGB, 3, 2, pixels.data());
        EXPECT_EQ(readBack(texture, GL_RGB, 3, 2), pixels);
        GLint alignment = 0;
        glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
        EXPECT_EQ(alignment, 4);
    }
    glPixelStorei(GL_UNPACK_ALIGNMENT, 2);
    ObjectTexture::CreateGLTexture(kFilterTrilinearMipmap, GL_RGB, 3, 2, pixels.data());
    GLint alignment = 0;
    glGetIntegerv(GL_UNPACK_ALIGNMENT, &alignment);
    EXPECT_EQ(alignment, 2) << "whatever was set before comes back";
    glPixelStorei(GL_UNPACK_ALIGNMENT, 4);
}

TEST_F(ObjectTextureTest, AnInstanceLoadsWithTheContainersFilterOnlyWhenAsked) {
    ObjectTexture sky(smallTga("sky.tga").c_str());
    EXPECT_EQ(sky.getTextureId(), 0u) << "construction creates no texture";
    EXPECT_EQ(sky.getFileName(), dir.path() + "/sky.tga");
    ElementContainer::getInstance()->iTextureFilter = kFilterBilinear;
    const unsigned texture = sky.createTexture();
    ASSERT_NE(texture, 0u);
    EXPECT_EQ(sky.getTextureId(), texture);
    EXPECT_EQ(parameter(texture, GL_TEXTURE_MIN_FILTER), GL_LINEAR);

    ObjectTexture nothing("data/texture/none");
    EXPECT_EQ(nothing.createTexture(), 0u);
}
