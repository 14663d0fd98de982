// The per-frame sound of the cockpit, driven from the ship and the instruments.
#include "app/SoundScape.h"

#include "game/PlayerShip.h"
#include "hud/EnergyBar.h"
#include "world/ElementContainer.h"

namespace {
const double kTimeUnitsPerSecond = 20.0;
}

SoundScape::SoundScape(ElementContainer& container, PlayerShip& player, const EnergyBar& energyBar)
    : world(container), ship(player), bar(energyBar) {
    SoundSystem& sound = world.sound();
    sound.startLoop(Sound::Drone);
    sound.adjustLoop(Sound::Drone, kDroneGain, 1.0f);
    sound.startLoop(Sound::Engine);
    sound.adjustLoop(Sound::Engine, kEngineRestGain, kEngineRestPitch);
}

void SoundScape::update(double seconds) {
    SoundSystem& sound = world.sound();
    const float position[3] = {ship.getPos(0), ship.getPos(1), ship.getPos(2)};
    const float at[3] = {ship.getView(0), ship.getView(1), ship.getView(2)};
    const float up[3] = {ship.getUp(0), ship.getUp(1), ship.getUp(2)};
    sound.setListener(position, at, up);

    const double share = ship.getMaxSpeed() > 0.0 ? ship.getSpeed() / ship.getMaxSpeed() : 0.0;
    const float s = static_cast<float>(share < 0.0 ? 0.0 : (share > 1.0 ? 1.0 : share));
    sound.adjustLoop(Sound::Engine, kEngineRestGain + (kEngineTopGain - kEngineRestGain) * s,
                     kEngineRestPitch + (kEngineTopPitch - kEngineRestPitch) * s);

    const bool alive = ship.getHealth() > 0.0f;
    if (!alive && !bGameOverPlayed) {
        bGameOverPlayed = true;
        sound.playFlat(Sound::GameOver);
    }
    // The warning sounds as the bar turns red and then once per interval while it stays red.
    const bool low = alive && !world.bLevelEnded && bar.showsLow();
    dWarningTimer += seconds * kTimeUnitsPerSecond;
    if (low && (!bWarning || dWarningTimer >= kWarningInterval)) {
        sound.playFlat(Sound::Warning);
        dWarningTimer = 0.0;
    }
    bWarning = low;

    sound.update(seconds);
}
