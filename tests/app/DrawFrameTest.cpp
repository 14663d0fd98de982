// One frame from the cockpit: the level-end and game-over halves of the information picture, the
// frame rate, the crosshair, the pause card's pane, and windows of no height. (Instruments are
// judged end to end.)
#include "app/DrawFrame.h"
#include "app/GLWindow.h"
#include "hud/BitmapFont.h"
#include "tests/app/AppFixture.h"

#include <GL/gl.h>

namespace apptest {
namespace {

const std::uint32_t kRed = 0xFF0000FF;
const std::uint32_t kBlue = 0x0000FFFF;

class DrawFrameTest : public AppTest {
protected:
    void SetUp() override {
        AppTest::SetUp();
        // A see-through cockpit, and an information picture with the level-end message red
        // (lower t half) and the game-over message blue (upper half).
        app->cockpitTexture = columnTexture({0, 0, 0, 0});
        app->infoTexture = columnTexture({255, 0, 0, 255, 0, 0, 255, 255});
    }
    void TearDown() override {
        glDeleteTextures(static_cast<GLsizei>(textures.size()), textures.data());
        AppTest::TearDown();
    }
    // A nearest-sampled RGBA texture of one column, bottom row first.
    unsigned columnTexture(const std::vector<std::uint8_t>& texels) {
        GLuint texture = 0;
        glGenTextures(1, &texture);
        textures.push_back(texture);
        glBindTexture(GL_TEXTURE_2D, texture);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, GL_NEAREST);
        glTexParameteri(GL_TEXTURE_2D, GL_TEXTURE_MAG_FILTER, GL_NEAREST);
        glTexImage2D(GL_TEXTURE_2D, 0, GL_RGBA, 1, static_cast<int>(texels.size() / 4), 0, GL_RGBA,
                     GL_UNSIGNED_BYTE, texels.data());
        return texture;
    }
    void draw() {
        DrawFrame(*app);
        glFinish();
    }
    std::vector<GLuint> textures;
};

TEST_F(DrawFrameTest, LevelEndAndGameOverCoverTheUpperHalfWithTheirHalfOfThePicture) {
    draw();
    EXPECT_NE(pixelAt(100, 600), kRed) << "no message while the ship lives and the level runs";
    EXPECT_NE(pixelAt(100, 600), kBlue);

    world->bLevelEnded = true;
    draw();
    EXPECT_EQ(pixelAt(100, 384), kRed);
    EXPECT_EQ(pixelAt(900, 767), kRed);
    EXPECT_NE(pixelAt(100, 383), kRed);
    EXPECT_FALSE(app->pPlayer->isActive());

    app->pPlayer->setHealth(0.0f);
    draw();
    EXPECT_EQ(pixelAt(100, 500), kBlue) << "game over is drawn over the level end";

    ResizeViewport(*app, 1024, 601); // an odd height: the edge is on the rounded-down half
    draw();
    EXPECT_EQ(pixelAt(512, 300), kBlue);
    EXPECT_NE(pixelAt(512, 299), kBlue);

    // On any other shape the messages keep the cockpit's: the upper half of its centred box.
    const struct {
        int width, height;
        int boxLeft, boxRight; // first and last pixel column of the box
    } windows[] = {{1024, 576, 128, 895}, {960, 768, 0, 959}}; // 16:9 and 5:4
    for (const auto& w : windows) {
        ResizeViewport(*app, w.width, w.height);
        draw();
        const int half = w.height / 2;
        EXPECT_EQ(pixelAt(w.boxLeft, half), kBlue) << w.width;
        EXPECT_EQ(pixelAt(w.boxRight, w.height - 1), kBlue) << w.width;
        EXPECT_NE(pixelAt(w.boxLeft, half - 1), kBlue) << w.width;
        if (w.boxLeft > 0) {
            EXPECT_NE(pixelAt(w.boxLeft - 1, half), kBlue) << w.width << ": not stretched";
            EXPECT_NE(pixelAt(w.boxRight + 1, half), kBlue) << w.width;
        }
    }
}

TEST_F(DrawFrameTest, TheCrosshairsFourTrianglesPointAtTheCentreAndLeaveItClear) {
    draw();
    // Green half lit over black space: the tips stop 19 pixels from the centre, the bases at 45.
    const std::uint32_t kLit = 0x008000C0;
    const struct {
        int dx, dy;
        const char* side;
    } sides[] = {{0, 1, "above"}, {0, -1, "below"}, {1, 0, "right"}, {-1, 0, "left"}};
    for (const auto& s : sides) {
        // The centre lies between pixels 511 and 512 and rows 383 and 384.
        const auto at = [&](int d) {
            return pixelAt(s.dx < 0 ? 511 - d : 512 + s.dx * d,
                           s.dy < 0 ? 383 - d : 384 + s.dy * d);
        };
        EXPECT_NE(at(18), kLit) << s.side << ": the centre is clear";
        EXPECT_EQ(at(19), kLit) << s.side;
        EXPECT_EQ(at(45), kLit) << s.side;
        EXPECT_NE(at(46), kLit) << s.side;
    }
}

TEST_F(DrawFrameTest, OnAWideWindowOnlyTheSideStripsCoverWhenTheCockpitIsSeeThrough) {
    app->cockpitSidesTexture = columnTexture({0, 0, 0, 255});
    ResizeViewport(*app, 1024, 576); // the 768-wide box starts on a tile's edge, at 128
    draw();
    const std::vector<int>& boxes = app->frame.overlayBoxes; // x, y, width, height each
    ASSERT_FALSE(boxes.empty());
    bool leftEdge = false;
    bool rightEdge = false;
    for (std::size_t b = 0; b + 3 < boxes.size(); b += 4) {
        const int left = boxes[b];
        const int right = left + boxes[b + 2];
        EXPECT_TRUE(right <= 128 || left >= 896)
            << "drawn inside the box: " << left << " to " << right;
        leftEdge = leftEdge || left == 0;
        rightEdge = rightEdge || right == 1024;
    }
    EXPECT_TRUE(leftEdge && rightEdge) << "both strips are drawn";
}

TEST_F(DrawFrameTest, ThePauseCardStandsOnADeepBluePaneThatDimsSpaceBehindIt) {
    app->pFont = std::make_unique<BitmapFont>(kFontSizePercent, 768);
    app->paused = true;
    draw();
    // Above the line of text, inside the pane's margin: three quarters of the pane's deep blue
    // over black space.
    EXPECT_EQ(pixelAt(512, 494) >> 8, 0x060D1Fu);
    EXPECT_EQ(pixelAt(512, 510) >> 8, 0x000000u) << "above the pane";
}

TEST_F(DrawFrameTest, AWindowNoPixelsHighIsDrawnWithoutAGlError) {
    world->bLevelEnded = true; // the message quads too
    for (int height : {0, 1}) {
        ResizeViewport(*app, 1024, height);
        draw();
        EXPECT_EQ(glGetError(), static_cast<GLenum>(GL_NO_ERROR)) << height << " pixels high";
    }
}

TEST_F(DrawFrameTest, FrameRateIsRecomputedOnceMoreThanASecondHasPassed) {
    draw(); // the clock stands at 0: nothing to divide by yet
    EXPECT_EQ(app->frame.framesPerSecond, 0.0f);
    clock.advance(0.6);
    draw();
    clock.advance(0.6);
    draw();
    EXPECT_NEAR(app->frame.framesPerSecond, 3.0f / 1.2f, 1e-3);
    EXPECT_EQ(app->frame.frameCount, 0u);
    const unsigned list = app->frame.crosshairList;
    draw();
    EXPECT_EQ(app->frame.crosshairList, list); // compiled once
}

} // namespace
} // namespace apptest
