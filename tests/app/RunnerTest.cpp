// Key names, the runner's virtual clock, the off-screen window's own size and its context's memory,
// the stick positions a session script takes, and session scripts turned into window messages frame
// by frame by the off-screen window, which starts SDL's pad support only for a script that plugs a
// pad in.
#include "platform/HeadlessContext.h"
#include "platform/HeadlessWindow.h"
#include "platform/SdlWindow.h"
#include "platform/WindowScript.h"

#include <SDL.h>
#include <gtest/gtest.h>
#include <malloc.h>

namespace {

using Args = std::vector<std::string>;

TEST(KeyNames, ScriptNamesAndDesktopKeysGiveTheKeyTableCodes) {
    const std::pair<const char*, unsigned> names[] = {
        {"U", 0x55},   {"u", 0x55},  {"0x55", 0x55}, {"F0", 0},       {"F1", 0x70},
        {"F12", 0x7B}, {"F13", 0},   {"ESC", 0x1B},  {"SPACE", 0x20}, {"1", 0x31},
        {"0x0", 0},    {"0x1", 0x1}, {"0xFF", 0xFF}, {"0x100", 0},    {"WOBBLE", 0}};
    for (const auto& [name, code] : names) {
        EXPECT_EQ(platform::virtualKeyFromName(name), code) << name;
    }
    // Letters by their label (key codes, not positions), digits, function keys, Esc, Space, Enter.
    const std::pair<SDL_Keycode, unsigned> keys[] = {
        {SDLK_a, 0x41},     {SDLK_z, 0x5A},      {SDLK_0, 0x30},    {SDLK_9, 0x39},
        {SDLK_F1, 0x70},    {SDLK_F12, 0x7B},    {SDLK_F13, 0},     {SDLK_ESCAPE, 0x1B},
        {SDLK_SPACE, 0x20}, {SDLK_RETURN, 0x0D}, {SDLK_CAPSLOCK, 0}};
    for (const auto& [key, code] : keys) {
        EXPECT_EQ(platform::SdlWindow::virtualKeyFor(key), code) << key;
    }
}

TEST(SessionScript, EachLineArrivesJustBeforeItsFrameThenTheQuitAfterTheLast) {
    platform::WindowScript script;
    ASSERT_TRUE(script.parse("# a session\n2 size 640 480\n0 down 0x55   # fire\n0 up U\n"
                             "3 minimise\n4 restore\n9 close\n"))
        << script.error();
    platform::Clock clock = platform::Clock::makeVirtual();
    platform::HeadlessWindow::Options options;
    options.script = script.events();
    options.frameLimit = 5;
    options.frameSeconds = 0.05;
    platform::HeadlessWindow window(clock, options);

    std::vector<std::pair<int, unsigned>> heard; // frame, message
    platform::Message m;
    for (int frame = 0; frame <= 5; ++frame) {
        if (frame > 0) {
            window.swapBuffers(); // the frame before ends
        }
        while ((heard.empty() || heard.back().second != platform::WM_QUIT) &&
               window.peekMessage(m)) {
            heard.emplace_back(frame, m.message);
            EXPECT_TRUE(m.message != platform::WM_KEYDOWN || m.wParam == 0x55u);
            EXPECT_TRUE(m.message != platform::WM_SIZE || frame != 2 ||
                        m.lParam == platform::makeLParam(640, 480));
        }
    }
    // Nothing is drawn while minimised: the restore comes at once.
    using namespace platform;
    EXPECT_EQ(heard, (std::vector<std::pair<int, unsigned>>{{0, WM_KEYDOWN},
                                                            {0, WM_KEYUP},
                                                            {2, WM_SIZE},
                                                            {3, WM_ACTIVATE},
                                                            {3, WM_SIZE},
                                                            {3, WM_SIZE},
                                                            {3, WM_ACTIVATE},
                                                            {5, WM_QUIT}}));
    EXPECT_EQ(clock.milliseconds(), 250u);

    EXPECT_FALSE(script.parse("1 down U\n2 press U\n"));
    EXPECT_NE(script.error().find("line 2"), std::string::npos);
    for (const char* bad : {"x down U\n", "1 down NOSUCHKEY\n", "1 size 800\n",
                            "0 pad axis leftx -32769\n", "0 pad axis leftx 32768\n"}) {
        EXPECT_FALSE(script.parse(bad)) << bad;
    }
    EXPECT_TRUE(script.parse("0 pad axis leftx -32768\n0 pad axis leftx 32767\n"))
        << "a pad stick takes sixteen-bit positions";
    EXPECT_FALSE(script.load("/nonexistent/script.txt"));
}

TEST(VirtualClock, MovesOnlyForwardAndOnlyWhenTold) {
    platform::Clock clock = platform::Clock::makeVirtual();
    EXPECT_EQ(clock.counter(), 0);
    for (const auto& [seconds, milliseconds] : {std::pair{0.25, 250u}, std::pair{0.0, 250u},
                                                std::pair{-1.0, 250u}, std::pair{0.001, 251u}}) {
        clock.advance(seconds);
        EXPECT_EQ(clock.milliseconds(), milliseconds) << "after " << seconds << " s";
    }
}

TEST(OffScreenWindow, NotToldASizeItOffersTheGamesOwnScreenAndNoOther) {
    platform::Clock clock = platform::Clock::makeVirtual();
    platform::HeadlessWindow window(clock, {});
    ASSERT_TRUE(window.createWindow("Ombrelix", 640, 480, true));
    int width = 0;
    int height = 0;
    window.drawableSize(width, height);
    EXPECT_EQ(width, 1024);
    EXPECT_EQ(height, 768);
    EXPECT_TRUE(window.changeDisplayMode(1024, 768, 32));
    EXPECT_FALSE(window.changeDisplayMode(1024, 769, 32));
}

TEST(OffScreenContext, MadeAndDestroyedAgainAndAgainLeavesNoMemoryBehind) {
    // The driver's context holds about two megabytes; one left behind each time would show.
    const auto makeAndDestroy = [] {
        platform::HeadlessContext context;
        EXPECT_TRUE(context.create(64, 64)) << context.error();
        context.destroy();
    };
    makeAndDestroy(); // the driver sets itself up once
    const long before = static_cast<long>(mallinfo2().uordblks);
    for (int i = 0; i < 10; ++i) {
        makeAndDestroy();
    }
    EXPECT_LT(static_cast<long>(mallinfo2().uordblks) - before, 4L << 20);
}

TEST(SessionScript, OnlyAScriptThatPlugsInAPadStartsThePadSupport) {
    const struct {
        const char* text;
        int padsLeft;
        bool padSupport;
    } scripts[] = {{"0 pad attach\n", 1, true},
                   {"0 pad attach\n1 pad detach\n", 0, true}, // pulled out again
                   {"0 down U\n", 0, false}};
    for (const auto& s : scripts) {
        platform::WindowScript script;
        ASSERT_TRUE(script.parse(s.text)) << script.error();
        platform::Clock clock = platform::Clock::makeVirtual();
        platform::HeadlessWindow::Options options;
        options.script = script.events();
        options.frameLimit = 3;
        platform::HeadlessWindow window(clock, options);
        platform::Message m;
        for (int frame = 0; frame < 3; ++frame) {
            while (window.peekMessage(m)) {
            }
            window.swapBuffers();
        }
        EXPECT_EQ(window.gamepadsConnected(), s.padsLeft) << s.text;
        EXPECT_EQ(SDL_WasInit(SDL_INIT_GAMECONTROLLER) != 0, s.padSupport) << s.text;
    }
}

} // namespace
