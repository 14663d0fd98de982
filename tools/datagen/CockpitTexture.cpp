// Paints the cockpit overlay in window coordinates: every texel is mapped to the window pixel
// it covers, so the round scopes stay round although the texture is stretched.
#include "tools/datagen/CockpitTexture.h"

#include "tools/datagen/ByteSink.h"
#include "tools/datagen/Canvas.h"
#include "tools/datagen/Noise.h"
#include "tools/datagen/StrokeFont.h"
#include "tools/datagen/TgaWriter.h"

#include <algorithm>
#include <cmath>

namespace {

const int kTextureSize = 1024;
const int kSidesWidth = 16; // texels; every column is the same
const float kTopBarBottom = 752.0f;
const float kBezel = 10.0f;         // width of the metal ring around a scope face (pixels)
const float kPillarBottom = 190.0f; // where the canopy pillars meet the dashboard

float clamp01(float v) {
    return std::clamp(v, 0.0f, 1.0f);
}

// Height of the dashboard's upper edge: a shallow arc, humped over each scope.
float dashboardTop(float x) {
    float t = (x - kCockpitWindowWidth / 2.0f) / (kCockpitWindowWidth / 2.0f);
    float top = 150.0f + 60.0f * t * t;
    for (float sx : {kFrontScopeX, kTopScopeX}) {
        float dx = x - sx;
        const float hump = 96.0f;
        if (std::fabs(dx) < hump) {
            top = std::max(top, kScopeY + std::sqrt(hump * hump - dx * dx) - 4.0f);
        }
    }
    return top;
}

// Inner edge of the left canopy pillar at height y; the right pillar mirrors it.
// It bows outward as it rises, leaving the upper left corner (where the debug text is printed)
// to the view.
float pillarInnerX(float y) {
    float t = std::clamp((y - kPillarBottom) / (kCockpitWindowHeight - kPillarBottom), 0.0f, 1.0f);
    return 120.0f - (120.0f - 24.0f) * std::sqrt(t);
}

struct Painter {
    Noise noise{81};
    StrokeText frontLabel{"FRONT", kFrontScopeX - StrokeText::widthFor("FRONT", 9) / 2, 144, 9};
    StrokeText topLabel{"TOP", kTopScopeX - StrokeText::widthFor("TOP", 9) / 2, 144, 9};
    StrokeText energyLabel{"ENERGY", 508 - StrokeText::widthFor("ENERGY", 9) / 2, 108, 9};
    StrokeText nameplate{"OMBRELIX", 508 - StrokeText::widthFor("OMBRELIX", 12) / 2, 20, 12};

    // Brushed dark metal of the frame and the dashboard.
    Colour metal(float x, float y, float base) const {
        float grain = noise.noise2(x * 0.02f, y * 0.6f) * 0.5f + 0.5f;
        float mottle = noise.fbm2(x * 0.01f, y * 0.01f, 3);
        float v = base * (0.9f + 0.12f * grain + 0.12f * mottle);
        return {v * 0.95f, v, v * 1.1f, 1};
    }

    Colour scopeFace(float dx, float dy) const {
        float r = std::sqrt(dx * dx + dy * dy);
        Colour c{0.015f, 0.05f, 0.03f, 1};
        // Faint range rings and cross lines; the middle stays dark for the ship's own marker.
        bool ring =
            std::fabs(r - kScopeRadius / 3) < 0.6f || std::fabs(r - 2 * kScopeRadius / 3) < 0.6f;
        bool cross = (std::fabs(dx) < 0.6f || std::fabs(dy) < 0.6f) && r > 4.0f;
        if (ring || cross) {
            c = {0.04f, 0.17f, 0.09f, 1};
        }
        // A touch of glass sheen toward the upper left.
        float sheen =
            clamp01(1.0f - std::sqrt((dx + 20) * (dx + 20) + (dy - 22) * (dy - 22)) / 40.0f);
        return c + Colour{0.03f, 0.05f, 0.05f} * (sheen * sheen);
    }

    // The dashboard below its upper edge, with scopes, energy slot, lights and lettering.
    Colour dashboard(float x, float y, float top) const {
        float below = top - y;
        Colour c = metal(x, y, 0.2f - 0.06f * clamp01((top - y) / 200.0f));
        if (below < 3.0f) {
            c = metal(x, y, 0.48f); // lit lip along the edge
        } else if (below < 6.0f) {
            c = c * 0.45f; // its shadow
        }
        // Scopes: face, bevelled metal ring, dark groove.
        for (float sx : {kFrontScopeX, kTopScopeX}) {
            float dx = x - sx, dy = y - kScopeY;
            float r = std::sqrt(dx * dx + dy * dy);
            if (r < kScopeRadius) {
                return scopeFace(dx, dy);
            }
            if (r < kScopeRadius + kBezel) {
                float light = 0.5f + 0.5f * (dy - dx) / (r * 1.42f); // lit from the upper left
                return metal(x, y, 0.18f + 0.32f * light);
            }
            if (r < kScopeRadius + kBezel + 2.5f) {
                return c * 0.3f;
            }
        }
        // Energy slot: recessed, its upper and left walls in shadow.
        if (x >= kBarLeft && x < kBarRight && y >= kBarBottom && y < kBarTop) {
            return {0.02f, 0.025f, 0.03f, 1};
        }
        const float wall = 4.0f;
        if (x >= kBarLeft - wall && x < kBarRight + wall && y >= kBarBottom - wall &&
            y < kBarTop + wall) {
            bool shadowSide = y >= kBarTop || x < kBarLeft;
            return metal(x, y, shadowSide ? 0.08f : 0.42f);
        }
        // Scale ticks under the slot every tenth; the red one marks where the bar turns red.
        float fraction = (x - kBarLeft) / (kBarRight - kBarLeft);
        float tick =
            std::fabs(fraction * 10 - std::round(fraction * 10)) * (kBarRight - kBarLeft) / 10;
        if (fraction >= -0.01f && fraction <= 1.01f && tick < 1.0f && y > 47 && y < 55) {
            bool warning = std::lround(fraction * 10) == 4;
            return warning ? Colour{0.85f, 0.15f, 0.1f} : Colour{0.55f, 0.65f, 0.6f};
        }
        // Indicator lights beside the slot.
        const float lightX[6] = {318, 336, 354, 662, 680, 698};
        const Colour lightColour[6] = {{1.0f, 0.7f, 0.1f}, {0.2f, 1.0f, 0.3f}, {0.2f, 1.0f, 0.3f},
                                       {0.3f, 0.6f, 1.0f}, {0.2f, 1.0f, 0.3f}, {1.0f, 0.2f, 0.15f}};
        for (int i = 0; i < 6; ++i) {
            float dx = x - lightX[i], dy = y - 80.0f;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d < 4.5f) {
                float core = clamp01(1.2f - d / 4.5f);
                return lightColour[i] * (0.55f + 0.45f * core) +
                       Colour{0.3f, 0.3f, 0.3f} * (core * core);
            }
            if (d < 6.5f) {
                return {0.05f, 0.05f, 0.05f, 1};
            }
        }
        // Lettering: pale paint for the labels, an engraved nameplate.
        if (frontLabel.distance(x, y) < 1.1f || topLabel.distance(x, y) < 1.1f ||
            energyLabel.distance(x, y) < 1.1f) {
            return {0.6f, 0.75f, 0.65f, 1};
        }
        float plate = nameplate.distance(x, y);
        if (plate < 1.4f) {
            return c * 0.35f;
        }
        if (plate < 2.4f && nameplate.distance(x - 1, y + 1) < 1.4f) {
            return c * 1.6f; // the engraving's lit lower edge
        }
        // Screws in the dashboard's corners.
        for (float sx : {40.0f, 984.0f, 130.0f, 894.0f}) {
            float sy = (sx == 40.0f || sx == 984.0f) ? 24.0f : 150.0f;
            float dx = x - sx, dy = y - sy;
            float d = std::sqrt(dx * dx + dy * dy);
            if (d < 5.0f) {
                bool slot = std::fabs(dx - dy) < 1.0f;
                return slot ? c * 0.3f : metal(x, y, 0.35f + 0.04f * (dy - dx));
            }
        }
        return c;
    }

    // Canopy pillars and the top bar with a sensor housing in the middle.
    bool frame(float x, float y, Colour& out) const {
        float mirroredX = x < kCockpitWindowWidth / 2.0f ? x : kCockpitWindowWidth - x;
        float inner = pillarInnerX(y);
        if (y >= kPillarBottom - 40.0f && mirroredX < inner) {
            float fromEdge = inner - mirroredX;
            out = metal(x, y, 0.22f);
            if (fromEdge < 2.0f) {
                out = {0.02f, 0.02f, 0.02f, 1}; // rubber seal against the glass
            } else if (fromEdge < 5.0f) {
                out = metal(x, y, 0.45f);
            }
            return true;
        }
        const float barBottom = kTopBarBottom;
        float housing = std::fabs(x - kCockpitWindowWidth / 2.0f);
        bool inHousing =
            housing < 72.0f && y >= 726.0f &&
            !(housing > 56.0f && y < 742.0f &&
              (housing - 56.0f) * (housing - 56.0f) + (742.0f - y) * (742.0f - y) > 256.0f);
        if (y >= barBottom || inHousing) {
            out = metal(x, y, 0.22f);
            if ((y < barBottom + 2.0f && !inHousing) || (inHousing && y < 728.0f)) {
                out = {0.02f, 0.02f, 0.02f, 1};
            }
            float dx = x - kCockpitWindowWidth / 2.0f, dy = y - 738.0f;
            if (inHousing && dx * dx + dy * dy < 9.0f) {
                out = {1.0f, 0.15f, 0.1f, 1}; // the housing's telltale
            }
            return true;
        }
        return false;
    }
};

} // namespace

bool writeCockpitTexture(const std::string& runDir) {
    Canvas canvas(kTextureSize, kTextureSize, {0, 0, 0, 0});
    Painter painter;
    const float sx = static_cast<float>(kCockpitWindowWidth) / kTextureSize;
    const float sy = static_cast<float>(kCockpitWindowHeight) / kTextureSize;
    for (int row = 0; row < kTextureSize; ++row) {
        float y = (static_cast<float>(row) + 0.5f) * sy;
        for (int col = 0; col < kTextureSize; ++col) {
            float x = (static_cast<float>(col) + 0.5f) * sx;
            float top = dashboardTop(x);
            Colour c;
            if (y < top) {
                c = painter.dashboard(x, y, top);
            } else if (!painter.frame(x, y, c)) {
                continue; // canopy glass: stays transparent
            }
            c.a = 1.0f;
            canvas.at(col, row) = c;
        }
    }
    // The instruments are drawn with the overlay still bound, at its texture coordinate (0, 1),
    // which with repeat wrapping is texel (0, 0): it must be opaque white or the instruments
    // vanish or get tinted. The other corners cover the neighbours that linear filtering mixes in.
    for (int col : {0, kTextureSize - 1}) {
        for (int row : {0, kTextureSize - 1}) {
            canvas.at(col, row) = {1, 1, 1, 1};
        }
    }
    return saveFile(runDir + "/" + kCockpitTexture, encodeTga(canvas.toImage(4), true));
}

bool writeCockpitSidesTexture(const std::string& runDir) {
    Canvas canvas(kSidesWidth, kTextureSize, {0, 0, 0, 0});
    Painter painter;
    const float sy = static_cast<float>(kCockpitWindowHeight) / kTextureSize;
    // The colours of the cockpit's own outermost column, so the strip meets it without a seam.
    const float x = 0.5f * kCockpitWindowWidth / kTextureSize;
    const float top = dashboardTop(x);
    for (int row = 0; row < kTextureSize; ++row) {
        const float y = (static_cast<float>(row) + 0.5f) * sy;
        Colour c;
        if (y < top) {
            const float below = top - y;
            c = painter.metal(x, y, 0.2f - 0.06f * clamp01(below / 200.0f));
            if (below < 3.0f) {
                c = painter.metal(x, y, 0.48f); // lit lip along the edge
            } else if (below < 6.0f) {
                c = c * 0.45f; // its shadow
            }
        } else if (y >= kTopBarBottom) {
            c = y < kTopBarBottom + 2.0f ? Colour{0.02f, 0.02f, 0.02f, 1}
                                         : painter.metal(x, y, 0.22f);
        } else {
            continue; // canopy glass: stays transparent
        }
        c.a = 1.0f;
        for (int col = 0; col < kSidesWidth; ++col) {
            canvas.at(col, row) = c;
        }
    }
    return saveFile(runDir + "/" + kCockpitSidesTexture, encodeTga(canvas.toImage(4), true));
}
