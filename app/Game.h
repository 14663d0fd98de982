// The game's entry routine: start-up, the main loop and shutdown, on whichever window backend
// and clock the program's own main hands it.
#pragma once

#include "app/LaunchOptions.h"

namespace platform {
class Clock;
class Window;
} // namespace platform

// Process exit codes.
const int kExitNormal = 0;        // Esc or the window closed
const int kExitWindowFailure = 1; // the window could not be opened (or the player said No)

// Runs the whole game and gives the process exit code.
int WinMain(platform::Window& window, platform::Clock& clock,
            const LaunchOptions& options = LaunchOptions());
