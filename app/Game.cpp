// Start-up builds the window, the world, the ship, the instruments and the overlays; the loop
// takes one window message or draws one timed frame per pass; shutdown releases the window and
// the world.
#include "app/Game.h"

#include "app/AppState.h"
#include "app/Campaign.h"
#include "app/DrawFrame.h"
#include "app/GLWindow.h"
#include "app/KeyTable.h"
#include "app/SoundScape.h"
#include "assets/ObjectTexture.h"
#include "audio/OpenAlSound.h"
#include "game/EnemyFighter.h"
#include "game/PlayerShip.h"
#include "hud/EnergyBar.h"
#include "hud/RadarScope.h"
#include "level/LevelReader.h"
#include "level/LevelRecorder.h"
#include "platform/Clock.h"
#include "platform/Files.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cstdlib>

namespace {

const char* const kTitle = "Ombrelix";
const char* const kCockpitFile = "data/texture/cokpit.tga";
const char* const kInfoFile = "data/texture/info.tga";
const char* const kCockpitSidesFile = "data/texture/cokpit-side.tga";
const char* const kCampaignFile = "data/texture/campaign.tga";
const double kTimeUnitsPerSecond = 20.0;
const double kIntroSeconds = 3.0; // a campaign level's opening card, in frame time

// Instrument placement in the plane one unit in front of the eye.
const float kTopRadarX = 0.3f;
const float kFrontRadarX = -0.3f;
const float kRadarY = -0.337f;
const float kEnergyBarX = -0.157f;
const float kEnergyBarY = -0.348f;

// The sound output the options ask for; silence when they ask for none.
std::unique_ptr<SoundSystem> makeSound(const LaunchOptions& options) {
    if (options.audio == LaunchOptions::Audio::None) {
        return std::make_unique<SoundSystem>();
    }
    OpenAlSound::Settings settings;
    settings.output = options.audio == LaunchOptions::Audio::File ? OpenAlSound::Output::File
                                                                  : OpenAlSound::Output::Device;
    settings.outFile = options.audioFile;
    settings.volume = std::clamp(options.volume, 0, LaunchOptions::kMaxVolume);
    settings.muted = options.mute;
    return std::make_unique<OpenAlSound>(settings);
}

// The one place a world is made, at start-up and on every new game: a fresh container with the
// level, the sky, a new ship, the instruments and the dust, and the enemies' shared behaviour
// back at its start.
void buildWorld(AppState& app, const LaunchOptions& options) {
    EnemyFighter::resetSharedState();
    app.pContainer = ElementContainer::getInstance();
    app.pContainer->drawingShortcuts = kShortcutsAll & ~options.plainDrawing;
    Campaign* campaign = app.pCampaign.get();
    app.pContainer->loadFromXMLFile(campaign != nullptr ? campaign->level().file.c_str()
                                                        : options.levelFile.c_str());
    Object3D* sky = app.pContainer->addElement(kKindOuterSpace);
    app.pPlayer = std::make_unique<PlayerShip>(app.pContainer, sky);
    app.pTopRadar =
        std::make_unique<RadarScope>(app.pContainer, kRadarTopView, kTopRadarX, kRadarY);
    app.pFrontRadar =
        std::make_unique<RadarScope>(app.pContainer, kRadarFrontView, kFrontRadarX, kRadarY);
    app.pEnergyBar = std::make_unique<EnergyBar>(app.pPlayer.get(), kEnergyBarX, kEnergyBarY);
    // The dust takes the container's player when it is made, so it comes after the ship.
    app.pContainer->addElement(kKindSpaceDust);

    // The sound output lives in the application state, so a world built again is heard through
    // the same output.
    app.pContainer->setSound(app.pSound.get());
    app.pSoundScape = std::make_unique<SoundScape>(*app.pContainer, *app.pPlayer, *app.pEnergyBar);

    // Every world starts flying, but a campaign level first shows its card.
    app.paused = false;
    app.keysCardShown = false;
    app.introSeconds = 0.0;
    if (campaign != nullptr) {
        // The card holds the world a while, so every shield is put round its owner now, where
        // the owner's first step would put it.
        for (auto& element : *app.pContainer) {
            if (Object3D* shield = element->getShield()) {
                shield->setPos(element->getPos(0), element->getPos(1), element->getPos(2));
            }
        }
        app.introSeconds = kIntroSeconds;
        platform::debugPrintf("WinMain(): campaign level %zu of %zu: %s (%s)\n",
                              campaign->index() + 1, campaign->size(),
                              campaign->level().name.c_str(), campaign->level().id.c_str());
    }
}

// The cockpit and message pictures, loaded once for the whole run.
void loadOverlays(AppState& app) {
    app.pCockpit = std::make_unique<ObjectTexture>(kCockpitFile);
    if (app.pCockpit->createTexture() != 0) {
        platform::debugOutput("WinMain(): cockpit texture loaded/created successfully.");
    }
    app.cockpitTexture = app.pCockpit->getTextureId();
    app.pInfo = std::make_unique<ObjectTexture>(kInfoFile);
    if (app.pInfo->createTexture() != 0) {
        platform::debugOutput("WinMain(): text texture loaded/created successfully.");
    }
    app.infoTexture = app.pInfo->getTextureId();
    // Only wide windows show it; without it they show the world beside the cockpit.
    app.pCockpitSides = std::make_unique<ObjectTexture>(kCockpitSidesFile);
    app.pCockpitSides->createTexture();
    app.cockpitSidesTexture = app.pCockpitSides->getTextureId();
    if (app.pCampaign) {
        app.pCampaignPicture = std::make_unique<ObjectTexture>(kCampaignFile);
        app.pCampaignPicture->createTexture();
        app.campaignTexture = app.pCampaignPicture->getTextureId();
    }
}

// Enter after LEVEL COMPLETE or GAME OVER: the next level of the campaign, or the level again
// from its file. The drawing switches are the player's, not the world's, so they carry over.
void playAgain(AppState& app, const LaunchOptions& options) {
    const bool again = !app.pCampaign || !app.pCampaign->levelCompleted();
    if (app.pCampaign) {
        app.pCampaign->goOn();
    }
    const bool displayLists = app.pContainer->bDisplayLists;
    const bool vertexArrays = app.pContainer->bVertexArrays;
    const int textureFilter = app.pContainer->iTextureFilter;
    app.pSoundScape.reset(); // it listens to the ship and the bar that go next
    app.pEnergyBar.reset();
    app.pTopRadar.reset();
    app.pFrontRadar.reset();
    app.pPlayer.reset();
    delete app.pContainer;
    app.pContainer = ElementContainer::getInstance();
    app.pContainer->bDisplayLists = displayLists;
    app.pContainer->bVertexArrays = vertexArrays;
    app.pContainer->iTextureFilter = textureFilter;
    buildWorld(app, options);
    if (again) {
        platform::debugOutput("WinMain(): level started again\n");
    }
}

// The one place that decides what Enter, P and the pad's Start (bound to both) do: while the
// level is on, P and Start pause and go on, and Enter does nothing (taken all the same, so an
// early press does not wait for the level's end); once it is over, Enter and Start go on.
void goOnOrPause(AppState& app, const LaunchOptions& options) {
    const bool goOn = TakeAction(app, KeyAction::PlayAgain);
    const bool pause = TakeAction(app, KeyAction::Pause);
    if (LevelOver(app)) {
        if (goOn) {
            playAgain(app, options);
        }
    } else if (pause) {
        SetPaused(app, !app.paused);
    }
}

// The sound holds while the player does: paused, or reading the keys card.
void followPause(AppState& app) {
    const bool hold = app.paused || app.keysCardShown;
    if (app.pSound && app.pSound->isPaused() != hold) {
        app.pSound->setPaused(hold);
    }
}

// Draws, swaps and times one frame, then advances the world and the ship by that time, unless
// something holds the world: then only the level's opening card counts down (by itself).
void playFrame(AppState& app) {
    const std::int64_t t0 = app.pClock->counter();
    DrawFrame(app);
    app.pWindow->swapBuffers();
    const std::int64_t t1 = app.pClock->counter();
    const double elapsed = static_cast<double>(t1 - t0) / static_cast<double>(app.counterFrequency);
    app.lastFrameTime = elapsed;
    if (app.worldHeld()) {
        if (!app.paused && !app.keysCardShown) {
            app.introSeconds = std::max(0.0, app.introSeconds - elapsed);
        }
        if (app.pSound) {
            app.pSound->update(elapsed); // a mix in step with the frames goes on, silent
        }
        return;
    }
    const bool flying = !LevelOver(app);
    app.pContainer->update(elapsed);
    app.pPlayer->update(elapsed * kTimeUnitsPerSecond);
    if (app.pSoundScape) {
        app.pSoundScape->update(elapsed);
    }
    Campaign* campaign = app.pCampaign.get();
    if (campaign == nullptr || !flying) {
        return;
    }
    campaign->addLevelTime(elapsed);
    // Won only with the ship still whole: a target that takes the ship with it is a game over.
    if (app.pContainer->bLevelEnded && app.pPlayer->getHealth() > 0.0f) {
        campaign->completeLevel();
        platform::debugPrintf("WinMain(): level %s completed in %.3f s, best %.3f s\n",
                              campaign->level().id.c_str(), campaign->levelTime(),
                              campaign->bestTime());
    }
}

void reportGLError() {
    const GLenum code = glGetError();
    if (code != GL_NO_ERROR) {
        platform::messageBox(reinterpret_cast<const char*>(gluErrorString(code)), "OpenGL error",
                             platform::Buttons::Ok, platform::Icon::None);
    }
}

} // namespace

bool OpenPlay(const LaunchOptions& options, std::unique_ptr<Campaign>& campaign) {
    if (options.campaignFile.empty()) {
        return CheckLevelFile(options.levelFile);
    }
    campaign = Campaign::open(options);
    return campaign != nullptr;
}

bool CheckLevelFile(const std::string& path) {
    std::string bytes;
    std::string why;
    if (!platform::readFile(path, platform::kDocumentFileLimit, bytes, why)) {
        platform::warn("cannot read the level file %s: %s", path.c_str(), why.c_str());
        return false;
    }
    // Counted now, before the window and the world: a level over the limit is never started.
    LevelRecorder objects;
    LevelReader reader(objects, LevelReader::Log::Quiet);
    reader.readBytes(bytes.data(), bytes.size(), path.c_str());
    if (reader.overLimit()) {
        platform::warn("the level file %s holds %s", path.c_str(), reader.limitExceeded().c_str());
        return false;
    }
    return true;
}

int WinMain(platform::Window& window, platform::Clock& clock, const LaunchOptions& options,
            std::unique_ptr<Campaign> campaign) {
    AppState app;
    app.pCampaign = std::move(campaign);
    app.pWindow = &window;
    app.pClock = &clock;
    app.counterFrequency = clock.frequency();
    std::srand(static_cast<unsigned>(platform::currentTime()));

    app.screenWidth = 1024;
    app.screenHeight = 768;
    app.screenBits = 32;
    app.fullscreen = false;

    platform::debugOutput("Logging started *********************");

    if (options.fullscreen == LaunchOptions::Fullscreen::Ask) {
        if (platform::messageBox("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?",
                                 platform::Buttons::YesNo,
                                 platform::Icon::Question) == platform::Answer::Yes) {
            app.fullscreen = true;
        }
    } else {
        // Answered on the command line or in the settings.
        app.fullscreen = options.fullscreen == LaunchOptions::Fullscreen::Yes;
    }
    app.keys = options.keys;
    app.fullscreenChangesMode =
        options.fullscreenMode == LaunchOptions::FullscreenMode::Mode1024x768;

    if (!CreateGLWindow(app, kTitle, app.screenWidth, app.screenHeight, app.screenBits,
                        app.fullscreen)) {
        return kExitWindowFailure;
    }
    platform::debugOutput("CreateGLWindow() succeeded");

    app.pSound = makeSound(options);
    buildWorld(app, options);
    loadOverlays(app);

    bool done = false;
    while (!done) {
        platform::Message message;
        if (window.peekMessage(message)) {
            if (message.message == platform::WM_QUIT) {
                done = true;
            } else {
                GLWindowProc(app, message.message, message.wParam, message.lParam);
            }
        } else {
            if (app.active) {
                if (ActionHeld(app, KeyAction::Quit)) {
                    done = true;
                } else {
                    playFrame(app);
                }
            }
            HandleKeys(app);
            goOnOrPause(app, options);
            followPause(app);
        }
        reportGLError();
    }

    DestroyGLWindow(app);
    platform::debugOutput("done            ---------------------\n");
    delete app.pContainer;
    app.pContainer = nullptr;
    return kExitNormal;
}
