// The shared smoke texture, one per texture filter mode and kept for the rest of the game, and
// the effects' square.
#include "game/SmokeTexture.h"

#include "assets/ObjectTexture.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <map>

std::shared_ptr<ObjectTexture> SmokeTexture::get(const ElementContainer& container) {
    // Keyed by filter so that clouds made after a filter change still show the new filter, as
    // they would with a texture of their own.
    static std::map<int, std::shared_ptr<ObjectTexture>> byFilter;
    std::shared_ptr<ObjectTexture>& texture = byFilter[container.iTextureFilter];
    if (!texture) {
        texture = std::make_shared<ObjectTexture>(kFileName);
        texture->createTexture();
    }
    return texture;
}

void SmokeTexture::drawSquare(const ObjectTexture* texture) {
    glBindTexture(GL_TEXTURE_2D, texture != nullptr ? texture->getTextureId() : 0);
    glBegin(GL_QUADS);
    glTexCoord2f(0.0f, 0.0f);
    glVertex2f(-kHalfSide, -kHalfSide);
    glTexCoord2f(1.0f, 0.0f);
    glVertex2f(kHalfSide, -kHalfSide);
    glTexCoord2f(1.0f, 1.0f);
    glVertex2f(kHalfSide, kHalfSide);
    glTexCoord2f(0.0f, 1.0f);
    glVertex2f(-kHalfSide, kHalfSide);
    glEnd();
}

void SmokeTexture::drawEffect(const ObjectTexture* texture, const float colour[4]) {
    // Blend and alpha functions are the frame's; the square only switches them on.
    glEnable(GL_TEXTURE_2D);
    glEnable(GL_BLEND);
    glEnable(GL_ALPHA_TEST);
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glMaterialfv(GL_FRONT, GL_AMBIENT, colour);
    glMaterialfv(GL_FRONT, GL_DIFFUSE, colour);
    glMaterialfv(GL_FRONT, GL_SPECULAR, colour);
    glMaterialfv(GL_FRONT, GL_EMISSION, colour);
    glMaterialf(GL_FRONT, GL_SHININESS, 0.0f);
    drawSquare(texture);
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
}

float SmokeTexture::reach(const float scale[3]) {
    const float largest = std::max({std::fabs(scale[0]), std::fabs(scale[1]), std::fabs(scale[2])});
    return kHalfSide * std::sqrt(2.0f) * largest;
}
