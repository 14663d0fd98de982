// The shared smoke texture, one per texture filter mode and kept for the rest of the game, and
// the effects' square.
#include "game/SmokeTexture.h"

#include "assets/ObjectTexture.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <algorithm>
#include <array>
#include <cmath>
#include <map>
#include <vector>

namespace {

const int kAlphaLevels = 256;
// Fragment alpha below the cut that may still pass: GL may round the alpha and the cut to 8 bits
// before it compares them, either way.
const float kAlphaSlack = 2.0f / 255.0f;
// Texels around a passing one that a filtered sample can still draw from.
const int kTexelMargin = 1;
// Window pixels kept around the texels' box, against rounding where the box meets the pixels.
const float kPixelMargin = 1.0f;
// Clip w below which a corner counts as at or behind the eye.
const float kNearestW = 1e-3f;

// Which texels each alpha level leaves: for level k, the box of every texel of alpha k or more
// (s0, t0, s1, t1, ends excluded; empty when s0 >= s1), read back once per texture.
struct AlphaBoxes {
    int width = 0;
    int height = 0;
    bool mipmapped = false; // coarser levels blur the alpha over wider boxes
    std::array<std::array<int, 4>, kAlphaLevels> boxes{};
};

const AlphaBoxes& alphaBoxes(unsigned texture) {
    // The smoke textures live for the rest of the game, so a name stays theirs.
    static std::map<unsigned, AlphaBoxes> byTexture;
    auto found = byTexture.find(texture);
    if (found != byTexture.end()) {
        return found->second;
    }
    AlphaBoxes& shape = byTexture[texture];
    const std::vector<unsigned char> alpha =
        ObjectTexture::ReadAlpha(texture, shape.width, shape.height);
    GLint minFilter = GL_NEAREST;
    glGetTexParameteriv(GL_TEXTURE_2D, GL_TEXTURE_MIN_FILTER, &minFilter);
    shape.mipmapped = minFilter != GL_NEAREST && minFilter != GL_LINEAR;
    for (auto& box : shape.boxes) {
        box = {shape.width, shape.height, 0, 0};
    }
    for (int t = 0; t < shape.height; ++t) {
        for (int s = 0; s < shape.width; ++s) {
            auto& box = shape.boxes[alpha[static_cast<std::size_t>(t) * shape.width + s]];
            box = {std::min(box[0], s), std::min(box[1], t), std::max(box[2], s + 1),
                   std::max(box[3], t + 1)};
        }
    }
    // Level k holds every texel of level k + 1 too.
    for (int level = kAlphaLevels - 2; level >= 0; --level) {
        auto& box = shape.boxes[level];
        const auto& above = shape.boxes[level + 1];
        box = {std::min(box[0], above[0]), std::min(box[1], above[1]), std::max(box[2], above[2]),
               std::max(box[3], above[3])};
    }
    return shape;
}

enum class Coverage { Whole, Part, Nothing };

// What of the square the alpha test can let through for a material alpha, under the GL state of
// the moment; for Part, the texture coordinates (s0, t0, s1, t1) of the texels to draw.
// Anything it cannot judge is drawn Whole.
Coverage passingTexels(unsigned texture, float materialAlpha, float part[4]) {
    GLint test = GL_ALWAYS;
    GLfloat cut = 0.0f;
    GLint polygonMode[2] = {GL_FILL, GL_FILL};
    GLint textureMode = GL_MODULATE;
    glGetIntegerv(GL_ALPHA_TEST_FUNC, &test);
    glGetFloatv(GL_ALPHA_TEST_REF, &cut);
    glGetIntegerv(GL_POLYGON_MODE, polygonMode);
    glGetTexEnviv(GL_TEXTURE_ENV, GL_TEXTURE_ENV_MODE, &textureMode);
    // Wireframe draws the square's edges, whatever its texels.
    if ((test != GL_GREATER && test != GL_GEQUAL) || cut <= kAlphaSlack ||
        polygonMode[0] != GL_FILL || polygonMode[1] != GL_FILL || textureMode != GL_MODULATE) {
        return Coverage::Whole;
    }
    // Lit, the fragment's alpha is the diffuse material's, clamped; unlit, the colour's (white).
    const float alpha =
        glIsEnabled(GL_LIGHTING) ? std::min(std::max(materialAlpha, 0.0f), 1.0f) : 1.0f;
    if (alpha <= 0.0f) {
        return Coverage::Nothing;
    }
    // A texel of alpha level k gives the fragment alpha * k / 255; the least level that may
    // pass the cut, give or take the rounding.
    const float level =
        std::floor((cut - kAlphaSlack) * static_cast<float>(kAlphaLevels - 1) / alpha) + 1.0f;
    if (level >= static_cast<float>(kAlphaLevels)) {
        return Coverage::Nothing;
    }
    if (level <= 0.0f) {
        return Coverage::Whole;
    }
    const int least = static_cast<int>(level);
    const AlphaBoxes& shape = alphaBoxes(texture);
    if (shape.width <= 0 || shape.height <= 0) {
        return Coverage::Whole; // its texels could not be read
    }
    const auto& box = shape.boxes[least];
    if (box[0] >= box[2]) {
        return Coverage::Nothing; // averages of texels never exceed the largest
    }
    if (shape.mipmapped) {
        return Coverage::Whole;
    }
    // Filtering wraps around: a box that reaches an edge shows on the far side too.
    const int size[2] = {shape.width, shape.height};
    for (int axis = 0; axis < 2; ++axis) {
        int from = box[axis] - kTexelMargin;
        int to = box[axis + 2] + kTexelMargin;
        if (from < 0 || to > size[axis]) {
            from = 0;
            to = size[axis];
        }
        part[axis] = static_cast<float>(from) / static_cast<float>(size[axis]);
        part[axis + 2] = static_cast<float>(to) / static_cast<float>(size[axis]);
    }
    return Coverage::Part;
}

// The window box (x, y, width, height) around the part of the square between the texture
// coordinates, with a pixel to spare, inside the viewport and any scissor box already set;
// false when that part reaches behind the eye, where its picture has no bounds.
bool windowBox(const float part[4], int window[4]) {
    GLfloat modelview[16];
    GLfloat projection[16];
    GLint viewport[4];
    glGetFloatv(GL_MODELVIEW_MATRIX, modelview);
    glGetFloatv(GL_PROJECTION_MATRIX, projection);
    glGetIntegerv(GL_VIEWPORT, viewport);
    // Texture coordinates run from 0 to 1 across the square's side of 2 kHalfSide.
    const auto side = [](float coordinate) {
        return -SmokeTexture::kHalfSide + 2.0f * SmokeTexture::kHalfSide * coordinate;
    };
    float low[2] = {1e30f, 1e30f};
    float high[2] = {-1e30f, -1e30f};
    for (int corner = 0; corner < 4; ++corner) {
        const float local[4] = {side(part[corner % 2 == 0 ? 0 : 2]),
                                side(part[corner / 2 == 0 ? 1 : 3]), 0.0f, 1.0f};
        float eye[4] = {};
        float clip[4] = {};
        for (int row = 0; row < 4; ++row) {
            for (int k = 0; k < 4; ++k) {
                eye[row] += modelview[k * 4 + row] * local[k];
            }
        }
        for (int row = 0; row < 4; ++row) {
            for (int k = 0; k < 4; ++k) {
                clip[row] += projection[k * 4 + row] * eye[k];
            }
        }
        if (clip[3] <= kNearestW) {
            return false;
        }
        for (int axis = 0; axis < 2; ++axis) {
            const float pixel =
                static_cast<float>(viewport[axis]) +
                (clip[axis] / clip[3] + 1.0f) * 0.5f * static_cast<float>(viewport[axis + 2]);
            low[axis] = std::min(low[axis], pixel);
            high[axis] = std::max(high[axis], pixel);
        }
    }
    int bounds[4] = {viewport[0], viewport[1], viewport[0] + viewport[2],
                     viewport[1] + viewport[3]};
    if (glIsEnabled(GL_SCISSOR_TEST)) {
        GLint scissor[4];
        glGetIntegerv(GL_SCISSOR_BOX, scissor);
        bounds[0] = std::max(bounds[0], scissor[0]);
        bounds[1] = std::max(bounds[1], scissor[1]);
        bounds[2] = std::min(bounds[2], scissor[0] + scissor[2]);
        bounds[3] = std::min(bounds[3], scissor[1] + scissor[3]);
    }
    for (int axis = 0; axis < 2; ++axis) {
        const float from =
            std::max(std::floor(low[axis]) - kPixelMargin, static_cast<float>(bounds[axis]));
        const float to =
            std::min(std::ceil(high[axis]) + kPixelMargin, static_cast<float>(bounds[axis + 2]));
        window[axis] = static_cast<int>(from);
        window[axis + 2] = std::max(static_cast<int>(to) - window[axis], 0);
    }
    return true;
}

} // namespace

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

void SmokeTexture::drawEffect(const ObjectTexture* texture, const float colour[4], bool trimmed) {
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
    float part[4];
    const unsigned name = texture != nullptr ? texture->getTextureId() : 0;
    const Coverage coverage =
        trimmed && name != 0 ? passingTexels(name, colour[3], part) : Coverage::Whole;
    int window[4];
    if (coverage == Coverage::Nothing) {
        glBindTexture(GL_TEXTURE_2D, name);
    } else if (coverage == Coverage::Part && windowBox(part, window)) {
        // The whole square still goes down, so every pixel is lit and textured as before; the
        // scissor only spares the rasteriser the pixels that fail the alpha test anyway.
        GLint scissor[4];
        glGetIntegerv(GL_SCISSOR_BOX, scissor);
        const bool scissored = glIsEnabled(GL_SCISSOR_TEST) == GL_TRUE;
        glScissor(window[0], window[1], window[2], window[3]);
        glEnable(GL_SCISSOR_TEST);
        drawSquare(texture);
        glScissor(scissor[0], scissor[1], scissor[2], scissor[3]);
        if (!scissored) {
            glDisable(GL_SCISSOR_TEST);
        }
    } else {
        drawSquare(texture);
    }
    glDisable(GL_TEXTURE_2D);
    glDisable(GL_BLEND);
    glDisable(GL_ALPHA_TEST);
}

float SmokeTexture::reach(const float scale[3]) {
    const float largest = std::max({std::fabs(scale[0]), std::fabs(scale[1]), std::fabs(scale[2])});
    return kHalfSide * std::sqrt(2.0f) * largest;
}
