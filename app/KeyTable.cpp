// The key table and its debug actions.
#include "app/KeyTable.h"

#include "app/GLWindow.h"
#include "game/PlayerShip.h"
#include "platform/Clock.h"
#include "platform/Platform.h"
#include "world/ElementContainer.h"
#include "world/SoundSystem.h"

#include <GL/gl.h>

#include <cstdlib>

namespace {

// One-shot: true once per key-down message, clearing the entry.
bool takeKey(AppState& app, unsigned key) {
    if (!app.keyDown[key]) {
        return false;
    }
    app.keyDown[key] = false;
    return true;
}

void flightKeys(AppState& app) {
    PlayerShip& player = *app.pPlayer;
    const bool turnRight = ActionHeld(app, KeyAction::TurnRight);
    const bool turnLeft = ActionHeld(app, KeyAction::TurnLeft);
    const bool noseDown = ActionHeld(app, KeyAction::NoseDown);
    const bool noseUp = ActionHeld(app, KeyAction::NoseUp);
    const bool rollRight = ActionHeld(app, KeyAction::RollRight);
    const bool rollLeft = ActionHeld(app, KeyAction::RollLeft);
    if (turnRight) {
        player.setYawInput(-1);
    }
    if (turnLeft) {
        player.setYawInput(+1);
    }
    if (noseDown) {
        player.setPitchInput(-1);
    }
    if (noseUp) {
        player.setPitchInput(+1);
    }
    if (rollRight) {
        player.setRollInput(+1);
    }
    if (rollLeft) {
        player.setRollInput(-1);
    }
    if (turnRight || turnLeft || noseDown || noseUp || rollRight || rollLeft) {
        player.rampTurnRate(app.lastFrameTime);
    } else {
        player.resetTurnRate();
    }
    if (ActionHeld(app, KeyAction::Faster)) {
        player.setThrust(+1);
    }
    if (ActionHeld(app, KeyAction::Slower)) {
        player.setThrust(-1);
    }
    if (TakeAction(app, KeyAction::Fire)) {
        player.fire();
    }
}

} // namespace

bool ActionHeld(const AppState& app, KeyAction action) {
    for (unsigned key : app.keys.keys(action)) {
        if (app.keyDown[key]) {
            return true;
        }
    }
    return false;
}

bool TakeAction(AppState& app, KeyAction action) {
    bool taken = false;
    for (unsigned key : app.keys.keys(action)) {
        taken = takeKey(app, key) || taken;
    }
    return taken;
}

void HandleKeys(AppState& app) {
    if (takeKey(app, platform::VK_F3)) {
        ToggleWireframe(app);
    }
    if (takeKey(app, platform::VK_F4)) {
        app.pContainer->bDisplayLists = !app.pContainer->bDisplayLists;
    }
    if (takeKey(app, platform::VK_F5)) {
        app.pContainer->bVertexArrays = !app.pContainer->bVertexArrays;
    }
    if (takeKey(app, platform::VK_F6)) {
        app.pContainer->iTextureFilter = (app.pContainer->iTextureFilter + 1) % 3;
        app.pContainer->reloadTextures();
    }
    if (takeKey(app, '1')) {
        SpawnExplosion(app);
    }
    if (TakeAction(app, KeyAction::ShowKeys)) {
        app.keysCardShown = !app.keysCardShown;
    }
    if (!LevelOver(app) && !app.worldHeld()) {
        flightKeys(app);
    }
    if (takeKey(app, platform::VK_SPACE)) {
        SpawnFighterAhead(app);
    }
    if (takeKey(app, 'B')) {
        SpawnAsteroidAhead(app);
    }
    if (takeKey(app, 'V')) {
        DumpObjects(app);
    }
    if (takeKey(app, platform::VK_M) && app.pSound) {
        app.pSound->setMuted(!app.pSound->isMuted());
    }
}

bool LevelOver(const AppState& app) {
    return app.pContainer->bLevelEnded || app.pPlayer->getHealth() <= 0.0f;
}

void SetPaused(AppState& app, bool paused) {
    if (app.paused != paused) {
        app.paused = paused;
        platform::debugOutput(paused ? "WinMain(): paused\n" : "WinMain(): going on\n");
    }
}

void ToggleWireframe(AppState& app) {
    app.wireframe = !app.wireframe;
    if (app.wireframe) {
        glDisable(GL_BLEND);
        glDisable(GL_LINE_SMOOTH);
        glDisable(GL_TEXTURE_2D);
        glPolygonMode(GL_FRONT, GL_LINE);
        glPolygonMode(GL_BACK, GL_LINE);
        return;
    }
    // Back to solid: the whole first set-up again, except that back faces are culled now.
    ApplySolidState(GL_BACK);
    glColor3d(1.0, 1.0, 1.0);
    glEnable(GL_TEXTURE_2D);
    glPolygonMode(GL_FRONT, GL_FILL);
    glPolygonMode(GL_BACK, GL_FILL);
}

void SpawnFighterAhead(AppState& app) {
    const PlayerShip& player = *app.pPlayer;
    Object3D* fighter = app.pContainer->addElement(kKindFighter);
    fighter->setPos(player.getPos(0) + player.getView(0) * kFighterSpawnDistance,
                    player.getPos(1) + player.getView(1) * kFighterSpawnDistance,
                    player.getPos(2) + player.getView(2) * kFighterSpawnDistance);
    fighter->setMatrix(player.getMatrix());
}

void SpawnAsteroidAhead(AppState& app) {
    const PlayerShip& player = *app.pPlayer;
    Object3D* asteroid = app.pContainer->addElement(kKindAsteroid);
    // Three draws in this order, so a seeded run gives the same rocks.
    const float scale = platform::randomFraction() * kAsteroidScaleRange + kAsteroidMinScale;
    const float yawAngle = platform::randomFraction() * kAsteroidTurnRange;
    const float pitchAngle = platform::randomFraction() * kAsteroidTurnRange;
    asteroid->setScale(scale, scale, scale);
    asteroid->setPos(player.getPos(0) + player.getView(0) * kAsteroidSpawnDistance,
                     player.getPos(1) + player.getView(1) * kAsteroidSpawnDistance,
                     player.getPos(2) + player.getView(2) * kAsteroidSpawnDistance);
    asteroid->setMatrix(player.getMatrix());
    asteroid->yaw(yawAngle);
    asteroid->pitch(pitchAngle);
}

void SpawnExplosion(AppState& app) {
    Object3D* explosion = app.pContainer->addElement(kKindExplosion);
    if (explosion != nullptr) { // none while the world holds its most effects
        explosion->setPos(kExplosionSpawnPos[0], kExplosionSpawnPos[1], kExplosionSpawnPos[2]);
    }
}

void DumpObjects(AppState& app) {
    for (auto& element : *app.pContainer) {
        if (element->getHealth() <= 0.0f || element->getModelFile().empty()) {
            continue;
        }
        platform::debugOutput("<OBJECT type=\"");
        platform::debugOutput(element->getModelFile().c_str());
        platform::debugPrintf("\" objid=\"obj%d\" x=\"%f\" ", app.objectDumpCounter++,
                              element->getPos(0));
        platform::debugPrintf("y=\"%f\" ", element->getPos(1));
        platform::debugPrintf("z=\"%f\"/>\n", element->getPos(2));
    }
}
