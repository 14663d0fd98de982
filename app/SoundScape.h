// What the cockpit sounds like from frame to frame: the ear rides in the player's ship, the
// engine hum follows its speed, a warning repeats while the energy bar is red, the ambient drone
// runs underneath, and the level-end and game-over jingles sound once each.
#pragma once

class ElementContainer;
class EnergyBar;
class PlayerShip;
class SoundSystem;

class SoundScape {
public:
    // Engine loop at rest and at top speed: gain 0..1 and pitch (1 = as recorded).
    static constexpr float kEngineRestGain = 0.1f;
    static constexpr float kEngineTopGain = 0.5f;
    static constexpr float kEngineRestPitch = 0.75f;
    static constexpr float kEngineTopPitch = 1.5f;
    static constexpr float kDroneGain = 0.12f;
    static constexpr double kWarningInterval = 20.0; // time units between two warning tones

    // Starts the loops; the world's sounds go to the container's sound system.
    SoundScape(ElementContainer& container, PlayerShip& player, const EnergyBar& energyBar);

    // Once per drawn frame after the world and the ship moved; mixes the frame's seconds.
    void update(double seconds);

private:
    ElementContainer& world;
    PlayerShip& ship;
    const EnergyBar& bar;
    double dWarningTimer = 0.0; // time units since the last warning tone
    bool bWarning = false;
    bool bGameOverPlayed = false;
};
