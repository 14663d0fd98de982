// The smoke image that every smoke cloud and explosion shows, loaded once and shared (shots
// drop about twenty clouds a second, and a texture per cloud would pile up for the whole game),
// and the textured square both effects are drawn as.
#pragma once

#include <memory>

class ElementContainer;
class ObjectTexture;

class SmokeTexture {
public:
    static constexpr const char* kFileName = "data/texture/smoke.tga";
    // Half the side of the effects' square, in world units before scaling.
    static constexpr float kHalfSide = 10.0f;

    // The smoke texture made with the container's current texture filter. The first call for
    // a filter loads it; every later call gives the same one, so at most one texture per filter
    // mode ever exists. A file that failed to load is not retried (texture name 0).
    static std::shared_ptr<ObjectTexture> get(const ElementContainer& container);

    // Binds the texture (none without one) and draws the square in the local x-y plane, with
    // the whole image on it.
    static void drawSquare(const ObjectTexture* texture);
    // The square textured and blended, with every front material colour set to the RGBA;
    // texturing, blending and the alpha test end up switched off. Trimmed, it draws only in the
    // part of the window where some texel can pass the alpha test at this colour, and nothing
    // when none can: a puff fades out long before it goes, and its faint rim covers the most.
    static void drawEffect(const ObjectTexture* texture, const float colour[4], bool trimmed);
    // Half the square's diagonal under the scale: how far from its centre it can reach.
    static float reach(const float scale[3]);
};
