// The knacker: a heavy armoured block about 8 units across (the game scales it by 6): armour
// plates on six faces, ribbed edge girders, corner nodes, bolts and red glowing vents over a
// glowing core.
#pragma once

#include "tools/datagen/Ms3dWriter.h"

Ms3dWriter buildKnackerModel(Detail detail);
