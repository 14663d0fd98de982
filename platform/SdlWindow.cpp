// SDL2 behind the game's window: window and GL context set-up and release, the full-screen
// mode, events turned into window messages one at a time, and message boxes.
#include "platform/SdlWindow.h"

#include <SDL.h>

#include <utility>

namespace platform {
namespace {

const int kDepthBits = 16;
const int kColourChannelBits = 8;

SDL_Window* findWindow(Uint32 windowId) {
    return SDL_GetWindowFromID(windowId);
}

} // namespace

SdlWindow::SdlWindow() {
    // The game asks for a screen saver pause for as long as it runs, in either mode.
    SDL_SetHint(SDL_HINT_VIDEO_ALLOW_SCREENSAVER, "0");
    displayReady = startVideo();
    if (displayReady) {
        previousHandler = setMessageBoxHandler(&SdlWindow::showMessageBox);
        // Without pad support the keyboard still plays.
        gamepads.start();
    }
}

bool SdlWindow::startVideo() {
    const char* chosen = SDL_getenv("SDL_VIDEODRIVER");
    if (chosen != nullptr && *chosen != '\0') {
        // The player picked a driver: that one or none.
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            return true;
        }
        noDisplayReason = std::string(chosen) + ": " + SDL_GetError();
        return false;
    }
    // SDL would fall back to drivers that draw nowhere; without a screen the game has no
    // window, so those do not count as a display.
    for (int i = 0; i < SDL_GetNumVideoDrivers(); ++i) {
        const std::string driver = SDL_GetVideoDriver(i);
        if (driver == "offscreen" || driver == "dummy" || driver == "evdev") {
            continue;
        }
        // Without a runtime folder there is no compositor to reach, and the attempt would only
        // print the library's own complaint on the player's terminal.
        if (driver == "wayland" && SDL_getenv("XDG_RUNTIME_DIR") == nullptr) {
            noDisplayReason += std::string(noDisplayReason.empty() ? "" : "; ") +
                               "wayland: XDG_RUNTIME_DIR is not set";
            continue;
        }
        SDL_SetHint(SDL_HINT_VIDEODRIVER, driver.c_str());
        if (SDL_InitSubSystem(SDL_INIT_VIDEO) == 0) {
            return true;
        }
        noDisplayReason += (noDisplayReason.empty() ? "" : "; ") + driver + ": " + SDL_GetError();
    }
    if (noDisplayReason.empty()) {
        noDisplayReason = "no video driver for a screen";
    }
    return false;
}

SdlWindow::~SdlWindow() {
    if (context != nullptr) {
        deleteContext();
    }
    if (window != nullptr) {
        destroyWindow();
    }
    if (displayReady) {
        setMessageBoxHandler(std::move(previousHandler));
        gamepads.stop();
        SDL_QuitSubSystem(SDL_INIT_VIDEO);
        SDL_Quit();
    }
}

bool SdlWindow::openDisplay() {
    if (!displayReady) {
        setError("no display: " + noDisplayReason);
        return false;
    }
    SDL_DisableScreenSaver();
    return true;
}

bool SdlWindow::closeDisplay() {
    return true;
}

bool SdlWindow::changeDisplayMode(int width, int height, int bits) {
    SDL_DisplayMode wanted{};
    wanted.w = width;
    wanted.h = height;
    SDL_DisplayMode closest{};
    if (SDL_GetClosestDisplayMode(0, &wanted, &closest) == nullptr) {
        setError(SDL_GetError());
        return false;
    }
    // Desktop modes report 24 colour bits in 32-bit pixels; either counts as true colour.
    const int closestBits = static_cast<int>(SDL_BYTESPERPIXEL(closest.format)) * 8;
    if (closest.w != width || closest.h != height || closestBits < bits) {
        setError("display offers no " + std::to_string(width) + "x" + std::to_string(height) +
                 " mode");
        return false;
    }
    fullscreenModeWanted = true;
    modeWidth = closest.w;
    modeHeight = closest.h;
    return true;
}

void SdlWindow::restoreDisplayMode() {
    if (window != nullptr && fullscreenModeWanted) {
        SDL_SetWindowFullscreen(window, 0);
    }
    fullscreenModeWanted = false;
}

bool SdlWindow::createWindow(const char* title, int width, int height, bool fullscreen) {
    SDL_GL_ResetAttributes();
    SDL_GL_SetAttribute(SDL_GL_RED_SIZE, kColourChannelBits);
    SDL_GL_SetAttribute(SDL_GL_GREEN_SIZE, kColourChannelBits);
    SDL_GL_SetAttribute(SDL_GL_BLUE_SIZE, kColourChannelBits);
    SDL_GL_SetAttribute(SDL_GL_DEPTH_SIZE, kDepthBits);
    SDL_GL_SetAttribute(SDL_GL_DOUBLEBUFFER, 1);
    // Sharp on high-density screens: GL draws every pixel of the screen, not a scaled picture.
    Uint32 flags = SDL_WINDOW_OPENGL | SDL_WINDOW_HIDDEN | SDL_WINDOW_ALLOW_HIGHDPI;
    if (fullscreen && fullscreenModeWanted) {
        flags |= SDL_WINDOW_FULLSCREEN;
    } else {
        // Full screen without a mode of its own covers the desktop at the resolution it has.
        flags |= SDL_WINDOW_RESIZABLE;
        if (fullscreen) {
            flags |= SDL_WINDOW_FULLSCREEN_DESKTOP;
        }
    }
    window = SDL_CreateWindow(title, 0, 0, width, height, flags);
    if (window == nullptr) {
        setError(SDL_GetError());
        return false;
    }
    if ((flags & SDL_WINDOW_FULLSCREEN) != 0) {
        SDL_DisplayMode mode{};
        mode.w = modeWidth;
        mode.h = modeHeight;
        SDL_SetWindowDisplayMode(window, &mode);
    }
    // Letters come as key messages; text input would only add events nobody reads.
    SDL_StopTextInput();
    return true;
}

bool SdlWindow::setFullscreen(bool fullscreen) {
    if (window == nullptr) {
        return false;
    }
    // Leaving a changed mode gives the desktop its own mode back; from then on full screen
    // means the desktop's.
    const Uint32 mode = fullscreen ? static_cast<Uint32>(SDL_WINDOW_FULLSCREEN_DESKTOP) : 0u;
    if (SDL_SetWindowFullscreen(window, mode) != 0) {
        setError(SDL_GetError());
        return false;
    }
    fullscreenModeWanted = false;
    return true;
}

void SdlWindow::drawableSize(int& width, int& height) const {
    width = 0;
    height = 0;
    if (window != nullptr) {
        SDL_GL_GetDrawableSize(window, &width, &height);
    }
}

bool SdlWindow::destroyWindow() {
    if (window == nullptr) {
        return false;
    }
    SDL_DestroyWindow(window);
    window = nullptr;
    return true;
}

bool SdlWindow::createContext() {
    if (window == nullptr) {
        setError("no window");
        return false;
    }
    context = SDL_GL_CreateContext(window);
    if (context == nullptr) {
        setError(SDL_GetError());
        return false;
    }
    int depth = 0;
    SDL_GL_GetAttribute(SDL_GL_DEPTH_SIZE, &depth);
    if (depth < kDepthBits) {
        setError("the GL context has only " + std::to_string(depth) + " depth bits");
        SDL_GL_DeleteContext(context);
        context = nullptr;
        return false;
    }
    return true;
}

bool SdlWindow::makeCurrent() {
    if (window == nullptr || context == nullptr || SDL_GL_MakeCurrent(window, context) != 0) {
        setError(window == nullptr || context == nullptr ? "no context" : SDL_GetError());
        return false;
    }
    if (!swapIntervalAsked) {
        swapIntervalAsked = true;
        // Vertical sync where the driver offers it; without it the game just runs free.
        SDL_GL_SetSwapInterval(1);
    }
    return true;
}

bool SdlWindow::releaseCurrent() {
    return SDL_GL_MakeCurrent(window, nullptr) == 0;
}

bool SdlWindow::deleteContext() {
    if (context == nullptr) {
        return false;
    }
    SDL_GL_DeleteContext(context);
    context = nullptr;
    return true;
}

void SdlWindow::show() {
    if (window == nullptr) {
        return;
    }
    SDL_ShowWindow(window);
    SDL_RaiseWindow(window);
}

void SdlWindow::showCursor(bool visible) {
    SDL_ShowCursor(visible ? SDL_ENABLE : SDL_DISABLE);
}

void SdlWindow::swapBuffers() {
    if (window != nullptr) {
        SDL_GL_SwapWindow(window);
    }
}

void SdlWindow::pumpEvents() {
    SDL_Event event;
    // One system event may give several messages (a minimise is an activation and a size);
    // stop as soon as there is something for the game, so the game sees cause before effect.
    bool posted = false;
    while (!posted && SDL_PollEvent(&event) != 0) {
        posted = translate(event);
    }
}

bool SdlWindow::translate(const SDL_Event& event) {
    switch (event.type) {
    case SDL_QUIT:
        // Asked to end from outside (the last window closed, or a signal): as a close.
        postMessage(WM_CLOSE);
        return true;
    case SDL_KEYDOWN:
    case SDL_KEYUP: {
        const unsigned key = virtualKeyFor(event.key.keysym.sym);
        // Alt+Enter is the desktop's chord for full screen, never the game's Enter.
        if (key == VK_RETURN && event.type == SDL_KEYDOWN &&
            (event.key.keysym.mod & KMOD_ALT) != 0) {
            if (event.key.repeat == 0) {
                postMessage(WM_TOGGLEFULLSCREEN);
            }
            return event.key.repeat == 0;
        }
        if (key == 0) {
            return false;
        }
        const bool down = event.type == SDL_KEYDOWN;
        // Repeat count 1, the scan code, the key's previous state and the transition bit.
        const unsigned scanCode = static_cast<unsigned>(event.key.keysym.scancode) & 0xFFu;
        std::uintptr_t bits = 1u | (scanCode << 16);
        if (!down || event.key.repeat != 0) {
            bits |= 1u << 30;
        }
        if (!down) {
            bits |= 1u << 31;
        }
        postMessage(down ? WM_KEYDOWN : WM_KEYUP, key, static_cast<LParam>(bits));
        return true;
    }
    case SDL_WINDOWEVENT: {
        SDL_Window* source = findWindow(event.window.windowID);
        if (source == nullptr || source != window) {
            return false;
        }
        const bool minimised = (SDL_GetWindowFlags(window) & SDL_WINDOW_MINIMIZED) != 0;
        switch (event.window.event) {
        case SDL_WINDOWEVENT_CLOSE:
            postMessage(WM_CLOSE);
            return true;
        case SDL_WINDOWEVENT_MINIMIZED:
            postMessage(WM_ACTIVATE, WA_INACTIVE | (1u << 16));
            postMessage(WM_SIZE, SIZE_MINIMIZED, makeLParam(0, 0));
            return true;
        case SDL_WINDOWEVENT_RESTORED: {
            int width = 0;
            int height = 0;
            SDL_GL_GetDrawableSize(window, &width, &height);
            postMessage(WM_SIZE, SIZE_RESTORED,
                        makeLParam(static_cast<unsigned>(width), static_cast<unsigned>(height)));
            postMessage(WM_ACTIVATE, WA_ACTIVE);
            return true;
        }
        case SDL_WINDOWEVENT_FOCUS_GAINED:
            postMessage(WM_ACTIVATE, WA_ACTIVE | (minimised ? 1u << 16 : 0u));
            postMessage(WM_SETFOCUS);
            return true;
        case SDL_WINDOWEVENT_FOCUS_LOST:
            postMessage(WM_ACTIVATE, WA_INACTIVE | (minimised ? 1u << 16 : 0u));
            postMessage(WM_KILLFOCUS);
            return true;
        case SDL_WINDOWEVENT_SIZE_CHANGED: {
            if (minimised) {
                return false;
            }
            int width = 0;
            int height = 0;
            SDL_GL_GetDrawableSize(window, &width, &height);
            const bool maximised = (SDL_GetWindowFlags(window) & SDL_WINDOW_MAXIMIZED) != 0;
            postMessage(WM_SIZE, maximised ? SIZE_MAXIMIZED : SIZE_RESTORED,
                        makeLParam(static_cast<unsigned>(width), static_cast<unsigned>(height)));
            return true;
        }
        default:
            return false;
        }
    }
    default:
        return gamepads.translate(event, *this);
    }
}

unsigned SdlWindow::virtualKeyFor(int sdlKeycode) {
    // Letters by what the key says on the player's layout: SDL key codes, not scan codes.
    if (sdlKeycode >= SDLK_a && sdlKeycode <= SDLK_z) {
        return static_cast<unsigned>('A' + (sdlKeycode - SDLK_a));
    }
    if (sdlKeycode >= SDLK_0 && sdlKeycode <= SDLK_9) {
        return static_cast<unsigned>('0' + (sdlKeycode - SDLK_0));
    }
    if (sdlKeycode >= SDLK_F1 && sdlKeycode <= SDLK_F12) {
        return VK_F1 + static_cast<unsigned>(sdlKeycode - SDLK_F1);
    }
    if (sdlKeycode >= SDLK_KP_1 && sdlKeycode <= SDLK_KP_9) {
        return VK_NUMPAD0 + 1 + static_cast<unsigned>(sdlKeycode - SDLK_KP_1);
    }
    switch (sdlKeycode) {
    case SDLK_ESCAPE:
        return VK_ESCAPE;
    case SDLK_SPACE:
        return VK_SPACE;
    case SDLK_RETURN:
    case SDLK_KP_ENTER:
        return VK_RETURN;
    case SDLK_TAB:
        return VK_TAB;
    case SDLK_BACKSPACE:
        return VK_BACK;
    case SDLK_LSHIFT:
    case SDLK_RSHIFT:
        return VK_SHIFT;
    case SDLK_LCTRL:
    case SDLK_RCTRL:
        return VK_CONTROL;
    case SDLK_LALT:
    case SDLK_RALT:
        return VK_MENU;
    case SDLK_PAUSE:
        return VK_PAUSE;
    case SDLK_PAGEUP:
        return VK_PRIOR;
    case SDLK_PAGEDOWN:
        return VK_NEXT;
    case SDLK_END:
        return VK_END;
    case SDLK_HOME:
        return VK_HOME;
    case SDLK_LEFT:
        return VK_LEFT;
    case SDLK_UP:
        return VK_UP;
    case SDLK_RIGHT:
        return VK_RIGHT;
    case SDLK_DOWN:
        return VK_DOWN;
    case SDLK_INSERT:
        return VK_INSERT;
    case SDLK_DELETE:
        return VK_DELETE;
    case SDLK_KP_0:
        return VK_NUMPAD0;
    default:
        return 0;
    }
}

Answer SdlWindow::showMessageBox(const MessageBoxRequest& request) {
    const int kYes = 1;
    const int kNo = 0;
    const int kOk = 2;
    SDL_MessageBoxButtonData buttons[2] = {};
    int count = 0;
    if (request.buttons == Buttons::YesNo) {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT, kYes, "Yes"};
        buttons[1] = {SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT, kNo, "No"};
        count = 2;
    } else {
        buttons[0] = {SDL_MESSAGEBOX_BUTTON_RETURNKEY_DEFAULT |
                          SDL_MESSAGEBOX_BUTTON_ESCAPEKEY_DEFAULT,
                      kOk, "OK"};
        count = 1;
    }
    Uint32 flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT | SDL_MESSAGEBOX_INFORMATION;
    if (request.icon == Icon::Error) {
        flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT | SDL_MESSAGEBOX_ERROR;
    } else if (request.icon == Icon::Warning) {
        flags = SDL_MESSAGEBOX_BUTTONS_LEFT_TO_RIGHT | SDL_MESSAGEBOX_WARNING;
    }
    SDL_MessageBoxData data{};
    data.flags = flags;
    data.window = nullptr;
    data.title = request.caption.c_str();
    data.message = request.text.c_str();
    data.numbuttons = count;
    data.buttons = buttons;
    int pressed = -1;
    if (SDL_ShowMessageBox(&data, &pressed) != 0) {
        // A box that cannot be shown still has to be read and answered.
        return debugMessageBox(request);
    }
    if (request.buttons == Buttons::YesNo) {
        return pressed == kYes ? Answer::Yes : Answer::No;
    }
    return Answer::Ok;
}

} // namespace platform
