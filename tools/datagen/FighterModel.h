// The enemy fighter "semmel": fuselage, canopy, swept wings, twin engines with glowing exhausts
// at the rear (-z), fins, guns and navigation lights; about 70 units nose to tail.
#pragma once

#include "tools/datagen/Ms3dWriter.h"

Ms3dWriter buildFighterModel(Detail detail);
