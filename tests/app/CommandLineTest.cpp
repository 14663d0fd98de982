// The desktop game's command line: every option. (Help, version, refusals and the launcher's
// start folder are the end-to-end stories'.)
#include "app/CommandLine.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <functional>

namespace apptest {
namespace {

using Outcome = CommandLine::Outcome;
using Fullscreen = LaunchOptions::Fullscreen;

struct OptionCase {
    std::vector<std::string> arguments;
    std::function<bool(const LaunchOptions&, const CommandLine::Result&)> took;
};

TEST(CommandLine, EachOptionLandsInTheLaunchOptions) {
    unsetenv("OMBRELIX_START_DIR");
    const OptionCase cases[] = {
        {{}, [](auto& o, auto&) { return o.fullscreen == Fullscreen::Ask && o.volume == 100; }},
        {{"--fullscreen"}, [](auto& o, auto&) { return o.fullscreen == Fullscreen::Yes; }},
        {{"-f"}, [](auto& o, auto&) { return o.fullscreen == Fullscreen::Yes; }},
        {{"--windowed"}, [](auto& o, auto&) { return o.fullscreen == Fullscreen::No; }},
        {{"-w"}, [](auto& o, auto&) { return o.fullscreen == Fullscreen::No; }},
        {{"--level", "my.xml"}, [](auto& o, auto&) { return o.levelFile == "my.xml"; }},
        {{"--level=/tmp/my.xml"}, [](auto& o, auto&) { return o.levelFile == "/tmp/my.xml"; }},
        {{"--volume", "0"}, [](auto& o, auto&) { return o.volume == 0; }},
        {{"--volume=100"}, [](auto& o, auto&) { return o.volume == 100; }},
        {{"--mute"}, [](auto& o, auto&) { return o.mute; }},
        {{"--log", "game.log"}, [](auto& o, auto&) { return o.logFile == "game.log"; }},
        {{"--log", "stderr"}, [](auto& o, auto&) { return o.logFile == "stderr"; }},
        {{"--settings", "s.ini"}, [](auto&, auto& r) { return r.settingsFile == "s.ini"; }},
        {{"--save-settings"}, [](auto&, auto& r) { return r.saveSettings; }},
        {{"--windowed", "--"}, [](auto& o, auto&) { return o.fullscreen == Fullscreen::No; }},
    };
    for (const OptionCase& c : cases) {
        LaunchOptions options;
        const CommandLine::Result result = CommandLine::parse(c.arguments, options);
        const std::string said = c.arguments.empty() ? "(none)" : c.arguments[0];
        EXPECT_EQ(result.outcome, Outcome::Play) << said << ": " << result.error;
        EXPECT_TRUE(c.took(options, result)) << said;
    }
}

} // namespace
} // namespace apptest
