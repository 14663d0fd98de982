// One frame from the player's cockpit: the world through the camera, then in the plane one unit
// in front of the eye the debug text, the crosshair, the cockpit overlay, the level-end and
// game-over messages and the instruments.
#pragma once

#include "app/AppState.h"

// Plane of the text and instruments: eye-space z (world units in front of the eye).
const float kOverlayPlaneZ = -1.0f;

// Renders into the back buffer; the caller swaps. Expects and leaves the model-view matrix mode.
bool DrawFrame(AppState& app);

// The cockpit picture stretched over the whole window, with its see-through texels dropped.
// Leaves the projection matrix mode current, texturing on and the texture bound.
void DrawCockpitOverlay(const AppState& app);
