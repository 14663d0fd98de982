// The bitmap font of the debug lines: glyph size from the window height, what a printed line
// puts on screen, and the texts it must refuse to draw in full.
#include "hud/BitmapFont.h"
#include "tests/hud/HudTestSupport.h"
#include "tests/support/GLTestContext.h"

#include <GL/gl.h>

#include <string>

using hudtest::Blob;
using hudtest::findPixels;
using testsupport::DebugCapture;
using testsupport::GLTest;

namespace {

class BitmapFontTest : public GLTest {
protected:
    // Raster positions straight in window pixels, so that advances read as pixels.
    void SetUp() override {
        GLTest::SetUp();
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        glOrtho(0, kWidth, 0, kHeight, -1, 1);
        glMatrixMode(GL_MODELVIEW);
        glColor3f(0.0f, 1.0f, 0.0f);
    }

    static float rasterX() {
        GLfloat position[4] = {};
        glGetFloatv(GL_CURRENT_RASTER_POSITION, position);
        return position[0];
    }
    Blob litPixels() const { return findPixels(readPixels(), hudtest::isLit); }
};

} // namespace

TEST_F(BitmapFontTest, ACapitalADrawsABoldLetterTwoPercentOfTheWindowHigh) {
    BitmapFont font(2.0f, 768);
    EXPECT_EQ(font.getPixelHeight(), 15);
    font.print(100, 100, "A");
    const Blob letter = litPixels();
    ASSERT_GT(letter.count, 20) << "a bold A should light a fair number of pixels";
    EXPECT_EQ(letter.count, findPixels(readPixels(), hudtest::isGreen).count)
        << "glyphs take the colour current at the raster position";
    EXPECT_GE(letter.minY, 100) << "an A stands on the baseline";
    EXPECT_GE(letter.maxY - letter.minY + 1, 8);
    EXPECT_LE(letter.maxY - letter.minY + 1, 16);
    EXPECT_GE(letter.minX, 99);
    EXPECT_LE(letter.maxX, 100 + 12);

    // Too small a window for any size: the face's default size is used, and it still draws.
    BitmapFont tiny(2.0f, 1);
    EXPECT_EQ(tiny.getPixelHeight(), 0);
    glClear(GL_COLOR_BUFFER_BIT);
    tiny.print(100, 100, "A");
    EXPECT_GT(litPixels().count, 0);
}

TEST_F(BitmapFontTest, CharactersOutsideTheFontAreLeftOut) {
    // A display list made just before the font sits where code 31 would land: a byte outside
    // 32 to 127 must not run it.
    const GLuint trap = glGenLists(1);
    glNewList(trap, GL_COMPILE);
    glRectf(0, 0, kWidth, kHeight);
    glEndList();
    BitmapFont font(2.0f, 768);
    ASSERT_EQ(font.getListBase(), trap + 1) << "the trap must sit just below the font";

    font.print(100, 100, "\x1f\x01\x80\xff");
    EXPECT_EQ(litPixels().count, 0);
    EXPECT_FLOAT_EQ(rasterX(), 100.0f) << "nothing drawn, nothing advanced";
    // The font's first and last characters, the blank and DEL, each take a monospaced step.
    font.print(100, 100, " ");
    const float step = rasterX() - 100.0f;
    EXPECT_GT(step, 0.0f);
    font.print(100, 100, "\x7f");
    EXPECT_FLOAT_EQ(rasterX(), 100.0f + step);
    glClear(GL_COLOR_BUFFER_BIT);

    font.print(100, 100,
               "A\x1f"
               "B\x7f");
    const std::vector<std::uint8_t> mixed = readPixels();
    glClear(GL_COLOR_BUFFER_BIT);
    font.print(100, 100, "AB\x7f");
    EXPECT_EQ(readPixels(), mixed);
    glDeleteLists(trap, 1);
}

TEST_F(BitmapFontTest, LongTextIsCutAt255Characters) {
    BitmapFont font(2.0f, 768);
    font.print(0, 100, "i");
    const float advance = rasterX();

    const std::string longText(1000, 'i');
    font.print(0, 100, "%s", longText.c_str());
    EXPECT_FLOAT_EQ(rasterX(), 255 * advance);
    font.print(0, 100, "%0600d", 7);
    EXPECT_FLOAT_EQ(rasterX(), 255 * advance);
    font.print(0, 100, "%s", std::string(255, 'i').c_str());
    EXPECT_FLOAT_EQ(rasterX(), 255 * advance);
}

TEST_F(BitmapFontTest, AMissingFaceFallsBackToAnyBoldMonospacedOne) {
    DebugCapture log;
    const std::string courier = BitmapFont::findFontFile("Courier New");
    EXPECT_FALSE(courier.empty());
    EXPECT_EQ(log.text(), "") << "the face or a metric twin is installed";

    const std::string fallback = BitmapFont::findFontFile("No Such Face Anywhere");
    EXPECT_FALSE(fallback.empty());
    EXPECT_TRUE(log.contains("BitmapFont::findFontFile(): no No Such Face Anywhere, using "))
        << log.text();
}
