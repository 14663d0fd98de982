// The game's application state on the shared test context, built the way the entry routine
// builds it: a world, the player's ship, the instruments and a viewport of the window's size.
#pragma once

#include "app/AppState.h"
#include "app/GLWindow.h"
#include "game/EnemyFighter.h"
#include "game/PlayerShip.h"
#include "hud/EnergyBar.h"
#include "hud/RadarScope.h"
#include "platform/Clock.h"
#include "tests/support/WorldFixture.h"

#include <GL/gl.h>

#include <memory>

namespace apptest {

class AppTest : public testsupport::WorldTest {
protected:
    void SetUp() override {
        WorldTest::SetUp();
        EnemyFighter::resetSharedState();
        app = std::make_unique<AppState>();
        // No window object: GL goes to the context the test made current.
        app->pClock = &clock;
        app->pContainer = world;
        app->pPlayer = std::make_unique<PlayerShip>(world, nullptr);
        app->pTopRadar = std::make_unique<RadarScope>(world, kRadarTopView, 0.3f, -0.337f);
        app->pFrontRadar = std::make_unique<RadarScope>(world, kRadarFrontView, -0.3f, -0.337f);
        app->pEnergyBar = std::make_unique<EnergyBar>(app->pPlayer.get(), -0.157f, -0.348f);
        ResizeViewport(*app, kWidth, kHeight);
        InitGLState();
    }
    void TearDown() override {
        if (app->frame.crosshairList != 0) {
            glDeleteLists(app->frame.crosshairList, 1);
        }
        app.reset();
        WorldTest::TearDown();
    }

    void pressKey(unsigned key) { GLWindowProc(*app, platform::WM_KEYDOWN, key, 1); }
    void releaseKey(unsigned key) { GLWindowProc(*app, platform::WM_KEYUP, key, 1); }

    platform::Clock clock = platform::Clock::makeVirtual();
    std::unique_ptr<AppState> app;
};

} // namespace apptest
