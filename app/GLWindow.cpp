// Window and context life, the viewport and projection, the fixed GL state and the window
// procedure.
#include "app/GLWindow.h"

#include "app/KeyTable.h"
#include "hud/BitmapFont.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "platform/Window.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {

const char* const kErrorCaption = "ERROR";
const char* const kShutdownCaption = "SHUTDOWN ERROR";

void showError(const char* text) {
    platform::messageBox(text, kErrorCaption, platform::Buttons::Ok, platform::Icon::Warning);
}

void showShutdownError(const char* text) {
    platform::messageBox(text, kShutdownCaption, platform::Buttons::Ok,
                         platform::Icon::Information);
}

// The backend's own reason goes to the log, so a failed start can be told apart.
void logBackendError(const platform::Window& window) {
    if (!window.lastError().empty()) {
        platform::debugPrintf("CreateGLWindow(): %s\n", window.lastError().c_str());
    }
}

// Fails the creation after the step: release everything, then say what went wrong.
bool failCreation(AppState& app, const char* text) {
    logBackendError(*app.pWindow);
    DestroyGLWindow(app);
    showError(text);
    return false;
}

bool glContextReady(const AppState& app) {
    return app.pWindow == nullptr || app.pWindow->hasContext();
}

} // namespace

void ApplyLight1() {
    glLightfv(GL_LIGHT1, GL_AMBIENT, kLight1Ambient);
    glLightfv(GL_LIGHT1, GL_DIFFUSE, kLight1Diffuse);
    glLightfv(GL_LIGHT1, GL_POSITION, kLight1Position);
}

bool CreateGLWindow(AppState& app, const char* title, int width, int height, int bits,
                    bool fullscreen) {
    platform::Window& window = *app.pWindow;
    app.fullscreen = fullscreen;

    if (!window.openDisplay()) {
        logBackendError(window);
        showError("Failed To Register The Window Class.");
        return false;
    }

    if (app.fullscreen && app.fullscreenChangesMode &&
        !window.changeDisplayMode(width, height, bits)) {
        logBackendError(window);
        const platform::Answer answer = platform::messageBox(
            "The Requested Fullscreen Mode Is Not Supported By\nYour Video Card. Use Windowed "
            "Mode Instead?",
            "Kavi GL", platform::Buttons::YesNo, platform::Icon::Warning);
        if (answer != platform::Answer::Yes) {
            platform::messageBox("Program Will Now Close.", kErrorCaption, platform::Buttons::Ok,
                                 platform::Icon::Error);
            return false;
        }
        app.fullscreen = false;
    }

    if (app.fullscreen) {
        window.showCursor(false);
    }

    if (!window.createWindow(title, width, height, app.fullscreen)) {
        return failCreation(app, "Window Creation Error.");
    }

    if (!window.createContext()) {
        // No system error code exists here; the backend's reason is logged just before.
        const unsigned errorCode = 0;
        logBackendError(window);
        DestroyGLWindow(app);
        char text[80];
        std::snprintf(text, sizeof text, "Can't Create A GL Rendering Context: %08X", errorCode);
        showError(text);
        platform::debugOutput(text);
        platform::debugOutput("\n");
        return false;
    }

    if (!window.makeCurrent()) {
        return failCreation(app, "Can't Activate The GL Rendering Context.");
    }

    window.show();
    // What GL really draws into: the requested size, the desktop's in full screen, or more
    // pixels on a high-density screen.
    int drawableWidth = 0;
    int drawableHeight = 0;
    window.drawableSize(drawableWidth, drawableHeight);
    if (drawableWidth > 0 && drawableHeight > 0) {
        ResizeViewport(app, drawableWidth, drawableHeight);
    } else {
        ResizeViewport(app, width, height);
    }

    if (!InitGLState()) {
        return failCreation(app, "Initialization Failed.");
    }
    return true;
}

void DestroyGLWindow(AppState& app) {
    platform::Window& window = *app.pWindow;
    if (app.fullscreen) {
        window.restoreDisplayMode();
        window.showCursor(true);
    }
    if (window.hasContext()) {
        if (!window.releaseCurrent()) {
            showShutdownError("Release Of DC And RC Failed.");
        }
        if (!window.deleteContext()) {
            showShutdownError("Release Rendering Context Failed.");
        }
    }
    if (window.hasWindow() && !window.destroyWindow()) {
        showShutdownError("Could Not Release hWnd.");
    }
    if (!window.closeDisplay()) {
        showShutdownError("Could Not Unregister Class.");
    }
}

void ResizeViewport(AppState& app, int width, int height) {
    app.screenWidth = width;
    app.screenHeight = height;
    if (!glContextReady(app)) {
        // Sizes can arrive while the window is still being made; the explicit call after the
        // context exists sets everything up.
        return;
    }
    const int h = height == 0 ? 1 : height;
    glViewport(0, 0, width, h);
    glMatrixMode(GL_PROJECTION);
    glLoadIdentity();
    gluPerspective(kFieldOfView, static_cast<double>(width) / static_cast<double>(h), kNearPlane,
                   kFarPlane);
    glMatrixMode(GL_MODELVIEW);
    glLoadIdentity();
    // The letters keep their share of the window height, so the font follows every resize.
    app.pFont.reset();
    app.pFont = std::make_unique<BitmapFont>(kFontSizePercent, h);
}

void ApplySolidState(unsigned cullFace) {
    glEnable(GL_TEXTURE_2D);
    glShadeModel(GL_SMOOTH);
    glClearColor(0.0f, 0.0f, 0.0f, 0.5f);
    glClearDepth(1.0);
    glEnable(GL_DEPTH_TEST);
    glDepthFunc(GL_LEQUAL);
    glHint(GL_PERSPECTIVE_CORRECTION_HINT, GL_NICEST);
    glCullFace(cullFace);
    glEnable(GL_CULL_FACE);
    ApplyLight1();
    glEnable(GL_LIGHT1);
    glEnable(GL_LIGHTING);
}

bool InitGLState() {
    std::srand(static_cast<unsigned>(platform::currentTime()));
    ApplySolidState(GL_FRONT);
    return true;
}

platform::LParam GLWindowProc(AppState& app, unsigned message, platform::WParam wParam,
                              platform::LParam lParam) {
    switch (message) {
    case platform::WM_ACTIVATE:
        app.active = platform::highWord(wParam) == 0;
        return 0;
    case platform::WM_KILLFOCUS:
        // A player who turns to another window finds the game waiting; getting the keyboard
        // back leaves it to the player to go on.
        if (app.pContainer != nullptr && app.pPlayer && !LevelOver(app)) {
            SetPaused(app, true);
        }
        return 0;
    case platform::WM_SYSCOMMAND:
        // Screen saver and monitor power-down are swallowed while playing; no other system
        // command needs handling by the game.
        return 0;
    case platform::WM_CLOSE:
        app.pWindow->postQuitMessage(0);
        return 0;
    case platform::WM_KEYDOWN:
        if (wParam < platform::VK_COUNT) {
            app.keyDown[wParam] = true;
        }
        return 0;
    case platform::WM_KEYUP:
        if (wParam < platform::VK_COUNT) {
            app.keyDown[wParam] = false;
        }
        return 0;
    case platform::WM_TOGGLEFULLSCREEN:
        // Alt+Enter: the desktop's own full screen or back to the window, never a mode change
        // and never a question; the new size follows as a WM_SIZE.
        if (app.pWindow->setFullscreen(!app.fullscreen)) {
            app.fullscreen = !app.fullscreen;
            app.pWindow->showCursor(!app.fullscreen);
        }
        return 0;
    case platform::WM_SIZE:
        ResizeViewport(app,
                       static_cast<int>(platform::lowWord(static_cast<std::uintptr_t>(lParam))),
                       static_cast<int>(platform::highWord(static_cast<std::uintptr_t>(lParam))));
        return 0;
    default:
        // Nothing else needs the desktop's default handling here.
        return 0;
    }
}
