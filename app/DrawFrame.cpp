// Frame rendering: camera in the cockpit, world, text, crosshair, overlays and instruments.
#include "app/DrawFrame.h"

#include "game/PlayerShip.h"
#include "hud/BitmapFont.h"
#include "hud/EnergyBar.h"
#include "hud/RadarScope.h"
#include "platform/Clock.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <algorithm>

namespace {

const float kTextX = -0.5f;          // overlay-plane units
const float kCrosshairGap = 0.02f;   // tip of each triangle, from the centre
const float kCrosshairReach = 0.05f; // base of each triangle, from the centre
const float kCrosshairHalfWidth = 0.02f;
const float kOverlayAlphaCut = 0.1f; // texels at or below this alpha show the world
const float kRateInterval = 1.0f;    // seconds between frames-per-second figures

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

// A quad over the window in window pixels, with the texture's t range [t0, t1], from row y0 up.
void drawWindowQuad(const AppState& app, unsigned texture, float t0, float t1, int y0) {
    // A window 0 pixels high or wide would make an empty projection, which GL refuses; the
    // viewport treats it as one pixel, and so does this.
    const int width = std::max(app.screenWidth, 1);
    const int height = std::max(app.screenHeight, 1);
    const float w = static_cast<float>(width);
    const float h = static_cast<float>(height);
    glMatrixMode(GL_PROJECTION);
    glPushMatrix();
    glLoadIdentity();
    glOrtho(0.0, width, 0.0, height, -1.0, 1.0);
    glEnable(GL_TEXTURE_2D);
    glBindTexture(GL_TEXTURE_2D, texture);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, t0);
    glVertex2f(0.0f, static_cast<float>(y0));
    glTexCoord2f(1.0f, t0);
    glVertex2f(w, static_cast<float>(y0));
    glTexCoord2f(1.0f, t1);
    glVertex2f(w, h);
    glTexCoord2f(0.0f, t1);
    glVertex2f(0.0f, h);
    glEnd();
    glPopMatrix();
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

} // namespace

void DrawCockpitOverlay(const AppState& app) {
    drawWindowQuad(app, app.cockpitTexture, 0.0f, 1.0f, 0);
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

    world.draw();

    glDisable(GL_CULL_FACE);
    updateRate(app);

    glLoadIdentity();
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_LIGHTING);
    glTranslatef(0.0f, 0.0f, kOverlayPlaneZ);
    glColor3f(0.0f, 1.0f, 0.0f);

    if (app.pFont) {
        BitmapFont& font = *app.pFont;
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

    DrawCockpitOverlay(app);
    const int halfHeight = app.screenHeight / 2;
    if (world.bLevelEnded) {
        drawWindowQuad(app, app.infoTexture, 0.0f, 0.5f, halfHeight);
    }
    if (player.getHealth() <= 0.0f) {
        drawWindowQuad(app, app.infoTexture, 0.5f, 1.0f, halfHeight);
    }

    // The instruments take their colour times the texel the overlays left behind.
    if (app.pTopRadar) {
        app.pTopRadar->draw();
    }
    if (app.pFrontRadar) {
        app.pFrontRadar->draw();
    }
    if (app.pEnergyBar) {
        app.pEnergyBar->draw();
    }

    glMatrixMode(GL_MODELVIEW);
    glEnable(GL_DEPTH_TEST);
    glEnable(GL_CULL_FACE);
    glDisable(GL_ALPHA_TEST);
    glEnable(GL_BLEND);
    return true;
}
