// Loading level files written by the tests: the node-name lines, objects with and without
// their attributes, what is not visited, and files that are missing, broken or hostile.
#include "tests/level/LevelFileTest.h"

#include <cstdlib>
#include <random>

#include <unistd.h>

using leveltest::kPrefix;
using leveltest::LevelFileTest;

namespace {

using Lines = std::vector<std::string>;

// How long a refused level may take before the test gives up on it, in seconds.
const unsigned kPatienceSeconds = 5;

void expectPos(const Object3D* element, float x, float y, float z) {
    ASSERT_NE(element, nullptr);
    testsupport::expectVector(*element, &Element3D::getPos, x, y, z, 1e-3);
}

} // namespace

TEST_F(LevelFileTest, EveryChildOfTheRootIsNamedInTheLogTextIncluded) {
    ASSERT_TRUE(loadLevel("<LEVEL>\n"
                          "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"a\" z=\"-600\"/>\n"
                          "<OBJECT type=\"OBJ3D_BONUS\" objid=\"b\" z=\"-700\"/>\n"
                          "</LEVEL>\n"));
    EXPECT_EQ(loaderLines(),
              (Lines{"Iterating level Elements", "#text", "OBJECT", "#text", "OBJECT", "#text"}))
        << "a good level logs nothing but its node names";
    EXPECT_EQ(world->size(), 2u);
}

TEST_F(LevelFileTest, OnlyTheRootsOwnObjectsAreMadeOtherChildrenAreNamedOrReported) {
    ASSERT_TRUE(loadLevel("<LEVEL><!-- the rocks --><GL_LIGHT id=\"0\" x=\"1\"/>"
                          "<PLANET type=\"OBJ3D_ASTEROID\" objid=\"p\"/>"
                          "<GROUP><OBJECT type=\"OBJ3D_ASTEROID\" objid=\"in-group\"/></GROUP>"
                          "<OBJECT type=\"OBJ3D_KNACKER\" objid=\"outer\" z=\"-900\">"
                          "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"in-object\"/>"
                          "</OBJECT></LEVEL>"));
    EXPECT_EQ(linesAfterIterating(),
              (Lines{"#comment", "GL_LIGHT", "PLANET", "Unknown Element in xml file", "GROUP",
                     "Unknown Element in xml file", "OBJECT"}));
    ASSERT_EQ(world->size(), 1u) << "loading goes on after an unknown element";
    EXPECT_NE(find("outer"), nullptr);
}

TEST_F(LevelFileTest, ObjectsTakeTheirKindIdAndPositionFromTheFileAndNeedTypeAndObjid) {
    ASSERT_TRUE(loadLevel(
        "<LEVEL>"
        "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"rock\" x=\"5\"/>"
        "<OBJECT type=\"OBJ3D_BONUS\" objid=\"gift\" x=\"-12.5\" y=\"3e2\" z=\"-800.25\"/>"
        "<OBJECT z=\"-900\" objid=\"boss\" type=\"OBJ3D_KNACKER\" y=\"40\"/>"
        "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"odd\" x=\"far\" y=\"12abc\" z=\"\"/>"
        "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"rock&amp;roll&#33;\" x=\"&#54;00\"/>"
        "<OBJECT type=\"OBJ3D_ASTEROID\" x=\"600\"/>"
        "<OBJECT objid=\"nameless\" x=\"700\"/>"
        "<OBJECT/>"
        "<OBJECT Type=\"OBJ3D_ASTEROID\" OBJID=\"shouting\"/>"
        "</LEVEL>"));
    EXPECT_EQ(linesAfterIterating(), Lines(9, "OBJECT")) << "those left out are left out silently";
    ASSERT_EQ(world->size(), 5u);
    expectPos(find("rock"), 5, 0, 0);
    expectPos(find("gift"), -12.5f, 300, -800.25f);
    expectPos(find("boss"), 0, 40, -900);
    expectPos(find("odd"), 0, 12, 0);
    expectPos(find("rock&roll!"), 600, 0, 0);
    EXPECT_EQ(find("rock")->getModelFile(), "data/model/asteroid.ms3d");
    EXPECT_EQ(find("gift")->getModelFile(), "data/model/bonus2.ms3d");
    EXPECT_EQ(find("boss")->getModelFile(), "data/model/knacker.ms3d");
    EXPECT_FLOAT_EQ(find("boss")->getScale(0), 6.0f) << "class defaults stay";
    EXPECT_NEAR(find("boss")->getView(0), -1.0f, 1e-6) << "the knacker keeps its quarter turn";
    EXPECT_EQ(all().front()->getObjId(), "rock&roll!") << "level objects are filed at the front";
}

TEST_F(LevelFileTest, AnUncreatableTypeEndsTheProgramWithCodeOne) {
    for (const char* type :
         {"obj3d_asteroid", "OBJ3D_WURSTSEMMEL", "OBJ3D_NOTFOUND", "OBJ3D_SPACESTATION", ""}) {
        const std::string path = writeFile("bad.xml", std::string("<LEVEL><OBJECT type=\"") + type +
                                                          "\" objid=\"x\" x=\"600\"/></LEVEL>");
        EXPECT_EXIT(world->loadFromXMLFile(path.c_str()), ::testing::ExitedWithCode(1),
                    "ElementContainer::addElement\\(\\): Unknown Element\n")
            << "type \"" << type << "\"";
    }
}

TEST_F(LevelFileTest, AMissingFileGivesAnEmptyWorldAndSaysSo) {
    const std::string path = dir + "/no-such-level.xml";
    EXPECT_FALSE(loadFile(path));
    EXPECT_EQ(world->size(), 0u);
    EXPECT_NE(log.find(std::string(kPrefix) + path + ":0:0: "), std::string::npos) << log;
    EXPECT_NE(log.find("Iterating level Elements"), std::string::npos);
}

TEST_F(LevelFileTest, ABrokenFileKeepsTheObjectsReadBeforeTheFaultAndSaysWhere) {
    const std::string before = "<LEVEL>\n<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"before\"/>\n";
    const std::string after = "\n<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"after\"/>\n</LEVEL>";
    const struct {
        const char* name;
        std::string fault; // on line 3
    } cases[] = {
        {"cut.xml", "<OBJECT type=\"OBJ3D_AST"},
        {"tags.xml", "<OBJECT type=\"OBJ3D_BONUS\" objid=\"b\"></LEVEL>" + after},
        {"entity.xml", "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"&rock;\"/>" + after},
    };
    for (const auto& c : cases) {
        const std::string path = writeFile(c.name, before + c.fault);
        loadFile(path);
        EXPECT_NE(find("before"), nullptr) << c.name;
        EXPECT_EQ(find("after"), nullptr) << c.name << ": nothing after the fault is read";
        EXPECT_NE(log.find(std::string(kPrefix) + path + ":3:"), std::string::npos)
            << c.name << "\n"
            << log;
        for (Object3D* element : all()) {
            element->setHealth(0.0f);
        }
        world->update(0.0);
    }
}

TEST_F(LevelFileTest, EmptyAndBinaryFilesGiveAnEmptyWorldAndAnErrorLine) {
    std::mt19937 random(20);
    std::string noise(4096, '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(random() & 0xff);
    }
    const Lines names{"empty.xml", "blank.xml", "noise.bin", "nul.xml", "text.txt"};
    const Lines contents{"", "   \n\n", noise, std::string(64, '\0'), "level one: rocks\n"};
    for (std::size_t i = 0; i < names.size(); ++i) {
        const std::string path = writeFile(names[i], contents[i]);
        EXPECT_FALSE(loadFile(path)) << names[i];
        EXPECT_EQ(world->size(), 0u) << names[i];
        EXPECT_EQ(log.rfind(std::string(kPrefix) + path + ":", 0), 0u)
            << names[i] << " is reported first\n"
            << log;
    }
}

// No DOCTYPE, so no entities and nothing outside the file.

TEST_F(LevelFileTest, ADoctypeIsRefusedSoNoOtherFileIsEverRead) {
    // Were the DOCTYPE honoured, an entity would pull objects in from a second file.
    writeFile("rocks.ent", "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"smuggled\" x=\"600\"/>");
    writeFile("level.dtd", "<!ENTITY rocks '<OBJECT type=\"OBJ3D_KNACKER\" objid=\"boss\"/>'>");
    for (const std::string& doctype :
         {std::string("<!DOCTYPE LEVEL [<!ENTITY rocks SYSTEM \"rocks.ent\">]>"),
          "<!DOCTYPE LEVEL SYSTEM \"" + dir + "/level.dtd\">",
          std::string("<!DOCTYPE LEVEL SYSTEM \"http://127.0.0.1:9/l.dtd\">")}) {
        const std::string path = writeFile(
            "doctype.xml", "<?xml version=\"1.0\"?>\n" + doctype +
                               "\n<LEVEL>&rocks;"
                               "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"own\"/></LEVEL>\n");
        EXPECT_FALSE(loadFile(path)) << doctype;
        EXPECT_EQ(world->size(), 0u) << "a level with a DOCTYPE is refused as a whole";
        EXPECT_NE(log.find(std::string(kPrefix) + path + ":2:"), std::string::npos) << log;
    }
}

TEST_F(LevelFileTest, AnEntityBombIsRefusedAtOnce) {
    // Twelve levels of tenfold entities: a parser that expanded them would run for minutes and
    // eat the memory, so the load runs in a child process that an alarm ends after a while.
    std::string bomb = "<?xml version=\"1.0\"?>\n<!DOCTYPE LEVEL [\n<!ENTITY e0 \"rock\">\n";
    for (int i = 1; i <= 12; ++i) {
        bomb += "<!ENTITY e" + std::to_string(i) + " \"";
        for (int j = 0; j < 10; ++j) {
            bomb += "&e" + std::to_string(i - 1) + ";";
        }
        bomb += "\">\n";
    }
    bomb += "]>\n<LEVEL><OBJECT type=\"OBJ3D_ASTEROID\" objid=\"&e12;\"/></LEVEL>\n";
    const std::string path = writeFile("bomb.xml", bomb);
    EXPECT_EXIT(
        {
            alarm(kPatienceSeconds);
            const bool loaded = world->loadFromXMLFile(path.c_str());
            std::exit(!loaded && world->size() == 0 ? 0 : 2);
        },
        ::testing::ExitedWithCode(0), "loadFromXMLFile\\(\\): [^\n]*bomb\\.xml:2:");
}
