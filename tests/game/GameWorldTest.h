// A fresh world with a still player at the origin for the game-object tests, and the texture
// count they share.
#pragma once

#include "game/EnemyFighter.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

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
