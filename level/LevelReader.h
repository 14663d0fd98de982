// The level file reader: parses the file into a DOM tree with the XML library and walks the
// children of its root, handing each OBJECT to a builder. Knows nothing of GL or the world.
#pragma once

#include "level/LevelBuilder.h"
#include "level/LevelErrorHandler.h"
#include "level/SafeXmlParser.h"

#include <xercesc/util/XercesDefs.hpp>

#include <cstddef>
#include <memory>

XERCES_CPP_NAMESPACE_BEGIN
class DOMNode;
XERCES_CPP_NAMESPACE_END

class LevelReader {
public:
    // Sets up the XML library and one parser, used for every level this reader reads.
    explicit LevelReader(LevelBuilder& builder);
    ~LevelReader();
    LevelReader(const LevelReader&) = delete;
    LevelReader& operator=(const LevelReader&) = delete;

    // Reads the file (a regular file of at most 16 MiB; anything else is refused without being
    // waited on) and builds its objects; false when no document (or no root) could be read.
    bool read(const char* fileName);
    // The same for a level already in memory; name is what the log calls it.
    bool readBytes(const char* bytes, std::size_t size, const char* name);

private:
    void readObject(const XERCES_CPP_NAMESPACE::DOMNode* node);

    LevelBuilder* pBuilder;
    bool bLibraryReady = false;
    // Declared before the parser, so that it outlives the parser's last use of it.
    LevelErrorHandler errorHandler;
    SafeXmlParser pParser;
};
