// The asteroid: a lumpy, cratered rock about 3.5 units in radius (the game scales it by 6),
// with rusty ore veins and frosted crater floors as separate groups.
#pragma once

#include "tools/datagen/Ms3dWriter.h"

Ms3dWriter buildAsteroidModel(Detail detail);
