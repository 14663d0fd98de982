// The game's application state: one instance, owned by the entry routine for the whole run and
// handed to the window procedure, the frame renderer and the key table.
#pragma once

#include "app/KeyBindings.h"
#include "platform/Messages.h"

#include <cstdint>
#include <memory>
#include <vector>

class BitmapFont;
class Campaign;
class ElementContainer;
class EnergyBar;
class ObjectTexture;
class PlayerShip;
class RadarScope;
class SoundScape;
class SoundSystem;

namespace platform {
class Clock;
class Window;
} // namespace platform

// Kept between frames by DrawFrame; all zero at start.
struct FrameState {
    float framesPerSecond = 0.0f;
    float lastRateTime = 0.0f; // seconds on the millisecond clock
    std::uint32_t frameCount = 0;
    unsigned crosshairList = 0; // compiled on the first frame
    // Where the cockpit overlay matters, worked out once from its texture's alpha for a
    // texture and window size: window boxes (x, y, width, height) where some texel can cover
    // the world, and the one box outside which nothing of the world can show.
    unsigned overlayMappedTexture = 0;
    unsigned overlayMappedSides = 0;
    int overlayMappedSize[2] = {0, 0};
    std::vector<int> overlayBoxes;
    int seeThroughBox[4] = {0, 0, 0, 0};
};

struct AppState {
    AppState();
    ~AppState();
    AppState(const AppState&) = delete;
    AppState& operator=(const AppState&) = delete;

    int screenWidth = 1024; // pixels
    int screenHeight = 768;
    int screenBits = 32;
    bool fullscreen = false;
    // Full screen by switching the display to the game's own mode (which it may refuse), rather
    // than covering the desktop as it is.
    bool fullscreenChangesMode = false;
    bool active = true;
    bool keyDown[platform::VK_COUNT] = {};
    KeyBindings keys; // which keys in keyDown do the player's actions
    bool wireframe = false;

    ElementContainer* pContainer = nullptr; // the world; deleted by the entry routine at the end
    std::unique_ptr<PlayerShip> pPlayer;
    std::unique_ptr<RadarScope> pTopRadar;
    std::unique_ptr<RadarScope> pFrontRadar;
    std::unique_ptr<EnergyBar> pEnergyBar;
    std::unique_ptr<BitmapFont> pFont;
    std::unique_ptr<ObjectTexture> pCockpit;
    std::unique_ptr<ObjectTexture> pInfo;
    std::unique_ptr<ObjectTexture> pCockpitSides; // the strips beside the cockpit on wide windows
    std::unique_ptr<ObjectTexture> pCampaignPicture; // with a campaign only
    unsigned cockpitTexture = 0;
    unsigned infoTexture = 0;
    unsigned cockpitSidesTexture = 0;
    unsigned campaignTexture = 0; // "CAMPAIGN COMPLETE", in place of the level's end after the last
    int objectDumpCounter = 0;
    std::int64_t counterFrequency = 1; // ticks per second
    double lastFrameTime = 0.0;        // seconds

    FrameState frame;

    // The campaign being played; null when one level file is played alone.
    std::unique_ptr<Campaign> pCampaign;
    // What holds the world while frames go on being drawn: the player's pause (P, or the window
    // losing the keyboard), the keys card (F1), and the card that opens each campaign level.
    bool paused = false;
    bool keysCardShown = false;
    double introSeconds = 0.0; // left of the level's opening card
    bool worldHeld() const { return paused || keysCardShown || introSeconds > 0.0; }

    // The sound output, made from the launch options; outlives every world built in the run.
    std::unique_ptr<SoundSystem> pSound;
    // The cockpit's sound of the current world; made again with every world.
    std::unique_ptr<SoundScape> pSoundScape;

    // The window with its GL context and message queue, and the clocks; not owned.
    platform::Window* pWindow = nullptr;
    platform::Clock* pClock = nullptr;
};
