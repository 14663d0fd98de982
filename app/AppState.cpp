// Out of line so the owned pieces' classes need only be known here.
#include "app/AppState.h"

#include "app/Campaign.h"
#include "app/SoundScape.h"

#include "assets/ObjectTexture.h"
#include "game/PlayerShip.h"
#include "hud/BitmapFont.h"
#include "hud/EnergyBar.h"
#include "hud/RadarScope.h"
#include "world/SoundSystem.h"

AppState::AppState() = default;
AppState::~AppState() = default;
