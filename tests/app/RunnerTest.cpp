// The headless runner's command line and figures, its session scripts, key names, and the
// off-screen window turning a script into window messages frame by frame.
#include "app/HeadlessRunner.h"
#include "platform/HeadlessWindow.h"
#include "platform/SdlWindow.h"
#include "platform/WindowScript.h"
#include "tests/support/GLTestContext.h"

#include <SDL.h>
#include <gtest/gtest.h>

namespace apptest {
namespace {

using Options = HeadlessRunner::Options;

TEST(RunnerCommandLine, ReadsEveryOptionAndRefusesWhatItCannotRead) {
    Options options;
    std::string error;
    ASSERT_TRUE(HeadlessRunner::parseArguments({"--frames", "12", "--dt", "0.05", "--seed", "42",
                                                "--script", "s.txt", "--fullscreen", "yes",
                                                "--screenshot", "out.ppm", "--report"},
                                               options, error))
        << error;
    EXPECT_TRUE(options.frames == 12 && options.frameSeconds == 0.05 && options.seeded &&
                options.seed == 42u && options.scriptFile == "s.txt" && options.fullscreen &&
                options.screenshotFile == "out.ppm" && options.report);

    for (const std::vector<std::string>& bad :
         std::vector<std::vector<std::string>>{{"--frames", "many"},
                                               {"--frames"},
                                               {"--dt", "-1"},
                                               {"--fullscreen", "maybe"},
                                               {"--seed", "-3"},
                                               {"--wobble", "1"}}) {
        error.clear();
        EXPECT_FALSE(HeadlessRunner::parseArguments(bad, options, error)) << bad[0];
        EXPECT_FALSE(error.empty());
    }
}

TEST(RunnerFigures, MedianMeanAndNinetyFifthPercentile) {
    std::vector<double> times;
    for (int i = 1; i <= 100; ++i) {
        times.push_back(i);
    }
    const HeadlessRunner::FrameStats stats = HeadlessRunner::statistics(times);
    EXPECT_DOUBLE_EQ(stats.median, 50.5);
    EXPECT_DOUBLE_EQ(stats.mean, 50.5);
    EXPECT_DOUBLE_EQ(stats.p95, 95.0);
    EXPECT_DOUBLE_EQ(HeadlessRunner::statistics({7.0, 1.0, 3.0}).median, 3.0);
    EXPECT_DOUBLE_EQ(HeadlessRunner::statistics({}).median, 0.0);
}

TEST(KeyNames, ScriptNamesAndDesktopKeysGiveTheKeyTableCodes) {
    const std::pair<const char*, unsigned> names[] = {
        {"U", 0x55},     {"u", 0x55}, {"0x55", 0x55}, {"F3", 0x72}, {"F12", 0x7B}, {"ESC", 0x1B},
        {"SPACE", 0x20}, {"1", 0x31}, {"F13", 0},     {"0x100", 0}, {"WOBBLE", 0}};
    for (const auto& [name, code] : names) {
        EXPECT_EQ(platform::virtualKeyFromName(name), code) << name;
    }
    // Letters by their label (key codes, not positions), digits, function keys, Esc, Space.
    const std::pair<SDL_Keycode, unsigned> keys[] = {
        {SDLK_u, 0x55},   {SDLK_z, 0x5A},      {SDLK_1, 0x31},     {SDLK_F3, 0x72},
        {SDLK_F12, 0x7B}, {SDLK_ESCAPE, 0x1B}, {SDLK_SPACE, 0x20}, {SDLK_CAPSLOCK, 0}};
    for (const auto& [key, code] : keys) {
        EXPECT_EQ(platform::SdlWindow::virtualKeyFor(key), code) << key;
    }
}

TEST(SessionScript, ReadsEveryKindOfLineInFrameOrderAndNamesTheLineItCannotRead) {
    platform::WindowScript script;
    ASSERT_TRUE(script.parse("# a session\n5 up U\n0 down 0x55   # fire\n5 close\n"
                             "2 size 800 600\n3 minimise\n4 restore\n"))
        << script.error();
    using A = platform::WindowScript::Action;
    std::vector<std::pair<int, A>> events;
    for (const auto& e : script.events()) {
        events.emplace_back(e.frame, e.action);
    }
    EXPECT_EQ(events, (std::vector<std::pair<int, A>>{{0, A::KeyDown},
                                                      {2, A::Size},
                                                      {3, A::Minimise},
                                                      {4, A::Restore},
                                                      {5, A::KeyUp},
                                                      {5, A::Close}}));
    EXPECT_EQ(script.events()[0].key, 0x55u);
    EXPECT_EQ(script.events()[1].width, 800);

    EXPECT_FALSE(script.parse("1 down U\n2 press U\n"));
    EXPECT_NE(script.error().find("line 2"), std::string::npos);
    for (const char* bad : {"x down U\n", "1 down NOSUCHKEY\n", "1 size 800\n"}) {
        EXPECT_FALSE(script.parse(bad)) << bad;
    }
    EXPECT_FALSE(script.load("/nonexistent/script.txt"));
}

// The off-screen window without a context: frames are counted by swaps alone.
class ScriptedWindowTest : public ::testing::Test {
protected:
    std::vector<platform::Message> drain(platform::HeadlessWindow& window) {
        std::vector<platform::Message> messages;
        platform::Message message;
        while (window.peekMessage(message)) {
            messages.push_back(message);
            if (message.message == platform::WM_QUIT) {
                break;
            }
        }
        return messages;
    }
    platform::Clock clock = platform::Clock::makeVirtual();
};

TEST_F(ScriptedWindowTest, MessagesArriveJustBeforeTheirFrameThenTheQuitAfterTheLast) {
    platform::WindowScript script;
    ASSERT_TRUE(script.parse("0 down U\n0 up U\n2 size 640 480\n9 close\n"));
    platform::HeadlessWindow::Options options;
    options.script = script.events();
    options.frameLimit = 3;
    options.frameSeconds = 0.05;
    platform::HeadlessWindow window(clock, options);

    auto before0 = drain(window);
    ASSERT_EQ(before0.size(), 2u);
    EXPECT_EQ(before0[0].message, platform::WM_KEYDOWN);
    EXPECT_EQ(before0[0].wParam, 0x55u);
    EXPECT_EQ(before0[1].message, platform::WM_KEYUP);
    window.swapBuffers(); // frame 0
    EXPECT_TRUE(drain(window).empty());
    window.swapBuffers(); // frame 1
    auto before2 = drain(window);
    ASSERT_EQ(before2.size(), 1u);
    EXPECT_EQ(before2[0].message, platform::WM_SIZE);
    EXPECT_EQ(platform::lowWord(static_cast<std::uintptr_t>(before2[0].lParam)), 640u);
    EXPECT_EQ(platform::highWord(static_cast<std::uintptr_t>(before2[0].lParam)), 480u);
    window.swapBuffers(); // frame 2, the last
    auto after = drain(window);
    ASSERT_EQ(after.size(), 1u);
    EXPECT_EQ(after[0].message, platform::WM_QUIT);
    EXPECT_EQ(after[0].wParam, 0u);
    EXPECT_EQ(clock.counter(), clock.frequency() * 3 / 20);
    EXPECT_EQ(clock.milliseconds(), 150u);
}

} // namespace
} // namespace apptest
