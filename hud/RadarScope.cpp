// RadarScope: projects each element's offset from the ship onto two of the ship's axes and
// scales the scope's range onto its radius; anything farther out sits on the rim.
#include "hud/RadarScope.h"

#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <algorithm>
#include <cmath>
#include <cstring>

namespace {

const float kRadarRange = 2000.0f; // world units shown from the centre to the rim
const float kRadarRadius = 0.06f;  // scope radius in the plane one unit in front of the eye

// Dots made room for beyond the world's size when the buffers grow: a battle's smoke and shots.
const std::size_t kRoomForAFight = 1024;

} // namespace

RadarScope::RadarScope(ElementContainer* container, int mode, float x, float y)
    : iMode(mode), fX(x), fY(y), pContainer(container), fDotSize(kRadarDotSize) {}

void RadarScope::draw() {
    glColor4f(1.0f, 1.0f, 1.0f, 1.0f);
    glPointSize(fDotSize);
    glEnable(GL_POINT_SMOOTH);

    // One batch: the ship itself at the centre, in green, then a dot per active element in list
    // order, each over the ones before it as if drawn one by one.
    const std::size_t entries = pContainer->size() + 1;
    makeRoom(entries);
    dots.resize(2 * entries);
    colours.resize(3 * entries);
    float* dot = dots.data();
    float* colour = colours.data();
    *dot++ = fX;
    *dot++ = fY;
    *colour++ = 0.0f;
    *colour++ = 1.0f;
    *colour++ = 0.0f;
    const Element3D* player = pContainer->getPlayer();
    for (auto it = pContainer->begin(); player != nullptr && it != pContainer->end(); ++it) {
        const Object3D& element = **it;
        if (!element.isActive()) {
            continue;
        }
        const float d[3] = {element.getPos(0) - player->getPos(0),
                            element.getPos(1) - player->getPos(1),
                            element.getPos(2) - player->getPos(2)};
        float a =
            player->getRight(0) * d[0] + player->getRight(1) * d[1] + player->getRight(2) * d[2];
        float b =
            iMode == kRadarTopView
                ? player->getView(0) * d[0] + player->getView(1) * d[1] + player->getView(2) * d[2]
                : player->getUp(0) * d[0] + player->getUp(1) * d[1] + player->getUp(2) * d[2];
        a = a / kRadarRange * kRadarRadius;
        b = b / kRadarRange * kRadarRadius;
        if (a * a + b * b > kRadarRadius * kRadarRadius) {
            // Out of range: keep the direction, pin it to the rim.
            const float length = std::sqrt(a * a + b * b);
            a = a / length * kRadarRadius;
            b = b / length * kRadarRadius;
        }
        *dot++ = fX + a;
        *dot++ = fY + b;
        for (int c = 0; c < 3; ++c) {
            *colour++ = element.getRadarColor(c);
        }
    }
    dots.resize(static_cast<std::size_t>(dot - dots.data()));
    colours.resize(static_cast<std::size_t>(colour - colours.data()));
    const float* sendDots = dots.data();
    const float* sendColours = colours.data();
    dotsSent = dots.size() / 2;
    if (pContainer->uses(kShortcutRadar)) {
        const std::size_t first = keepLastAtEachSpot();
        sendDots = sentDots.data() + 2 * first;
        sendColours = sentColours.data() + 3 * first;
        dotsSent -= first;
    }
    glEnableClientState(GL_VERTEX_ARRAY);
    glEnableClientState(GL_COLOR_ARRAY);
    glVertexPointer(2, GL_FLOAT, 0, sendDots);
    glColorPointer(3, GL_FLOAT, 0, sendColours);
    glDrawArrays(GL_POINTS, 0, static_cast<GLsizei>(dotsSent));
    glDisableClientState(GL_COLOR_ARRAY);
    glDisableClientState(GL_VERTEX_ARRAY);
    // A colour array leaves the current colour undefined; dot by dot it was the last dot's.
    glColor3fv(&colours[colours.size() - 3]);
}

void RadarScope::makeRoom(std::size_t entries) {
    // Room for every element; the buffers keep it from frame to frame, and when the world
    // outgrows them they make room for a lively fight more, so that new smoke and shots do not
    // cost the heap frame after frame.
    if (sentDots.size() >= 2 * entries) {
        return;
    }
    const std::size_t room = entries + kRoomForAFight;
    dots.reserve(2 * room);
    colours.reserve(3 * room);
    sentDots.resize(2 * room);
    sentColours.resize(3 * room);
    // At most half the slots taken keeps the searches short.
    std::size_t slots = 1;
    while (slots < 2 * room) {
        slots *= 2;
    }
    spots.assign(slots, Spot{0, 0});
    drawMark = 0;
}

std::size_t RadarScope::keepLastAtEachSpot() {
    // Dots at the same x and y fill the same pixels with the same coverage, and with blending
    // off the last one drawn there covers the others; so from the back, the first dot at a spot
    // is the one to keep. Keys are the coordinates' bits: dots that are equal, and nothing else.
    if (++drawMark == 0) {
        std::fill(spots.begin(), spots.end(), Spot{0, 0});
        drawMark = 1;
    }
    const std::size_t mask = spots.size() - 1;
    std::size_t first = dots.size() / 2;
    for (std::size_t i = first; i-- > 0;) {
        const float* dot = &dots[2 * i];
        std::uint32_t x = 0;
        std::uint32_t y = 0;
        std::memcpy(&x, &dot[0], sizeof x);
        std::memcpy(&y, &dot[1], sizeof y);
        const std::uint64_t key = static_cast<std::uint64_t>(x) << 32 | y;
        std::size_t slot = static_cast<std::size_t>((key * 0x9E3779B97F4A7C15ull) >> 32) & mask;
        while (spots[slot].mark == drawMark && spots[slot].key != key) {
            slot = (slot + 1) & mask;
        }
        if (spots[slot].mark == drawMark) {
            continue; // a later dot covers this one
        }
        spots[slot] = Spot{key, drawMark};
        --first;
        sentDots[2 * first] = dot[0];
        sentDots[2 * first + 1] = dot[1];
        std::copy_n(&colours[3 * i], 3, &sentColours[3 * first]);
    }
    return first;
}
