// The key table: held keys steer the player's ship, one-shot keys toggle drawing switches and
// the sound, spawn objects ahead of the ship and write the object dump.
#pragma once

#include "app/AppState.h"

// Acts on app.keyDown once per pass of the main loop that found no message. One-shot keys clear
// their entry as they act; flight keys only count while the ship lives, the level runs and
// nothing holds the world. Enter, P and the pad's Start are left to the entry routine, which
// knows what comes next.
void HandleKeys(AppState& app);

// The ship is destroyed or the level has ended.
bool LevelOver(const AppState& app);
// Holds or frees the world (and the sound) at the player's wish.
void SetPaused(AppState& app, bool paused);

// Whether any key bound to the action is down; the taking form clears them, for one-shot actions.
bool ActionHeld(const AppState& app, KeyAction action);
bool TakeAction(AppState& app, KeyAction action);

// The debug actions behind the one-shot keys, also usable on their own.
void ToggleWireframe(AppState& app);
void SpawnFighterAhead(AppState& app);
void SpawnAsteroidAhead(AppState& app);
void SpawnExplosion(AppState& app);
// Writes one "<OBJECT .../>" line per living element with a model to the debug channel.
void DumpObjects(AppState& app);

// How far ahead of the ship the debug spawns appear (world units).
const float kFighterSpawnDistance = 500.0f;
const float kAsteroidSpawnDistance = 100.0f;
// The random asteroid's scale range (times the model size) and turn range (degrees).
const float kAsteroidMinScale = 5.0f;
const float kAsteroidScaleRange = 10.0f;
const float kAsteroidTurnRange = 360.0f;
// Where key 1 sets off an explosion (world coordinates).
const float kExplosionSpawnPos[3] = {0.0f, 0.0f, -100.0f};
