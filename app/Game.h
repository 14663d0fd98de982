// The game's entry routine: start-up, the main loop and shutdown, on whichever window backend
// and clock the program's own main hands it.
#pragma once

#include "app/Campaign.h"
#include "app/LaunchOptions.h"

#include <memory>
#include <string>

namespace platform {
class Clock;
class Window;
} // namespace platform

// Process exit codes.
const int kExitNormal = 0;        // Esc or the window closed
const int kExitWindowFailure = 1; // the window could not be opened (or the player said No)
const int kExitFileFailure = 1;   // a file the player named could not be read or written

// Whether the level file can be read and holds no more objects than a level may; if not, says
// why on standard error in one sentence.
bool CheckLevelFile(const std::string& path);

// What the options ask to play, checked before a window opens: the campaign (with its progress)
// into campaign, or the one level file. False after saying why on standard error.
bool OpenPlay(const LaunchOptions& options, std::unique_ptr<Campaign>& campaign);

// Runs the whole game and gives the process exit code: the campaign when there is one, else the
// options' level file.
int WinMain(platform::Window& window, platform::Clock& clock,
            const LaunchOptions& options = LaunchOptions(),
            std::unique_ptr<Campaign> campaign = nullptr);
