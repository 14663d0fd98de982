// Scratch folder, loading and log splitting for the level tests.
#include "tests/level/LevelFileTest.h"

#include <sstream>

namespace leveltest {

const char* const kPrefix = "ElementContainer::loadFromXMLFile(): ";

bool LevelFileTest::loadFile(const std::string& path) {
    testsupport::DebugCapture capture;
    const bool loaded = world->loadFromXMLFile(path.c_str());
    log = capture.text();
    return loaded;
}

bool LevelFileTest::loadLevel(const std::string& xml) {
    return loadFile(scratch.write("level.xml", xml));
}

std::vector<std::string> LevelFileTest::loaderLines() const {
    std::vector<std::string> lines;
    std::istringstream in(log);
    std::string line;
    const std::string prefix = kPrefix;
    while (std::getline(in, line)) {
        const std::size_t at = line.find(prefix);
        if (at != std::string::npos) {
            lines.push_back(line.substr(at + prefix.size()));
        }
    }
    return lines;
}

Object3D* LevelFileTest::find(const std::string& objId) {
    for (auto& element : *world) {
        if (element->getObjId() == objId) {
            return element.get();
        }
    }
    return nullptr;
}

} // namespace leveltest
