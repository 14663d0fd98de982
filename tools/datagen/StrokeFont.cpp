// Stroke font table (a 4 x 6 design grid per character) and distance queries for painting.
#include "tools/datagen/StrokeFont.h"

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <sstream>

namespace {

const float kGridHeight = 6.0f;
const float kAdvance = 5.8f; // grid units from one character to the next

// Polylines separated by ';', points "x,y" separated by blanks.
struct GlyphStrokes {
    char c;
    const char* strokes;
};
const GlyphStrokes kGlyphTable[] = {
    {'A', "0,0 0,4 2,6 4,4 4,0; 0,2.5 4,2.5"},
    {'B', "0,0 0,6 3,6 4,5 4,4 3,3 0,3; 3,3 4,2 4,1 3,0 0,0"},
    {'C', "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1"},
    {'D', "0,0 0,6 2.5,6 4,4.5 4,1.5 2.5,0 0,0"},
    {'E', "4,6 0,6 0,0 4,0; 0,3 3,3"},
    {'F', "4,6 0,6 0,0; 0,3 3,3"},
    {'G', "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1 4,3 2,3"},
    {'H', "0,0 0,6; 4,0 4,6; 0,3 4,3"},
    {'I', "1,6 3,6; 2,6 2,0; 1,0 3,0"},
    {'J', "1,6 4,6; 3,6 3,1 2,0 1,0 0,1"},
    {'K', "0,0 0,6; 4,6 0,2.5; 1.3,3.5 4,0"},
    {'L', "0,6 0,0 4,0"},
    {'M', "0,0 0,6 2,3 4,6 4,0"},
    {'N', "0,0 0,6 4,0 4,6"},
    {'O', "1,0 0,1 0,5 1,6 3,6 4,5 4,1 3,0 1,0"},
    {'P', "0,0 0,6 3,6 4,5 4,4 3,3 0,3"},
    {'Q', "1,0 0,1 0,5 1,6 3,6 4,5 4,1 3,0 1,0; 2.5,1.5 4,0"},
    {'R', "0,0 0,6 3,6 4,5 4,4 3,3 0,3; 2,3 4,0"},
    {'S', "4,5 3,6 1,6 0,5 0,4 1,3 3,3 4,2 4,1 3,0 1,0 0,1"},
    {'T', "0,6 4,6; 2,6 2,0"},
    {'U', "0,6 0,1 1,0 3,0 4,1 4,6"},
    {'V', "0,6 2,0 4,6"},
    {'W', "0,6 1,0 2,3 3,0 4,6"},
    {'X', "0,0 4,6; 0,6 4,0"},
    {'Y', "0,6 2,3 4,6; 2,3 2,0"},
    {'Z', "0,6 4,6 0,0 4,0"},
    {'0', "1,0 0,1 0,5 1,6 3,6 4,5 4,1 3,0 1,0; 0.6,1.2 3.4,4.8"},
    {'1', "1,5 2,6 2,0; 1,0 3,0"},
    {'2', "0,5 1,6 3,6 4,5 4,4 0,0 4,0"},
    {'3', "0,5 1,6 3,6 4,5 4,4 3,3 1.5,3; 3,3 4,2 4,1 3,0 1,0 0,1"},
    {'4', "3,0 3,6 0,2 4,2"},
    {'5', "4,6 0,6 0,3.5 3,3.5 4,2.5 4,1 3,0 0,0"},
    {'6', "4,5 3,6 1,6 0,5 0,1 1,0 3,0 4,1 4,2 3,3 0,3"},
    {'7', "0,6 4,6 1.5,0"},
    {'8', "1,3 0,4 0,5 1,6 3,6 4,5 4,4 3,3 1,3 0,2 0,1 1,0 3,0 4,1 4,2 3,3"},
    {'9', "0,1 1,0 3,0 4,1 4,5 3,6 1,6 0,5 0,4 1,3 4,3"},
    {'-', "1,3 3,3"},
    {'.', "2,0 2,0.01"},
    {'!', "2,6 2,2; 2,0 2,0.01"},
};

const char* strokesOf(char c) {
    for (const GlyphStrokes& g : kGlyphTable) {
        if (g.c == c) {
            return g.strokes;
        }
    }
    return "";
}

float segmentDistance(float px, float py, float x0, float y0, float x1, float y1) {
    float dx = x1 - x0, dy = y1 - y0;
    float len2 = dx * dx + dy * dy;
    float t = len2 > 0 ? std::clamp(((px - x0) * dx + (py - y0) * dy) / len2, 0.0f, 1.0f) : 0.0f;
    float ex = px - (x0 + t * dx), ey = py - (y0 + t * dy);
    return std::sqrt(ex * ex + ey * ey);
}

} // namespace

StrokeText::StrokeText(const std::string& text, float left, float bottom, float height) {
    const float unit = height / kGridHeight;
    float penX = left;
    for (char c : text) {
        std::string strokes = strokesOf(c);
        Glyph glyph{1e30f, 1e30f, -1e30f, -1e30f, {}};
        std::stringstream lines(strokes);
        std::string line;
        while (std::getline(lines, line, ';')) {
            std::stringstream points(line);
            std::string point;
            bool first = true;
            float lastX = 0, lastY = 0;
            while (points >> point) {
                std::size_t comma = point.find(',');
                float x = penX + std::strtof(point.substr(0, comma).c_str(), nullptr) * unit;
                float y = bottom + std::strtof(point.substr(comma + 1).c_str(), nullptr) * unit;
                if (!first) {
                    glyph.segments.push_back({lastX, lastY, x, y});
                }
                glyph.minX = std::min(glyph.minX, x);
                glyph.maxX = std::max(glyph.maxX, x);
                glyph.minY = std::min(glyph.minY, y);
                glyph.maxY = std::max(glyph.maxY, y);
                lastX = x;
                lastY = y;
                first = false;
            }
        }
        if (!glyph.segments.empty()) {
            glyphs.push_back(glyph);
        }
        penX += kAdvance * unit;
    }
}

float StrokeText::widthFor(const std::string& text, float height) {
    if (text.empty()) {
        return 0;
    }
    const float unit = height / kGridHeight;
    return (static_cast<float>(text.size() - 1) * kAdvance + 4.0f) * unit;
}

float StrokeText::distance(float x, float y) const {
    float best = 1e30f;
    for (const Glyph& g : glyphs) {
        float bx = std::max({g.minX - x, 0.0f, x - g.maxX});
        float by = std::max({g.minY - y, 0.0f, y - g.maxY});
        if (bx * bx + by * by >= best * best) {
            continue;
        }
        for (const Segment& s : g.segments) {
            best = std::min(best, segmentDistance(x, y, s.x0, s.y0, s.x1, s.y1));
        }
    }
    return best;
}
