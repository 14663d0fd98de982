// Frame rendering: camera in the cockpit, world, text, crosshair, overlays and instruments.
#include "app/DrawFrame.h"

#include "app/Campaign.h"
#include "app/Cards.h"
#include "assets/ObjectTexture.h"
#include "game/PlayerShip.h"
#include "hud/BitmapFont.h"
#include "hud/EnergyBar.h"
#include "hud/RadarScope.h"
#include "platform/Clock.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

const float kTextX = -0.5f;          // overlay-plane units
const float kCrosshairGap = 0.02f;   // tip of each triangle, from the centre
const float kCrosshairReach = 0.05f; // base of each triangle, from the centre
const float kCrosshairHalfWidth = 0.02f;
const float kOverlayAlphaCut = 0.1f;   // texels at or below this alpha show the world
const float kRateInterval = 1.0f;      // seconds between frames-per-second figures
const int kOverlayTile = 16;           // window pixels per side of the overlay's tiles
const float kReferenceHeight = 768.0f; // window pixels the instruments' pixel sizes are set for
// Texels around a tile's own that filtering (mipmaps included) may still blend into it.
const int kOverlayTexelMargin = 4;

const char* filterName(int filter) {
    switch (filter) {
    case 2:
        return "TRILINEAR-MIPMAP";
    case 1:
        return "BILINEAR";
    default:
        return "POINT";
    }
}

void compileCrosshair() {
    glBegin(GL_TRIANGLES);
    // above, below, right, left: each points at the centre
    glVertex2f(0.0f, kCrosshairGap);
    glVertex2f(kCrosshairHalfWidth, kCrosshairReach);
    glVertex2f(-kCrosshairHalfWidth, kCrosshairReach);
    glVertex2f(0.0f, -kCrosshairGap);
    glVertex2f(kCrosshairHalfWidth, -kCrosshairReach);
    glVertex2f(-kCrosshairHalfWidth, -kCrosshairReach);
    glVertex2f(kCrosshairGap, 0.0f);
    glVertex2f(kCrosshairReach, kCrosshairHalfWidth);
    glVertex2f(kCrosshairReach, -kCrosshairHalfWidth);
    glVertex2f(-kCrosshairGap, 0.0f);
    glVertex2f(-kCrosshairReach, kCrosshairHalfWidth);
    glVertex2f(-kCrosshairReach, -kCrosshairHalfWidth);
    glEnd();
}

// A quad in window pixels from x0 to x1 and from row y0 to the top, with the texture's whole s
// range and its t range [t0, t1].
void drawOverlayQuad(const AppState& app, unsigned texture, float x0, float x1, float t0, float t1,
                     int y0) {
    // A window 0 pixels high or wide would make an empty projection, which GL refuses; the
    // viewport treats it as one pixel, and so does this.
    const int width = std::max(app.screenWidth, 1);
    const int height = std::max(app.screenHeight, 1);
    const float h = static_cast<float>(height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, t0);
    glVertex2f(x0, static_cast<float>(y0));
    glTexCoord2f(1.0f, t0);
    glVertex2f(x1, static_cast<float>(y0));
    glTexCoord2f(1.0f, t1);
    glVertex2f(x1, h);
    glTexCoord2f(0.0f, t1);
    glVertex2f(x0, h);
    glEnd();
    glPopMatrix();
}

// Whether the window is wider than the cockpit picture, so strips fill its sides.
bool hasSideStrips(const AppState& app, const OverlayBox& box) {
    return box.left > 0.0f && app.cockpitSidesTexture != 0;
}

// The cockpit as the player sees it: on a wider window first the strips that carry dashboard,
// canopy glass and top bar on to its edges, then the picture itself, whose last texture
// coordinate the instruments take their colour from.
void drawCockpit(const AppState& app, const OverlayBox& box) {
    if (hasSideStrips(app, box)) {
        const float right = box.left + box.width;
        const float edge = static_cast<float>(std::max(app.screenWidth, 1));
        drawOverlayQuad(app, app.cockpitSidesTexture, 0.0f, box.left, 0.0f, 1.0f, 0);
        drawOverlayQuad(app, app.cockpitSidesTexture, right, edge, 0.0f, 1.0f, 0);
    }
    DrawCockpitOverlay(app, box);
}

void updateRate(AppState& app) {
    FrameState& frame = app.frame;
    const float t = static_cast<float>(app.pClock->milliseconds()) * 0.001f;
    ++frame.frameCount;
    if (t - frame.lastRateTime > kRateInterval) {
        frame.framesPerSecond = static_cast<float>(frame.frameCount) / (t - frame.lastRateTime);
        frame.lastRateTime = t;
        frame.frameCount = 0;
    }
}

// Whether texels of the alpha map in columns [s0, s1] and rows [t0, t1] can cover the world
// (alpha above the cut) or let it show (alpha at or below it).
void scanAlpha(const std::vector<unsigned char>& alpha, int width, int s0, int s1, int t0, int t1,
               bool& covers, bool& showsThrough) {
    for (int t = t0; t <= t1 && !(covers && showsThrough); ++t) {
        for (int s = s0; s <= s1; ++s) {
            const float a = alpha[static_cast<std::size_t>(t) * width + s] / 255.0f;
            (a > kOverlayAlphaCut ? covers : showsThrough) = true;
        }
    }
}

// Sorts the overlay's tiles by what its texels can do there: cover the world (alpha above the
// cut) or let it show (alpha at or below it), the cockpit picture's in its box and the side
// strips' beside it. Covering tiles go into boxes, merged along rows and down columns; the tiles
// the world can show in give one bounding box.
void mapOverlay(AppState& app, const OverlayBox& box) {
    FrameState& frame = app.frame;
    frame.overlayMappedTexture = app.cockpitTexture;
    frame.overlayMappedSides = app.cockpitSidesTexture;
    frame.overlayMappedSize[0] = app.screenWidth;
    frame.overlayMappedSize[1] = app.screenHeight;
    frame.overlayBoxes.clear();
    int width = 0;
    int height = 0;
    const std::vector<unsigned char> alpha =
        ObjectTexture::ReadAlpha(app.cockpitTexture, width, height);
    const bool strips = hasSideStrips(app, box);
    int sidesWidth = 0;
    int sidesHeight = 0;
    const std::vector<unsigned char> sidesAlpha =
        strips ? ObjectTexture::ReadAlpha(app.cockpitSidesTexture, sidesWidth, sidesHeight)
               : std::vector<unsigned char>();
    const double boxLeft = box.left;
    const double boxRight = boxLeft + box.width;
    // The texel under a window pixel, counted from the picture's left or bottom edge.
    const auto texel = [](double pixel, int texels, double pixels) {
        return static_cast<int>(std::floor(pixel * texels / pixels));
    };
    const auto rowsOf = [&](int y, int texels, int margin) {
        return std::clamp(texel(y, texels, app.screenHeight) + margin, 0, texels - 1);
    };
    const int columns = (app.screenWidth + kOverlayTile - 1) / kOverlayTile;
    const int rows = (app.screenHeight + kOverlayTile - 1) / kOverlayTile;
    int seeThrough[4] = {app.screenWidth, app.screenHeight, 0, 0}; // x0, y0, x1, y1
    std::vector<int> open;                                         // x, y, w, h of rising boxes
    for (int row = 0; row < rows; ++row) {
        const int y0 = row * kOverlayTile;
        const int y1 = std::min(y0 + kOverlayTile, app.screenHeight);
        std::vector<int> runs; // x0, x1 of covering tiles side by side
        for (int column = 0; column < columns; ++column) {
            const int x0 = column * kOverlayTile;
            const int x1 = std::min(x0 + kOverlayTile, app.screenWidth);
            bool covers = false;
            bool showsThrough = false;
            const double inside0 = std::max<double>(x0, boxLeft);
            const double inside1 = std::min<double>(x1, boxRight);
            if (inside0 < inside1 && alpha.empty()) {
                covers = showsThrough = true;
            } else if (inside0 < inside1) {
                const int s0 = texel(inside0 - boxLeft, width, box.width) - kOverlayTexelMargin;
                const int s1 = texel(inside1 - boxLeft, width, box.width) + kOverlayTexelMargin;
                scanAlpha(alpha, width, std::max(s0, 0), std::min(s1, width - 1),
                          rowsOf(y0, height, -kOverlayTexelMargin),
                          rowsOf(y1, height, kOverlayTexelMargin), covers, showsThrough);
            }
            const bool besideBox = strips && (x0 < boxLeft || x1 > boxRight);
            if (besideBox && sidesAlpha.empty()) {
                covers = showsThrough = true;
            } else if (besideBox) {
                scanAlpha(sidesAlpha, sidesWidth, 0, sidesWidth - 1,
                          rowsOf(y0, sidesHeight, -kOverlayTexelMargin),
                          rowsOf(y1, sidesHeight, kOverlayTexelMargin), covers, showsThrough);
            }
            // A tile no overlay reaches (strips without their picture) shows the world too.
            if (showsThrough || !covers) {
                seeThrough[0] = std::min(seeThrough[0], x0);
                seeThrough[1] = std::min(seeThrough[1], y0);
                seeThrough[2] = std::max(seeThrough[2], x1);
                seeThrough[3] = std::max(seeThrough[3], y1);
            }
            if (covers && !runs.empty() && runs.back() == x0) {
                runs.back() = x1;
            } else if (covers) {
                runs.insert(runs.end(), {x0, x1});
            }
        }
        std::vector<int> rising;
        for (std::size_t r = 0; r < runs.size(); r += 2) {
            bool grown = false;
            for (std::size_t b = 0; b < open.size(); b += 4) {
                if (open[b] == runs[r] && open[b + 2] == runs[r + 1] - runs[r] &&
                    open[b + 1] + open[b + 3] == y0) {
                    open[b + 3] += y1 - y0;
                    rising.insert(rising.end(), open.begin() + b, open.begin() + b + 4);
                    open[b + 2] = -1; // taken
                    grown = true;
                    break;
                }
            }
            if (!grown) {
                rising.insert(rising.end(), {runs[r], y0, runs[r + 1] - runs[r], y1 - y0});
            }
        }
        for (std::size_t b = 0; b < open.size(); b += 4) {
            if (open[b + 2] >= 0) {
                frame.overlayBoxes.insert(frame.overlayBoxes.end(), open.begin() + b,
                                          open.begin() + b + 4);
            }
        }
        open = std::move(rising);
    }
    frame.overlayBoxes.insert(frame.overlayBoxes.end(), open.begin(), open.end());
    frame.seeThroughBox[0] = seeThrough[0];
    frame.seeThroughBox[1] = seeThrough[1];
    frame.seeThroughBox[2] = std::max(seeThrough[2] - seeThrough[0], 0);
    frame.seeThroughBox[3] = std::max(seeThrough[3] - seeThrough[1], 0);
}

// After the campaign's last level, its closing picture says more than LEVEL COMPLETE does.
unsigned levelEndPicture(const AppState& app) {
    return app.pCampaign && app.pCampaign->finished() && app.campaignTexture != 0
               ? app.campaignTexture
               : app.infoTexture;
}

bool overlayShortcut(const AppState& app) {
    // In wireframe the overlay is only outlines and covers nothing.
    return app.pContainer->uses(kShortcutCockpit) && !app.wireframe && app.cockpitTexture != 0;
}

void ensureOverlayMap(AppState& app, const OverlayBox& box) {
    const FrameState& frame = app.frame;
    if (frame.overlayMappedTexture != app.cockpitTexture ||
        frame.overlayMappedSides != app.cockpitSidesTexture ||
        frame.overlayMappedSize[0] != app.screenWidth ||
        frame.overlayMappedSize[1] != app.screenHeight) {
        mapOverlay(app, box);
    }
}

// The radar dots keep their share of the window height, as the letters do.
void sizeRadarDots(const AppState& app) {
    const float dots =
        app.pContainer->uses(kShortcutAspect)
            ? kRadarDotSize * static_cast<float>(std::max(app.screenHeight, 1)) / kReferenceHeight
            : kRadarDotSize;
    for (RadarScope* scope : {app.pTopRadar.get(), app.pFrontRadar.get()}) {
        if (scope != nullptr) {
            scope->setDotSize(dots);
        }
    }
}

} // namespace

OverlayBox CockpitBox(const AppState& app) {
    const int width = std::max(app.screenWidth, 1);
    const int height = std::max(app.screenHeight, 1);
    const float w = static_cast<float>(width);
    const bool stretched = app.pContainer != nullptr && !app.pContainer->uses(kShortcutAspect);
    if (stretched || width * 3 == height * 4) {
        return {0.0f, w};
    }
    const float boxWidth = static_cast<float>(height) * 4.0f / 3.0f;
    return {(w - boxWidth) / 2.0f, boxWidth};
}

void DrawCockpitOverlay(const AppState& app, const OverlayBox& box) {
    drawOverlayQuad(app, app.cockpitTexture, box.left, box.left + box.width, 0.0f, 1.0f, 0);
}

bool DrawFrame(AppState& app) {
    ElementContainer& world = *app.pContainer;
    PlayerShip& player = *app.pPlayer;

    if (player.getHealth() < 0.0f || world.bLevelEnded) {
        player.setActive(false);
    }

    glEnable(GL_TEXTURE_2D);
    glEnable(GL_LIGHTING);
    glDisable(GL_BLEND);
    glColor3f(1.0f, 1.0f, 1.0f);
    glClear(GL_COLOR_BUFFER_BIT | GL_DEPTH_BUFFER_BIT);
    glLoadIdentity();

    const float px = player.getPos(0);
    const float py = player.getPos(1);
    const float pz = player.getPos(2);
    gluLookAt(px, py, pz, px + player.getView(0), py + player.getView(1), pz + player.getView(2),
              player.getUp(0), player.getUp(1), player.getUp(2));

    const OverlayBox box = CockpitBox(app);
    const bool tiledOverlay = overlayShortcut(app);
    if (tiledOverlay) {
        // Nothing of the world outside the see-through box survives the overlay.
        ensureOverlayMap(app, box);
        const int* box = app.frame.seeThroughBox;
        glScissor(box[0], box[1], box[2], box[3]);
        glEnable(GL_SCISSOR_TEST);
    }
    world.draw();
    glDisable(GL_SCISSOR_TEST);

    glDisable(GL_CULL_FACE);
    updateRate(app);

    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glTranslatef(0.0f, 0.0f, kOverlayPlaneZ);
    glColor3f(0.0f, 1.0f, 0.0f);

    if (app.pFont) {
        BitmapFont& font = *app.pFont;
        font.setBatched(world.uses(kShortcutText));
        font.print(kTextX, 0.30f, "pos   x: %f, y:%f, z:%f", px, py, pz);
        font.print(kTextX, 0.32f, "view  x: %f, y:%f, z:%f", player.getView(0), player.getView(1),
                   player.getView(2));
        font.print(kTextX, 0.34f, "up    x: %f, y:%f, z:%f", player.getUp(0), player.getUp(1),
                   player.getUp(2));
        font.print(kTextX, 0.36f, "right x: %f, y:%f, z:%f", player.getRight(0), player.getRight(1),
                   player.getRight(2));
        font.print(kTextX, 0.38f, "fps: %f", app.frame.framesPerSecond);
        font.print(kTextX, 0.28f, world.bDisplayLists ? "display lists on" : "display lists off");
        font.print(kTextX, 0.26f, world.bVertexArrays ? "vertex arrays on" : "vertex arrays off");
        font.print(kTextX, 0.24f, "Texture Filter: %s SAMPLING", filterName(world.iTextureFilter));
        font.flush();
    }

    glColor4f(0.0f, 1.0f, 0.0f, 0.5f);
    glBlendFunc(GL_SRC_ALPHA, GL_ONE);
    glEnable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    if (app.frame.crosshairList == 0) {
        app.frame.crosshairList = glGenLists(1);
        glNewList(app.frame.crosshairList, GL_COMPILE);
        compileCrosshair();
        glEndList();
    }
    glCallList(app.frame.crosshairList);

    glDisable(GL_BLEND);
    glDisable(GL_DEPTH_TEST);
    glDisable(GL_LIGHTING);
    glEnable(GL_ALPHA_TEST);
    glAlphaFunc(GL_GREATER, kOverlayAlphaCut);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);

    if (tiledOverlay) {
        // The same quad, drawn only in the boxes where some texel can pass the alpha test.
        // Unlit and white, it would multiply each texel by one: taking the texel as it is
        // gives the same pixels for less work.
        GLint textureMode = GL_MODULATE;
        const bool texelsAsTheyAre = world.uses(kShortcutOverlayTexels);
        if (texelsAsTheyAre) {
            glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &textureMode);
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, GL_REPLACE);
        }
        glEnable(GL_SCISSOR_TEST);
        const std::vector<int>& boxes = app.frame.overlayBoxes;
        for (std::size_t b = 0; b + 3 < boxes.size(); b += 4) {
            glScissor(boxes[b], boxes[b + 1], boxes[b + 2], boxes[b + 3]);
            drawCockpit(app, box);
        }
        glDisable(GL_SCISSOR_TEST);
        if (texelsAsTheyAre) {
            glTexEnvi(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, textureMode);
        }
        if (boxes.empty()) {
            // Leaves the state the overlay would have left.
            glMatrixMode(GL_PROJECTION);
            glEnable(GL_TEXTURE_2D);
            glBindTexture(GL_TEXTURE_2D, app.cockpitTexture);
        }
    } else {
        drawCockpit(app, box);
    }
    // The messages cover the upper half of the cockpit picture's box, wherever it lies.
    const int halfHeight = app.screenHeight / 2;
    const float boxRight = box.left + box.width;
    if (world.bLevelEnded) {
        drawOverlayQuad(app, levelEndPicture(app), box.left, boxRight, 0.0f, 0.5f, halfHeight);
    }
    if (player.getHealth() <= 0.0f) {
        drawOverlayQuad(app, app.infoTexture, box.left, boxRight, 0.5f, 1.0f, halfHeight);
    }
    sizeRadarDots(app);

    // The instruments take their colour times the texel the overlays left behind.
    const ElementContainer::TimedPhase timed(world.phaseSeconds.instruments);
    if (app.pTopRadar) {
        app.pTopRadar->draw();
    }
    if (app.pFrontRadar) {
        app.pFrontRadar->draw();
    }
    if (app.pEnergyBar) {
        app.pEnergyBar->draw();
    }
    DrawCards(app);

    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    return true;
}
