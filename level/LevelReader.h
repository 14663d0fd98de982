// The level file reader: parses the file into a DOM tree with the XML library and walks the
// children of its root, handing each OBJECT to a builder. Knows nothing of GL or the world.
#pragma once

#include "level/LevelBuilder.h"
#include "level/LevelErrorHandler.h"
#include "level/SafeXmlParser.h"

#include <xercesc/util/XercesDefs.hpp>

#include <cstddef>
#include <memory>
#include <string>

XERCES_CPP_NAMESPACE_BEGIN
class DOMNode;
XERCES_CPP_NAMESPACE_END

class LevelReader {
public:
    // The most OBJECT elements a level may hold, and of them the most of the kinds that cost
    // more: a fighter brings a shield and wakes to fire at the ship, a star sky is drawn over
    // the whole screen every frame. Counted before any object is built. Chosen so that the
    // worst level within them (every kind at one point in view, the software renderer on one
    // thread) takes under 10 s for its first frame and under 1 s for every later one.
    static constexpr std::size_t kMaxObjects = 6000;
    struct KindLimit {
        const char* type;
        std::size_t most;
    };
    static constexpr KindLimit kKindLimits[] = {{"OBJ3D_FIGHTER", 2000}, {"OBJ3D_OUTERSPACE", 16}};
    static constexpr std::size_t kLimitedKinds = sizeof kKindLimits / sizeof kKindLimits[0];

    // Debug: what the game logs while loading; Quiet: nothing (a check before the load).
    enum class Log { Debug, Quiet };

    // Sets up the XML library and one parser, used for every level this reader reads.
    explicit LevelReader(LevelBuilder& builder, Log logging = Log::Debug);
    ~LevelReader();
    LevelReader(const LevelReader&) = delete;
    LevelReader& operator=(const LevelReader&) = delete;

    // Reads the file (a regular file of at most 16 MiB; anything else is refused without being
    // waited on) and builds its objects; false when no document (or no root) could be read.
    bool read(const char* fileName);
    // The same for a level already in memory; name is what the log calls it.
    bool readBytes(const char* bytes, std::size_t size, const char* name);

    // The OBJECT elements under the root of the last level read, counted before any was built;
    // above kMaxObjects none was, and the read said false.
    std::size_t objectCount() const { return iObjects; }
    bool overLimit() const;
    // What a level over the limit holds too many of: "6001 objects, more than the 6000 a level
    // may hold".
    std::string limitExceeded() const;
    // The XML library's errors in the last level read (a level read as far as it is
    // well-formed), and the first of them as the log gives it.
    int errorCount() const { return errorHandler.getErrorCount(); }
    const std::string& firstError() const { return errorHandler.firstError(); }

private:
    void readObject(const XERCES_CPP_NAMESPACE::DOMNode* node);
    void log(const char* text) const;
    // One line of the loader's own: its prefix, the text, a line end.
    void logLoadLine(const char* text) const;

    LevelBuilder* pBuilder;
    Log eLog;
    std::size_t iObjects = 0;
    std::size_t iKindCounts[kLimitedKinds] = {}; // as kKindLimits
    bool bLibraryReady = false;
    // Declared before the parser, so that it outlives the parser's last use of it.
    LevelErrorHandler errorHandler;
    SafeXmlParser pParser;
};
