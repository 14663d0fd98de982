// The settings file as a player writes it: defaults without one, keys added, broken lines named
// once and skipped, the command line winning, and what --save-settings writes read back. (An
// added key steering the ship is the end-to-end story's.)
#include "app/Settings.h"
#include "app/CommandLine.h"
#include "platform/Messages.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace apptest {
namespace {

using Fullscreen = LaunchOptions::Fullscreen;

TEST(Settings, WithoutAFileTheGameKeepsItsOwnKeysAndAsks) {
    LaunchOptions options;
    std::vector<std::string> problems;
    Settings::load("/nonexistent/ombrelix/settings.ini", options, problems);
    EXPECT_TRUE(problems.empty());
    EXPECT_EQ(options.fullscreen, Fullscreen::Ask);
    EXPECT_EQ(options.volume, 100);
    EXPECT_EQ(options.keys.keyboardKeys(KeyAction::PlayAgain),
              std::vector<unsigned>{platform::VK_RETURN});
}

TEST(Settings, AddedKeysCountAndEachBrokenLineIsNamedOnceAndSkipped) {
    testsupport::TempDir folder;
    const std::string path = folder.write("settings.ini", "[game]\n"
                                                          "fullscreen = no\n"
                                                          "volume = 101\n"
                                                          "volume = 40\n"
                                                          "just some words\n"
                                                          "[keys]\n"
                                                          "turn_right = F RIGHT\n"
                                                          "somersault = X\n"
                                                          "fire = U, NOSUCHKEY\n"
                                                          "slower = 0xC8\n");
    LaunchOptions options;
    std::vector<std::string> problems;
    Settings::load(path, options, problems);

    EXPECT_EQ(options.fullscreen, Fullscreen::No);
    EXPECT_EQ(options.volume, 40);
    EXPECT_EQ(options.keys.keyboardKeys(KeyAction::TurnRight),
              (std::vector<unsigned>{'F', platform::VK_RIGHT}));
    EXPECT_EQ(options.keys.keys(KeyAction::TurnRight).back(),
              platform::VK_GAMEPAD_LEFT_THUMBSTICK_RIGHT)
        << "the gamepad keeps its stick";
    EXPECT_EQ(options.keys.keyboardKeys(KeyAction::Fire), std::vector<unsigned>{'U'})
        << "a line with an unknown key changes nothing";
    EXPECT_EQ(options.keys.keys(KeyAction::Slower),
              (std::vector<unsigned>{'K', platform::VK_GAMEPAD_LEFT_SHOULDER}))
        << "the pad's own codes are not the settings file's to bind";
    const int brokenLines[] = {3, 5, 8, 9, 10};
    ASSERT_EQ(problems.size(), std::size(brokenLines));
    for (std::size_t i = 0; i < problems.size(); ++i) {
        EXPECT_EQ(problems[i].rfind(path + ":" + std::to_string(brokenLines[i]) + ": ", 0), 0u)
            << problems[i];
    }

    // The command line read over the settings wins where it says something.
    unsetenv("OMBRELIX_START_DIR");
    std::string error;
    CommandLine::parse(CommandLine::Program::Game, {"--fullscreen", "--volume", "70"}, options,
                       error);
    EXPECT_EQ(options.fullscreen, Fullscreen::Yes);
    EXPECT_EQ(options.volume, 70);
    EXPECT_EQ(options.keys.keyboardKeys(KeyAction::TurnRight).size(), 2u);
}

TEST(Settings, AKeyListOrALinePastItsLimitIsNamedAndLeftOutWhole) {
    // The INI library holds lines of up to 198 characters and a newline; a longer one cut in two
    // would have its tail read as a setting of its own.
    const auto line = [](std::size_t length, const std::string& tail) {
        return std::string(length - tail.size(), ' ') + tail + "\n";
    };
    const struct {
        std::string text;
        int volume;
        std::vector<unsigned> fire;
        bool named;
    } cases[] = {
        {"[game]\n" + line(198, "volume = 7"), 7, {'U'}, false},
        {"[game]\n" + line(199, "volume = 7"), 100, {'U'}, true},
        {"[game]\n;" + std::string(198, 'x') + "volume = 0\n", 100, {'U'}, true},
        {"[keys]\nfire = A, B, C, D, G, H, J, L\n",
         100,
         {'A', 'B', 'C', 'D', 'G', 'H', 'J', 'L'},
         false},
        {"[keys]\nfire = A, B, C, D, G, H, J, L, M\n", 100, {'U'}, true},
        {"[keys]\nfire = U, u, SPACE, U\n", 100, {'U', platform::VK_SPACE}, false},
    };
    for (const auto& c : cases) {
        LaunchOptions options;
        std::vector<std::string> problems;
        Settings::read(c.text, "settings.ini", options, problems);
        EXPECT_EQ(options.volume, c.volume) << c.text;
        EXPECT_EQ(options.keys.keyboardKeys(KeyAction::Fire), c.fire) << c.text;
        ASSERT_EQ(problems.size(), c.named ? 1u : 0u) << c.text;
        if (c.named) {
            EXPECT_EQ(problems[0].rfind("settings.ini:2: ", 0), 0u) << problems[0];
        }
    }
}

TEST(Settings, AProblemShowsEveryByteATerminalWouldNotPrintAsItsCode) {
    LaunchOptions options;
    std::vector<std::string> problems;
    Settings::read("[keys]\n ~\x7f \x1f = U\n", "settings.ini", options, problems);
    ASSERT_EQ(problems.size(), 1u);
    EXPECT_EQ(problems[0], "settings.ini:2: no action called ~\\x7f \\x1f (line ignored)");
}

TEST(Settings, WhatIsSavedReadsBackTheSame) {
    testsupport::TempDir folder;
    const std::string path = folder.path() + "/config/ombrelix/settings.ini";
    LaunchOptions chosen;
    chosen.fullscreen = Fullscreen::Yes;
    chosen.volume = 0;
    chosen.keys.setKeyboardKeys(KeyAction::Fire, {'U', platform::VK_SPACE, platform::VK_F5});
    std::string error;
    ASSERT_TRUE(Settings::save(path, chosen, error)) << error;

    LaunchOptions read;
    std::vector<std::string> problems;
    Settings::load(path, read, problems);
    EXPECT_TRUE(problems.empty()) << problems.front();
    EXPECT_EQ(read.fullscreen, Fullscreen::Yes);
    EXPECT_EQ(read.volume, 0);
    for (int i = 0; i < kKeyActionCount; ++i) {
        const KeyAction action = static_cast<KeyAction>(i);
        EXPECT_EQ(read.keys.keys(action), chosen.keys.keys(action)) << KeyBindings::name(action);
    }

    // A full disk is named as the reason, not some input or output error.
    EXPECT_FALSE(Settings::save("/dev/full", chosen, error));
    EXPECT_EQ(error, std::strerror(ENOSPC));
}

} // namespace
} // namespace apptest
