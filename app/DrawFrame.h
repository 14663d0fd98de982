// One frame from the player's cockpit: the world through the camera, then in the plane one unit
// in front of the eye the debug text, the crosshair, the cockpit overlay, the level-end and
// game-over messages and the instruments.
#pragma once

#include "app/AppState.h"

// Plane of the text and instruments: eye-space z (world units in front of the eye).
const float kOverlayPlaneZ = -1.0f;

// Renders into the back buffer; the caller swaps. Expects and leaves the model-view matrix mode.
bool DrawFrame(AppState& app);

// Where the 4:3 cockpit picture lies in the window, in pixels from its left edge: as high as the
// window and four thirds as wide, centred, so the instruments land in their frames on any
// screen (a wider window shows side strips beside it, a narrower one crops it at both sides).
// The whole window when the overlays are stretched, and on every 4:3 window.
struct OverlayBox {
    float left;
    float width;
};
OverlayBox CockpitBox(const AppState& app);

// The cockpit picture over the box, with its see-through texels dropped. Leaves the projection
// matrix mode current, texturing on and the texture bound.
void DrawCockpitOverlay(const AppState& app, const OverlayBox& box);
