// A radar scope over the cockpit: every active element as a dot in its radar colour, placed by
// where it lies relative to the player's ship, seen from above (mode 0) or from the front (1).
#pragma once

class ElementContainer;

const int kRadarTopView = 0;   // right and view axes
const int kRadarFrontView = 1; // right and up axes

class RadarScope {
public:
    // (x, y): centre of the scope in the plane one unit in front of the eye.
    RadarScope(ElementContainer* container, int mode, float x, float y);

    // Draws in the current model-view frame; touches only colour, point size and smoothing.
    void draw();

    int getMode() const { return iMode; }
    float getX() const { return fX; }
    float getY() const { return fY; }

private:
    int iMode;
    float fX;
    float fY;
    ElementContainer* pContainer;
};
