// A radar scope over the cockpit: every active element as a dot in its radar colour, placed by
// where it lies relative to the player's ship, seen from above (mode 0) or from the front (1).
#pragma once

#include <cstdint>
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
    // size and smoothing. With the world's radar shortcut, dots at exactly the same spot go once:
    // the last one, which with blending off (as the cockpit draws) covers the same pixels.
    void draw();
    // The dots' size in pixels: 3 on a window 768 pixels high, in proportion on others.
    void setDotSize(float pixels) { fDotSize = pixels; }

    int getMode() const { return iMode; }
    // The last draw's dots (x, y) and their colours (red, green, blue), the ship's first.
    const std::vector<float>& getDots() const { return dots; }
    const std::vector<float>& getDotColours() const { return colours; }
    // How many dots the last draw sent to GL: all of them, or with the world's radar shortcut
    // one per spot.
    std::size_t getDotsSent() const { return dotsSent; }
    float getX() const { return fX; }
    float getY() const { return fY; }

private:
    // Makes room for the world's elements and a fight more, in every buffer, when it has grown.
    void makeRoom(std::size_t entries);
    // Fills sentDots and sentColours, from their back, with the last dot at each spot, in the
    // order the dots came; gives where they start.
    std::size_t keepLastAtEachSpot();

    // The dots of one draw (x, y) and their colours (red, green, blue), kept from frame to frame.
    std::vector<float> dots;
    std::vector<float> colours;
    // The dots sent, one per spot, in the back of these, and the spots seen by this draw: a
    // spot's key is the bits of its x and y; a slot whose mark is not this draw's is free.
    std::vector<float> sentDots;
    std::vector<float> sentColours;
    struct Spot {
        std::uint64_t key;
        std::uint32_t mark;
    };
    std::vector<Spot> spots;
    std::uint32_t drawMark = 0;
    std::size_t dotsSent = 0;
    int iMode;
    float fX;
    float fY;
    ElementContainer* pContainer;
    float fDotSize;
};
