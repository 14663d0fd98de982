// The energy bar over the cockpit: the player's health as a bar that shrinks from full length
// and turns from green to red when less than two fifths are left.
#pragma once

class Element3D;

class EnergyBar {
public:
    // (x, y): lower-left corner of the bar's frame in the plane one unit in front of the eye.
    // The player's health at this moment is the full scale.
    EnergyBar(Element3D* player, float x, float y);

    // Draws in the current model-view frame; touches only the colour.
    void draw();

    float getMaxHealth() const { return fMaxHealth; }
    // True while the bar is drawn red (little health left).
    bool showsLow() const;

private:
    float fMaxHealth;
    Element3D* pPlayer;
    float fX;
    float fY;
    float fWidth;
    float fHeight;
    float fBorder;
};
