// Fixture for level-loading tests: a fresh world, a scratch folder for level files written by
// the test, and the debug lines of the last load.
#pragma once

#include "tests/support/TempDir.h"
#include "tests/support/WorldFixture.h"

#include <sstream>
#include <string>
#include <vector>

namespace leveltest {

// Every line the loader writes starts with this.
const std::string kPrefix = "ElementContainer::loadFromXMLFile(): ";

class LevelFileTest : public testsupport::WorldTest {
protected:
    // Loads the file, keeping its debug output in `log`; gives the loader's result.
    bool loadFile(const std::string& path) {
        testsupport::DebugCapture capture;
        const bool loaded = world->loadFromXMLFile(path.c_str());
        log = capture.text();
        return loaded;
    }
    // Writes the text as "level.xml" and loads it.
    bool loadLevel(const std::string& xml) { return loadFile(scratch.write("level.xml", xml)); }

    // The loader's own debug lines, without prefix and newline. Other parts of the game log
    // while elements are made (some without a newline), so only the loader's text is kept.
    std::vector<std::string> loaderLines() const {
        std::vector<std::string> lines;
        std::istringstream in(log);
        for (std::string line; std::getline(in, line);) {
            const std::size_t at = line.find(kPrefix);
            if (at != std::string::npos) {
                lines.push_back(line.substr(at + kPrefix.size()));
            }
        }
        return lines;
    }
    // The element with this objid, or null.
    Object3D* find(const std::string& objId) {
        for (auto& element : *world) {
            if (element->getObjId() == objId) {
                return element.get();
            }
        }
        return nullptr;
    }

    testsupport::TempDir scratch;
    const std::string dir = scratch.path();
    std::string log;
};

} // namespace leveltest
