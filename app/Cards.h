// The cards drawn over the view: a campaign level's opening card, the pause line, the keys card
// and the level's time under LEVEL COMPLETE. They lie in the plane one unit in front of the eye,
// like the instruments, centred on its middle, so they sit right on any shape of window.
#pragma once

#include "app/AppState.h"

#include <string>

// Draws whichever cards are up; with none it changes nothing. Expects the state DrawFrame leaves
// after the instruments (the overlay plane, depth test and lighting off) and keeps it, but for
// texturing, which it leaves off.
void DrawCards(AppState& app);

// A level time as the cards show it: minutes, seconds and hundredths ("1:23.45").
std::string LevelTimeText(double seconds);
