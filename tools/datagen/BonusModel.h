// The bonus item: a glowing green crystal, about 10 units tall, held by two crossed golden
// rings with small sparks floating around it.
#pragma once

#include "tools/datagen/Ms3dWriter.h"

Ms3dWriter buildBonusModel(Detail detail);
