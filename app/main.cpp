// ombrelix: the game in a desktop window (or full screen), started from its data directory.
#include "app/Game.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/SdlWindow.h"

int main() {
    platform::SdlWindow window;
    platform::Clock clock;
    LaunchOptions options;
    options.audio = LaunchOptions::Audio::Device;
    const int exitCode = WinMain(window, clock, options);
    if (!window.hasDisplay()) {
        platform::debugPrintf("ombrelix: no display to open the game window on (%s). Start it "
                              "from a desktop session, or use ombrelix-headless.\n",
                              window.displayError().c_str());
        return kExitWindowFailure;
    }
    return exitCode;
}
