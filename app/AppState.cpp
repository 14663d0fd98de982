// Out of line so the owned pieces' classes need only be known here.
#include "app/AppState.h"

#include "assets/ObjectTexture.h"
#include "game/PlayerShip.h"
#include "hud/BitmapFont.h"
#include "hud/EnergyBar.h"
#include "hud/RadarScope.h"

AppState::AppState() = default;
AppState::~AppState() = default;
