// The two shots: the player's laser bolt "fugenmasse" (thin, white-green, 15 units along z) and
// the enemies' "wurst" (a bent, red-glowing sausage about 13.6 units long).
#pragma once

#include "tools/datagen/Ms3dWriter.h"

Ms3dWriter buildLaserBoltModel(Detail detail);
Ms3dWriter buildSausageModel(Detail detail);
