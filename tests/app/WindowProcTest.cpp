// The window procedure and the window's life: activation, sizes, and opening and closing the
// game window on the off-screen backend. (Keys and closing are the key table's and the runs'.)
#include "app/Game.h"
#include "hud/BitmapFont.h"
#include "platform/HeadlessWindow.h"
#include "platform/Platform.h"
#include "tests/app/AppFixture.h"

#include <GL/gl.h>

namespace apptest {
namespace {

using platform::makeLParam;

class WindowProcTest : public AppTest {};

TEST_F(WindowProcTest, MinimisingStopsPlayAndRestoringResumesIt) {
    EXPECT_TRUE(app->active);
    GLWindowProc(*app, platform::WM_ACTIVATE, platform::WA_INACTIVE | (1u << 16), 0);
    EXPECT_FALSE(app->active);
    GLWindowProc(*app, platform::WM_ACTIVATE, platform::WA_ACTIVE, 0);
    EXPECT_TRUE(app->active);
    // Losing the focus without being minimised keeps the game running.
    GLWindowProc(*app, platform::WM_ACTIVATE, platform::WA_INACTIVE, 0);
    EXPECT_TRUE(app->active);
}

TEST_F(WindowProcTest, ResizingMovesViewportProjectionAndFontSize) {
    GLWindowProc(*app, platform::WM_SIZE, platform::SIZE_RESTORED, makeLParam(800, 600));
    EXPECT_EQ(app->screenWidth, 800);
    EXPECT_EQ(app->screenHeight, 600);
    GLint viewport[4] = {};
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[2], 800);
    EXPECT_EQ(viewport[3], 600);
    ASSERT_TRUE(app->pFont);
    EXPECT_EQ(app->pFont->getPixelHeight(), 12); // 2 percent of 600

    // Minimised: the state keeps the zero height, GL gets one row.
    GLWindowProc(*app, platform::WM_SIZE, platform::SIZE_MINIMIZED, makeLParam(0, 0));
    EXPECT_EQ(app->screenHeight, 0);
    glGetIntegerv(GL_VIEWPORT, viewport);
    EXPECT_EQ(viewport[3], 1);

    GLWindowProc(*app, platform::WM_SIZE, platform::SIZE_RESTORED, makeLParam(1024, 768));
    EXPECT_EQ(app->pFont->getPixelHeight(), 15);
}

// Opening and closing the real off-screen window, with the full-screen question's outcomes.
class GameWindowTest : public testsupport::GLTest {
protected:
    void TearDown() override {
        // Creating the game window made its own context current; the tests' one comes back.
        GLTest::SetUp();
        GLTest::TearDown();
    }
    platform::Clock clock = platform::Clock::makeVirtual();
};

TEST_F(GameWindowTest, RefusedFullScreenOpensAWindowOnYesAndClosesTheProgramOnNo) {
    for (bool yes : {true, false}) {
        platform::HeadlessWindow::Options options;
        options.answerYes = yes;
        platform::HeadlessWindow window(clock, options);
        AppState app;
        app.pWindow = &window;
        app.fullscreenChangesMode = true; // the game's own mode, which this surface lacks
        testsupport::DebugCapture log;
        EXPECT_EQ(CreateGLWindow(app, "Ombrelix", 800, 600, 32, true), yes);
        EXPECT_TRUE(log.contains("Kavi GL: The Requested Fullscreen Mode Is Not Supported By\nYour "
                                 "Video Card. Use Windowed Mode Instead?\n"));
        EXPECT_EQ(log.contains("ERROR: Program Will Now Close.\n"), !yes);
        EXPECT_EQ(window.hasWindow(), yes);
        EXPECT_TRUE(!yes || (!app.fullscreen && window.isCursorVisible())) << "windowed";
        DestroyGLWindow(app);
    }
}

TEST_F(GameWindowTest, DesktopFullScreenNeverAsksAltEnterSwitchesItAndClosingLeavesNoTrace) {
    platform::HeadlessWindow::Options options;
    options.width = 1920;
    options.height = 1080;
    platform::HeadlessWindow window(clock, options);
    AppState app;
    app.pWindow = &window;
    testsupport::DebugCapture log;
    ASSERT_TRUE(CreateGLWindow(app, "Ombrelix", 1024, 768, 32, true));
    EXPECT_FALSE(log.contains("Kavi GL")) << "no mode to refuse";
    EXPECT_TRUE(app.fullscreen && window.isFullscreen() && !window.isCursorVisible());
    EXPECT_TRUE(window.hasContext());
    EXPECT_EQ(window.title(), "Ombrelix");
    EXPECT_EQ(app.screenWidth, 1920) << "the desktop's own resolution";
    EXPECT_EQ(app.screenHeight, 1080);

    for (bool fullscreen : {false, true}) {
        GLWindowProc(app, platform::WM_TOGGLEFULLSCREEN, 0, 0);
        EXPECT_EQ(app.fullscreen, fullscreen);
        EXPECT_EQ(window.isFullscreen(), fullscreen);
        EXPECT_EQ(window.isCursorVisible(), !fullscreen);
    }
    EXPECT_FALSE(log.contains("Kavi GL"));
    EXPECT_FALSE(app.keyDown[platform::VK_RETURN]) << "the chord is not the game's Enter";
    DestroyGLWindow(app); // from full screen: the cursor comes back
    EXPECT_TRUE(window.isCursorVisible());
    EXPECT_FALSE(window.hasContext());
    EXPECT_FALSE(window.hasWindow());
}

} // namespace
} // namespace apptest
