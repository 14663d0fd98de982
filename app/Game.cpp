// Start-up builds the window, the world, the ship, the instruments and the overlays; the loop
// takes one window message or draws one timed frame per pass; shutdown releases the window and
// the world.
#include "app/Game.h"

#include "app/AppState.h"
#include "app/DrawFrame.h"
#include "app/GLWindow.h"
#include "app/KeyTable.h"
#include "assets/ObjectTexture.h"
#include "game/PlayerShip.h"
#include "hud/EnergyBar.h"
#include "hud/RadarScope.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/Window.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdlib>

namespace {

const char* const kTitle = "Ombrelix";
const char* const kCockpitFile = "data/texture/cokpit.tga";
const char* const kInfoFile = "data/texture/info.tga";
const double kTimeUnitsPerSecond = 20.0;

// Instrument placement in the plane one unit in front of the eye.
const float kTopRadarX = 0.3f;
const float kFrontRadarX = -0.3f;
const float kRadarY = -0.337f;
const float kEnergyBarX = -0.157f;
const float kEnergyBarY = -0.348f;

void buildWorld(AppState& app, const LaunchOptions& options) {
    app.pContainer = ElementContainer::getInstance();
    app.pContainer->drawingShortcuts = kShortcutsAll & ~options.plainDrawing;
    app.pContainer->loadFromXMLFile(options.levelFile.c_str());
    Object3D* sky = app.pContainer->addElement(kKindOuterSpace);
    app.pPlayer = std::make_unique<PlayerShip>(app.pContainer, sky);
    app.pTopRadar =
        std::make_unique<RadarScope>(app.pContainer, kRadarTopView, kTopRadarX, kRadarY);
    app.pFrontRadar =
        std::make_unique<RadarScope>(app.pContainer, kRadarFrontView, kFrontRadarX, kRadarY);
    app.pEnergyBar = std::make_unique<EnergyBar>(app.pPlayer.get(), kEnergyBarX, kEnergyBarY);
    // The dust takes the container's player when it is made, so it comes after the ship.
    app.pContainer->addElement(kKindSpaceDust);

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
}

// Draws, swaps and times one frame, then advances the world and the ship by that time.
void playFrame(AppState& app) {
    const std::int64_t t0 = app.pClock->counter();
    DrawFrame(app);
    app.pWindow->swapBuffers();
    const std::int64_t t1 = app.pClock->counter();
    const double elapsed = static_cast<double>(t1 - t0) / static_cast<double>(app.counterFrequency);
    app.lastFrameTime = elapsed;
    app.pContainer->update(elapsed);
    app.pPlayer->update(elapsed * kTimeUnitsPerSecond);
}

void reportGLError() {
    const GLenum code = glGetError();
    if (code != GL_NO_ERROR) {
        platform::messageBox(reinterpret_cast<const char*>(gluErrorString(code)), "OpenGL error",
                             platform::Buttons::Ok, platform::Icon::None);
    }
}

} // namespace

int WinMain(platform::Window& window, platform::Clock& clock, const LaunchOptions& options) {
    AppState app;
    app.pWindow = &window;
    app.pClock = &clock;
    app.counterFrequency = clock.frequency();
    std::srand(static_cast<unsigned>(platform::currentTime()));

    app.screenWidth = 1024;
    app.screenHeight = 768;
    app.screenBits = 32;
    app.fullscreen = false;

    platform::debugOutput("Logging started *********************");

    if (platform::messageBox("Would You Like To Run In Fullscreen Mode?", "Start FullScreen?",
                             platform::Buttons::YesNo,
                             platform::Icon::Question) == platform::Answer::Yes) {
        app.fullscreen = true;
    }

    if (!CreateGLWindow(app, kTitle, app.screenWidth, app.screenHeight, app.screenBits,
                        app.fullscreen)) {
        return kExitWindowFailure;
    }
    platform::debugOutput("CreateGLWindow() succeeded");

    buildWorld(app, options);

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
                if (app.keyDown[platform::VK_ESCAPE]) {
                    done = true;
                } else {
                    playFrame(app);
                }
            }
            HandleKeys(app);
        }
        reportGLError();
    }

    DestroyGLWindow(app);
    platform::debugOutput("done            ---------------------\n");
    delete app.pContainer;
    app.pContainer = nullptr;
    return kExitNormal;
}
