// A level builder that keeps every object the walk hands over instead of building it: for
// looking at a level without a world, before it is played or instead of it.
#pragma once

#include "level/LevelBuilder.h"

#include <vector>

class LevelRecorder : public LevelBuilder {
public:
    void createElement(const Object& object) override;

    const std::vector<Object>& objects() const { return objectList; }

private:
    std::vector<Object> objectList;
};
