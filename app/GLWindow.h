// The game window and its GL context: opening (windowed or full screen), closing, keeping the
// viewport, projection and font in step with the window size, the fixed GL state, and the
// window procedure that feeds the key table and the activation flag.
#pragma once

#include "app/AppState.h"
#include "platform/Messages.h"

// Light 1, which sits just behind the eye and moves with the camera.
const float kLight1Ambient[4] = {0.5f, 0.5f, 0.5f, 1.0f};
const float kLight1Diffuse[4] = {1.0f, 1.0f, 1.0f, 1.0f};
const float kLight1Position[4] = {0.0f, 0.0f, 2.0f, 1.0f}; // eye coordinates

const double kFieldOfView = 45.0;    // degrees, vertical
const double kNearPlane = 1.0;       // world units
const double kFarPlane = 12000.0;    // world units
const float kFontSizePercent = 2.0f; // letter height, percent of the window height

// Opens the window with a current GL context, viewport, projection and fixed state. False after
// the failure's message box, with everything acquired released again.
bool CreateGLWindow(AppState& app, const char* title, int width, int height, int bits,
                    bool fullscreen);
// Restores the display mode and releases the context, window and display; reports each failure
// and goes on.
void DestroyGLWindow(AppState& app);
// Viewport, 45-degree projection and a font sized for the new height.
void ResizeViewport(AppState& app, int width, int height);
bool InitGLState();
// Light 1's ambient, diffuse and position, with the model-view matrix as it stands.
void ApplyLight1();
// The fixed solid-drawing state with lighting, culling the given faces (GL_FRONT or GL_BACK).
void ApplySolidState(unsigned cullFace);
platform::LParam GLWindowProc(AppState& app, unsigned message, platform::WParam wParam,
                              platform::LParam lParam);
