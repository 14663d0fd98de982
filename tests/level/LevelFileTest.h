// Fixture for level-loading tests: a fresh world, a scratch folder for level files written by
// the test, and the debug lines of the last load.
#pragma once

#include "tests/support/TempDir.h"
#include "tests/support/WorldFixture.h"

#include <string>
#include <vector>

namespace leveltest {

// Every line the loader writes starts with this.
extern const char* const kPrefix;

class LevelFileTest : public testsupport::WorldTest {
protected:
    // Loads the file, keeping its debug output in `log`; gives the loader's result.
    bool loadFile(const std::string& path);
    // Writes the text as "level.xml" and loads it.
    bool loadLevel(const std::string& xml);

    // The loader's own debug lines, without prefix and newline. Other parts of the game log
    // while elements are made (some without a newline), so only the loader's text is kept.
    std::vector<std::string> loaderLines() const;
    // The element with this objid, or null.
    Object3D* find(const std::string& objId);

    testsupport::TempDir scratch;
    const std::string dir = scratch.path();
    std::string log;
};

} // namespace leveltest
