// EnergyBar: a quad whose length follows the share of health left, inset from the frame.
#include "hud/EnergyBar.h"

#include "world/Element3D.h"

#include <GL/gl.h>

namespace {

// Sizes in the plane one unit in front of the eye.
const float kBarWidth = 0.305f;
const float kBarHeight = 0.04f;
const float kBarBorder = 0.0025f;
const float kLowHealthShare = 0.4f; // below this share of full health the bar turns red

} // namespace

EnergyBar::EnergyBar(Element3D* player, float x, float y)
    : fMaxHealth(player->getHealth()), pPlayer(player), fX(x), fY(y), fWidth(kBarWidth),
      fHeight(kBarHeight), fBorder(kBarBorder) {}

bool EnergyBar::showsLow() const {
    const float health = pPlayer->getHealth();
    return (health > 0.0f ? health / fMaxHealth : 0.0f) < kLowHealthShare;
}

void EnergyBar::draw() {
    glPushMatrix();
    const float health = pPlayer->getHealth();
    const float share = health > 0.0f ? health / fMaxHealth : 0.0f;
    const float w = share * fWidth;
    if (share < kLowHealthShare) {
        glColor3f(1.0f, 0.0f, 0.0f);
    } else {
        glColor3f(0.0f, 1.0f, 0.0f);
    }
    if (share > 0.0f) {
        const float b = fBorder;
        glBegin(GL_QUADS);
        glVertex2f(fX + b, fY + b);
        glVertex2f(fX + w - b, fY + b);
        glVertex2f(fX + w - b, fY + fHeight - b);
        glVertex2f(fX + b, fY + fHeight - b);
        glEnd();
    }
    glPopMatrix();
}
