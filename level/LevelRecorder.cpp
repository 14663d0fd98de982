// The recording level builder.
#include "level/LevelRecorder.h"

void LevelRecorder::createElement(const Object& object) {
    objectList.push_back(object);
}
