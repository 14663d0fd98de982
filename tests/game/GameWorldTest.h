// A fresh world with a still player at the origin for the game-object tests, and the counts and
// camera they share.
#pragma once

#include "game/EnemyFighter.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>
#include <GL/glu.h>

#include <cstdint>
#include <vector>

namespace gametest {

class GameWorldTest : public testsupport::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        player = std::make_unique<testsupport::PlayerStandIn>(world);
        // Fighters share their behaviour state across the whole program; every story starts idle.
        EnemyFighter::resetSharedState();
    }
    void TearDown() override {
        WorldTest::TearDown();
        player.reset();
    }

    // Elements of one class in the world.
    template <typename T> int count() const {
        int n = 0;
        for (auto& element : *world) {
            n += dynamic_cast<T*>(element.get()) != nullptr;
        }
        return n;
    }
    template <typename T> std::vector<T*> all() const {
        std::vector<T*> found;
        for (auto& element : *world) {
            if (auto* t = dynamic_cast<T*>(element.get())) {
                found.push_back(t);
            }
        }
        return found;
    }

    // The game's camera: 45-degree perspective to 12000 units, eye at the origin looking down -z.
    void gameCamera() {
        glMatrixMode(GL_PROJECTION);
        glLoadIdentity();
        gluPerspective(45.0, double(kWidth) / kHeight, 1.0, 12000.0);
        glMatrixMode(GL_MODELVIEW);
        glLoadIdentity();
    }

    static int litPixels(const std::vector<std::uint8_t>& pixels) {
        return testsupport::litPixels(pixels);
    }

    // GL texture objects that exist now among the first few thousand names.
    static int liveTextures() {
        int live = 0;
        for (GLuint name = 1; name < 4096; ++name) {
            live += glIsTexture(name) == GL_TRUE;
        }
        return live;
    }

    std::unique_ptr<testsupport::PlayerStandIn> player;
};

} // namespace gametest
