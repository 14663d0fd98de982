// The level file reader: parses the file into a DOM tree with the XML library and walks the
// children of its root, handing each OBJECT to a builder. Knows nothing of GL or the world.
#pragma once

#include "level/LevelBuilder.h"

#include <xercesc/util/XercesDefs.hpp>

XERCES_CPP_NAMESPACE_BEGIN
class DOMNode;
XERCES_CPP_NAMESPACE_END

class LevelReader {
public:
    explicit LevelReader(LevelBuilder& builder) : pBuilder(&builder) {}

    // Reads the file and builds its objects; false when no document (or no root) could be read.
    bool read(const char* fileName);

private:
    void readObject(const XERCES_CPP_NAMESPACE::DOMNode* node);

    LevelBuilder* pBuilder;
};
