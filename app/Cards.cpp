// Each card is a few lines of the bitmap font, centred, on a dark pane that keeps them readable
// over stars, rocks and cockpit alike.
#include "app/Cards.h"

#include "app/Campaign.h"
#include "app/GLWindow.h"
#include "app/KeysCard.h"
#include "hud/BitmapFont.h"
#include "platform/Window.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <vector>

namespace {

const double kPi = 3.14159265358979323846;
const float kLineSpacing = 0.022f; // overlay-plane units between two baselines
const float kDescent = 0.005f;     // from a baseline down to the bottom of its line
const float kPaneMargin = 0.02f;
const float kPaneAlpha = 0.75f;
// Where each card's top edge lies in the overlay plane (0 is the crosshair).
const float kIntroTop = 0.25f;
const float kPauseTop = 0.11f;
const float kTimeTop = -0.07f;

struct Colour {
    float r, g, b;
};
const Colour kPane = {0.03f, 0.07f, 0.16f}; // a deep blue, seen even over black space
const Colour kTitle = {1.0f, 0.85f, 0.3f};
const Colour kText = {1.0f, 1.0f, 1.0f};
const Colour kHint = {0.4f, 1.0f, 0.4f};

struct Line {
    std::string text;
    Colour colour;
};

// Overlay-plane units per window pixel: the perspective's view spans the window's height.
float unitsPerPixel(const AppState& app) {
    const double halfHeight = std::tan(kFieldOfView / 2.0 * kPi / 180.0);
    return static_cast<float>(2.0 * halfHeight / std::max(app.screenHeight, 1));
}

// The lines one under another from the top edge, on their pane: each centred, or (for a table)
// all from the left edge of the widest, the title alone centred.
void drawCard(const AppState& app, BitmapFont& font, const std::vector<Line>& lines, float top,
              bool table = false) {
    const float scale = unitsPerPixel(app);
    float width = 0.0f;
    for (const Line& line : lines) {
        width = std::max(width, font.textWidth(line.text.c_str()) * scale);
    }
    const float left = -width / 2.0f - kPaneMargin;
    const float right = width / 2.0f + kPaneMargin;
    const float bottom = top - static_cast<float>(lines.size()) * kLineSpacing - kPaneMargin;
    glDisable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE_MINUS_SRC_ALPHA);
    glColor4f(kPane.r, kPane.g, kPane.b, kPaneAlpha);
    glBegin(GL_QUADS);
    glVertex2f(left, bottom);
    glVertex2f(right, bottom);
    glVertex2f(right, top + kPaneMargin);
    glVertex2f(left, top + kPaneMargin);
    glEnd();
    glDisable(GL_BLEND);
    float baseline = top - kLineSpacing + kDescent;
    for (const Line& line : lines) {
        glColor4f(line.colour.r, line.colour.g, line.colour.b, 1.0f);
        const float x = table && &line != &lines.front()
                            ? -width / 2.0f
                            : -font.textWidth(line.text.c_str()) * scale / 2.0f;
        font.print(x, baseline, "%s", line.text.c_str());
        baseline -= kLineSpacing;
    }
}

std::vector<Line> introCard(const Campaign& campaign) {
    char number[48];
    std::snprintf(number, sizeof number, "LEVEL %zu OF %zu", campaign.index() + 1, campaign.size());
    std::vector<Line> lines = {{number, kTitle}, {campaign.level().name, kText}};
    if (campaign.freshStart()) {
        lines.push_back({"F1: keys", kHint});
    }
    return lines;
}

std::vector<Line> keysCard(const AppState& app) {
    const bool gamepad = app.pWindow != nullptr && app.pWindow->gamepadsConnected() > 0;
    std::vector<Line> lines;
    for (const std::string& text : KeysCardLines(app.keys, gamepad)) {
        lines.push_back({text, lines.empty() ? kTitle : kText});
    }
    return lines;
}

} // namespace

std::string LevelTimeText(double seconds) {
    const long hundredths = std::lround(std::max(seconds, 0.0) * 100.0);
    char text[32];
    std::snprintf(text, sizeof text, "%ld:%02ld.%02ld", hundredths / 6000, hundredths / 100 % 60,
                  hundredths % 100);
    return text;
}

void DrawCards(AppState& app) {
    const Campaign* campaign = app.pCampaign.get();
    // The keys card stands alone: the level's card would show through it.
    const bool intro = campaign != nullptr && app.introSeconds > 0.0 && !app.keysCardShown;
    const bool times = campaign != nullptr && campaign->levelCompleted();
    const bool pause = app.paused && !app.keysCardShown;
    if (!app.pFont || !(intro || times || pause || app.keysCardShown)) {
        return;
    }
    BitmapFont& font = *app.pFont;
    if (intro) {
        drawCard(app, font, introCard(*campaign), kIntroTop);
    }
    if (pause) {
        drawCard(app, font, {{"PAUSED - P to go on", kText}}, kPauseTop);
    }
    if (times) {
        const std::string line = "TIME " + LevelTimeText(campaign->levelTime()) + "    BEST " +
                                 LevelTimeText(campaign->bestTime());
        drawCard(app, font, {{line, kText}}, kTimeTop);
    }
    if (app.keysCardShown) {
        const std::vector<Line> lines = keysCard(app);
        drawCard(app, font, lines, static_cast<float>(lines.size()) * kLineSpacing / 2.0f, true);
    }
    font.flush();
    // Back to the blending the crosshair set up for the frame.
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
}
