// Loading level files written by the tests: what each child of the root makes and logs,
// objects with and without their attributes, files that are missing, broken or hostile, and one
// reader reading level after level, and the most objects a level may hold.
#include "level/LevelReader.h"
#include "level/LevelRecorder.h"
#include "platform/Platform.h"
#include "tests/level/LevelFileTest.h"

#include <malloc.h>

#include <random>

using leveltest::kPrefix;
using leveltest::LevelFileTest;

namespace {

using Lines = std::vector<std::string>;

void expectPos(const Object3D* element, float x, float y, float z) {
    ASSERT_NE(element, nullptr);
    testsupport::expectVector(*element, &Element3D::getPos, x, y, z, 1e-3);
}

} // namespace

TEST_F(LevelFileTest, OnlyTheRootsOwnObjectsAreMadeAndEveryChildIsNamedInTheLog) {
    ASSERT_TRUE(loadLevel("<LEVEL>\n<!-- the rocks --><GL_LIGHT id=\"0\" x=\"1\"/>"
                          "<PLANET type=\"OBJ3D_ASTEROID\" objid=\"p\"/>"
                          "<GROUP><OBJECT type=\"OBJ3D_ASTEROID\" objid=\"in-group\"/></GROUP>"
                          "<OBJECT type=\"OBJ3D_KNACKER\" objid=\"outer\" z=\"-900\">"
                          "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"in-object\"/>"
                          "</OBJECT>\n</LEVEL>"));
    EXPECT_EQ(loaderLines(), (Lines{"Iterating level Elements", "#text", "#comment", "GL_LIGHT",
                                    "PLANET", "Unknown Element in xml file", "GROUP",
                                    "Unknown Element in xml file", "OBJECT", "#text"}));
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
    Lines nineObjects(10, "OBJECT");
    nineObjects[0] = "Iterating level Elements";
    EXPECT_EQ(loaderLines(), nineObjects) << "those left out are left out silently";
    ASSERT_EQ(world->size(), 5u);
    expectPos(find("rock"), 5, 0, 0);
    expectPos(find("gift"), -12.5f, 300, -800.25f);
    expectPos(find("boss"), 0, 40, -900);
    expectPos(find("odd"), 0, 12, 0);
    expectPos(find("rock&roll!"), 600, 0, 0);
    EXPECT_EQ(find("gift")->getModelFile(), "data/model/bonus2.ms3d");
    EXPECT_NEAR(find("boss")->getView(0), -1.0f, 1e-6) << "the knacker keeps its quarter turn";
    EXPECT_EQ(all().front()->getObjId(), "rock&roll!") << "level objects are filed at the front";
}

TEST_F(LevelFileTest, AnUncreatableTypeEndsTheProgramWithCodeOne) {
    for (const char* type :
         {"obj3d_asteroid", "OBJ3D_WURSTSEMMEL", "OBJ3D_NOTFOUND", "OBJ3D_SPACESTATION", ""}) {
        const std::string path =
            scratch.write("bad.xml", std::string("<LEVEL><OBJECT type=\"") + type +
                                         "\" objid=\"x\" x=\"600\"/></LEVEL>");
        EXPECT_EXIT(world->loadFromXMLFile(path.c_str()), ::testing::ExitedWithCode(1),
                    "ElementContainer::addElement\\(\\): Unknown Element\n")
            << "type \"" << type << "\"";
    }
}

TEST_F(LevelFileTest, AnUnreadableFileKeepsWhatWasReadBeforeTheFaultAndSaysWhereFirst) {
    const std::string before = "<LEVEL>\n<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"before\"/>\n";
    const std::string after = "\n<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"after\"/>\n</LEVEL>";
    std::mt19937 random(20);
    std::string noise(4096, '\0');
    for (char& byte : noise) {
        byte = static_cast<char>(random() & 0xff);
    }
    const struct {
        const char* name;
        std::string content; // the faults of the first three on line 3
        const char* where;
    } cases[] = {
        {"cut.xml", before + "<OBJECT type=\"OBJ3D_AST", ":3:"},
        {"tags.xml", before + "<OBJECT type=\"OBJ3D_BONUS\" objid=\"b\"></LEVEL>" + after, ":3:"},
        {"entity.xml", before + "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"&rock;\"/>" + after,
         ":3:"},
        {"empty.xml", "", ":"},
        {"blank.xml", "   \n\n", ":"},
        {"noise.bin", noise, ":"},
        {"nul.xml", std::string(64, '\0'), ":"},
        {"text.txt", "level one: rocks\n", ":"},
        {"missing.xml", "", ":0:0: "}, // not written
    };
    for (const auto& c : cases) {
        const bool broken = std::string(c.where) == ":3:";
        const std::string path =
            c.where[1] == '0' ? dir + "/" + c.name : scratch.write(c.name, c.content);
        EXPECT_NE(loadFile(path), !broken) << c.name;
        EXPECT_EQ(find("before") != nullptr, broken) << c.name;
        EXPECT_EQ(find("after"), nullptr) << c.name << ": nothing after the fault is read";
        EXPECT_EQ(log.rfind(std::string(kPrefix) + path + c.where, 0), 0u) << c.name << "\n" << log;
        world->clear();
    }
}

TEST_F(LevelFileTest, ADoctypeIsRefusedSoNoOtherFileIsEverReadAndTheLogSaysWhy) {
    // Were the DOCTYPE honoured, an entity would pull objects in from a second file, or an
    // entity bomb would expand for minutes.
    scratch.write("rocks.ent", "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"smuggled\" x=\"600\"/>");
    scratch.write("level.dtd", "<!ENTITY rocks '<OBJECT type=\"OBJ3D_KNACKER\" objid=\"boss\"/>'>");
    for (const std::string& doctype :
         {std::string("<!DOCTYPE LEVEL [<!ENTITY rocks SYSTEM \"rocks.ent\">]>"),
          "<!DOCTYPE LEVEL SYSTEM \"" + dir + "/level.dtd\">",
          std::string("<!DOCTYPE LEVEL SYSTEM \"http://127.0.0.1:9/l.dtd\">"),
          std::string("<!DOCTYPE LEVEL [<!ENTITY a \"rock\"><!ENTITY b \"&a;&a;&a;&a;\">]>")}) {
        const std::string path = scratch.write(
            "doctype.xml", "<?xml version=\"1.0\"?>\n" + doctype +
                               "\n<LEVEL>&rocks;"
                               "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"own\"/></LEVEL>\n");
        EXPECT_FALSE(loadFile(path)) << doctype;
        EXPECT_EQ(world->size(), 0u) << "a level with a DOCTYPE is refused as a whole";
        EXPECT_EQ(loaderLines().at(0), path + ":2:10: a DOCTYPE is not allowed in a level file")
            << log;
    }
}

TEST(LevelReader, OneReaderReadsLevelAfterLevelWithoutHoldingOnToThem) {
    struct Counter : LevelBuilder {
        void createElement(const Object&) override { ++objects; }
        int objects = 0;
    } counter;
    std::string level = "<LEVEL>";
    for (int i = 0; i < 20; ++i) {
        level += "<OBJECT type=\"OBJ3D_ASTEROID\" objid=\"r" + std::to_string(i) + "\" x=\"1\"/>";
    }
    level += "</LEVEL>";
    LevelReader reader(counter);
    platform::setDebugLog(""); // a line per node, thousands of times
    std::size_t heapAfterFirst = 0;
    for (int i = 1; i <= 400; ++i) {
        ASSERT_TRUE(reader.readBytes(level.data(), level.size(), "level.xml"));
        if (i == 10) {
            heapAfterFirst = mallinfo2().uordblks;
        }
    }
    const std::size_t heapAfterAll = mallinfo2().uordblks;
    platform::setDebugLog("stderr");
    EXPECT_EQ(counter.objects, 400 * 20);
    // Each parsed document takes tens of kilobytes; kept, 390 of them would be several megabytes.
    EXPECT_LT(heapAfterAll, heapAfterFirst + (1u << 20));
}

TEST(LevelReader, LevelsAreBuiltUpToTheirLimitsAndRefusedWholeBeyond) {
    const std::size_t most = LevelReader::kMaxObjects;
    const std::size_t fighters = LevelReader::kKindLimits[0].most;
    const std::size_t skies = LevelReader::kKindLimits[1].most;
    ASSERT_STREQ(LevelReader::kKindLimits[0].type, "OBJ3D_FIGHTER");
    ASSERT_STREQ(LevelReader::kKindLimits[1].type, "OBJ3D_OUTERSPACE");
    const struct {
        const char* type;
        std::size_t count; // of the type, the rest of the level asteroids
        std::size_t total;
        const char* refusal; // "" when built
    } rows[] = {
        {"OBJ3D_ASTEROID", most - 1, most - 1, ""},
        {"OBJ3D_ASTEROID", most, most, ""},
        {"OBJ3D_ASTEROID", most + 1, most + 1, "6001 objects, more than the 6000 a level may hold"},
        {"OBJ3D_FIGHTER", fighters - 1, fighters - 1, ""},
        {"OBJ3D_FIGHTER", fighters, most, ""},
        {"OBJ3D_FIGHTER", fighters + 1, fighters + 1,
         "2001 objects of type OBJ3D_FIGHTER, more than the 2000 a level may hold"},
        {"OBJ3D_OUTERSPACE", skies - 1, 20, ""},
        {"OBJ3D_OUTERSPACE", skies, 20, ""},
        {"OBJ3D_OUTERSPACE", skies + 1, 20,
         "17 objects of type OBJ3D_OUTERSPACE, more than the 16 a level may hold"},
    };
    for (const auto& row : rows) {
        std::string level = "<LEVEL>";
        for (std::size_t i = 0; i < row.total; ++i) {
            level += std::string("<OBJECT type=\"") +
                     (i < row.count ? row.type : "OBJ3D_ASTEROID") + "\" objid=\"o" +
                     std::to_string(i) + "\"/>\n";
        }
        level += "</LEVEL>";
        LevelRecorder recorder;
        LevelReader reader(recorder, LevelReader::Log::Quiet);
        const bool built = *row.refusal == '\0';
        const std::string what = std::string(row.type) + " " + std::to_string(row.count);
        EXPECT_EQ(reader.readBytes(level.data(), level.size(), "crowd.xml"), built) << what;
        EXPECT_EQ(reader.objectCount(), row.total) << what;
        EXPECT_EQ(recorder.objects().size(), built ? row.total : 0u)
            << what << ": counted before anything is built";
        EXPECT_EQ(reader.limitExceeded(), row.refusal) << what;
    }
}
