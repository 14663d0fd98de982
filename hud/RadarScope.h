// A radar scope over the cockpit: every active element as a dot in its radar colour, placed by
// where it lies relative to the player's ship, seen from above (mode 0) or from the front (1).
#pragma once

#include <vector>

class ElementContainer;

const int kRadarTopView = 0;      // right and view axes
const int kRadarFrontView = 1;    // right and up axes
const float kRadarDotSize = 3.0f; // pixels, on a window 768 pixels high

class RadarScope {
public:
    // (x, y): centre of the scope in the plane one unit in front of the eye.
    RadarScope(ElementContainer* container, int mode, float x, float y);

    // Draws in the current model-view frame, all dots in one batch; touches only colour, point
    // size and smoothing.
    void draw();
    // The dots' size in pixels: 3 on a window 768 pixels high, in proportion on others.
    void setDotSize(float pixels) { fDotSize = pixels; }

    int getMode() const { return iMode; }
    // The last draw's dots (x, y) and their colours (red, green, blue), the ship's first.
    const std::vector<float>& getDots() const { return dots; }
    const std::vector<float>& getDotColours() const { return colours; }
    float getX() const { return fX; }
    float getY() const { return fY; }

private:
    // The dots of one draw (x, y) and their colours (red, green, blue), kept from frame to frame.
    std::vector<float> dots;
    std::vector<float> colours;
    int iMode;
    float fX;
    float fY;
    ElementContainer* pContainer;
    float fDotSize;
};
