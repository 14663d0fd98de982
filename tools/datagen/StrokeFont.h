// A small vector font of straight strokes (capitals, digits, a few signs) for the lettering on
// the cockpit dashboard and the level-end and game-over messages. Letters are drawn by
// thickening the strokes, so any size stays sharp.
#pragma once

#include <string>
#include <vector>

class StrokeText {
public:
    // Lays the text out with its left edge at `left`, its baseline at `bottom` and capitals
    // `height` high, in whatever units the caller paints in (y up).
    StrokeText(const std::string& text, float left, float bottom, float height);

    // Width of the laid-out text for the given capital height.
    static float widthFor(const std::string& text, float height);

    // Distance from (x, y) to the nearest stroke centre line (large when far from all letters).
    float distance(float x, float y) const;

private:
    struct Segment {
        float x0, y0, x1, y1;
    };
    struct Glyph {
        float minX, minY, maxX, maxY;
        std::vector<Segment> segments;
    };
    std::vector<Glyph> glyphs;
};
