// The level maker's report: what it finds in small levels, each finding at its edge, and the
// levels it says the game would not play.
#include "app/LevelCheck.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

#include <cmath>
#include <cstdio>
#include <string>

namespace {

// An object line with the coordinates written exactly as the float they stand for.
std::string object(const char* type, const char* id, float x, float y = 0.0f, float z = 0.0f,
                   const char* inside = "") {
    char line[256];
    std::snprintf(line, sizeof line,
                  "<OBJECT type=\"%s\" objid=\"%s\" x=\"%.9g\" y=\"%.9g\" z=\"%.9g\">%s</OBJECT>",
                  type, id, x, y, z, inside);
    return line;
}

struct Checked {
    bool plays;
    std::string text;
};

Checked check(const std::string& objects, const char* name = "level.xml") {
    testsupport::TempDir scratch;
    Checked result;
    result.plays =
        LevelCheck::check(scratch.write(name, "<LEVEL>" + objects + "</LEVEL>"), result.text);
    return result;
}

bool says(const Checked& checked, const std::string& text) {
    return checked.text.find(text) != std::string::npos;
}

} // namespace

TEST(LevelCheck, CountsKindsAndNamesTargetsAndWhatLiesNearTheStart) {
    const Checked checked = check(object("OBJ3D_ASTEROID", "rock1", 0.0f, 0.0f, -2000.0f) +
                                  object("OBJ3D_ASTEROID", "rock2", 0.0f, 0.0f, -3000.0f) +
                                  object("OBJ3D_FIGHTER", "boss", 0.0f, 0.0f, -4000.0f,
                                         "<TRIGGER cause=\"death\" event=\"endlevel\"/>") +
                                  object("OBJ3D_BONUS", "gift", 300.0f, 400.0f));
    EXPECT_TRUE(checked.plays) << checked.text;
    EXPECT_TRUE(says(checked, ": 4 objects, within the 6000 a level may hold")) << checked.text;
    EXPECT_TRUE(says(checked, "  OBJ3D_ASTEROID 2\n  OBJ3D_BONUS 1\n  OBJ3D_FIGHTER 1\n"));
    EXPECT_TRUE(says(checked, "targets (their destruction ends the level): 1\n  boss\n"));
    EXPECT_TRUE(says(checked, "pairs touching at the start: 0\n"));
    EXPECT_TRUE(says(checked, "objects within 500 of the start: 1\n  gift\n"));
    EXPECT_TRUE(says(checked, "the game plays it\n"));
}

TEST(LevelCheck, EachFindingHoldsUpToItsEdgeAndNotAFloatStepBeyond) {
    // Two rocks of radius 20 touch below a squared distance of 800: (20, 20) apart is 800.
    const float below = std::nextafter(20.0f, 0.0f);
    const float above = std::nextafter(20.0f, 100.0f);
    const float edge = static_cast<float>(LevelCheck::kNearStart);
    const float huge = static_cast<float>(LevelCheck::kHugeCoordinate);
    const struct {
        std::string objects;
        const char* finding;
    } rows[] = {
        {object("OBJ3D_ASTEROID", "a", 0.0f) + object("OBJ3D_ASTEROID", "b", 20.0f, below),
         "pairs touching at the start: 1\n  a+b\n"},
        {object("OBJ3D_ASTEROID", "a", 0.0f) + object("OBJ3D_ASTEROID", "b", 20.0f, 20.0f),
         "pairs touching at the start: 0\n"},
        {object("OBJ3D_ASTEROID", "a", 0.0f) + object("OBJ3D_ASTEROID", "b", 20.0f, above),
         "pairs touching at the start: 0\n"},
        {object("OBJ3D_OUTERSPACE", "sky", 0.0f) + object("OBJ3D_ASTEROID", "b", 1.0f),
         "pairs touching at the start: 0\n"},
        {object("OBJ3D_KNACKER", "k", edge), "objects within 500 of the start: 1\n  k\n"},
        {object("OBJ3D_KNACKER", "k", std::nextafter(edge, 1e9f)),
         "objects within 500 of the start: 0\n"},
        {object("OBJ3D_KNACKER", "k", huge), "not finite or beyond 1e+06: 0\n"},
        {object("OBJ3D_KNACKER", "k", 0.0f, 0.0f, -std::nextafter(huge, 1e9f)),
         "not finite or beyond 1e+06: 1\n  k\n"},
        {"<OBJECT type=\"OBJ3D_BONUS\" objid=\"b\" x=\"1e39\"/><OBJECT type=\"OBJ3D_BONUS\" "
         "objid=\"n\" y=\"nan\"/>",
         "not finite or beyond 1e+06: 2\n  b n\n"},
    };
    for (const auto& row : rows) {
        const Checked checked = check(row.objects);
        EXPECT_TRUE(checked.plays) << row.objects;
        EXPECT_TRUE(says(checked, row.finding)) << row.objects << "\n" << checked.text;
    }
}

TEST(LevelCheck, ListsAFewNamesOfACrowdAndCountsTheRest) {
    std::string crowd;
    for (int i = 0; i < 30; ++i) {
        crowd += object("OBJ3D_ASTEROID", ("r" + std::to_string(i)).c_str(), 0.0f);
    }
    const Checked checked = check(crowd);
    EXPECT_TRUE(says(checked, "pairs touching at the start: 435\n  r0+r1 r0+r2")) << checked.text;
    EXPECT_TRUE(says(checked, "r0+r20 and 415 more\n")) << checked.text;
}

// (The limits at their edges are the level reader's, a crowd refused the hostile story's.)
TEST(LevelCheck, LevelsTheGameWouldNotPlayAreSaidSo) {
    const struct {
        std::string objects;
        const char* said;
    } rows[] = {
        {object("OBJ3D_ASTEROID", "a", 0.0f) + object("obj3d_asteroid", "lower", 0.0f),
         "lower: type \"obj3d_asteroid\" is no kind of object: the game ends loading there\n"},
        {object("OBJ3D_WURSTSEMMEL", "w", 0.0f), "w: type \"OBJ3D_WURSTSEMMEL\""},
        {object("OBJ3D_ASTEROID", "a", 0.0f) + "<OBJECT", "not well-formed: "},
    };
    for (const auto& row : rows) {
        const Checked checked = check(row.objects);
        EXPECT_FALSE(checked.plays) << checked.text.substr(0, 300);
        EXPECT_TRUE(says(checked, row.said)) << checked.text.substr(0, 300);
    }
    std::string text;
    EXPECT_FALSE(LevelCheck::check("/nonexistent/level.xml", text));
    EXPECT_EQ(text,
              "/nonexistent/level.xml: cannot read the level file: No such file or directory\n")
        << text;
}
