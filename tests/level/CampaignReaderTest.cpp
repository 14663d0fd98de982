// The campaign file: the levels it lists with their files taken from its folder, and one sentence
// for each way a campaign can be unusable.
#include "level/CampaignReader.h"
#include "tests/support/TempDir.h"

#include <gtest/gtest.h>

namespace {

// The levels as "id:file:name" words, or "error: ..." with the reader's sentence.
std::string readBack(CampaignReader& reader, const std::string& body) {
    const std::string text = "<?xml version=\"1.0\"?>\n" + body;
    if (!reader.readBytes(text.data(), text.size(), "c.xml", "/games/")) {
        EXPECT_TRUE(reader.levels().empty());
        return "error: " + reader.error();
    }
    std::string said;
    for (const CampaignReader::Level& level : reader.levels()) {
        said += (said.empty() ? "" : " ") + level.id + ":" + level.file + ":" + level.name;
    }
    return said;
}

TEST(CampaignReader, ListsItsLevelsInOrderOrSaysInOneSentenceWhyItCannot) {
    const std::string longest(CampaignReader::kMaxNameLength, 'n');
    const struct {
        std::string body;
        std::string said;
    } cases[] = {
        {"<CAMPAIGN>\n<!-- two -->\n<LEVEL id=\"a-1\" file=\"a.xml\" name=\"The A\"/>\n"
         "<LEVEL name=\"B &amp; C\" file=\"/elsewhere/b.xml\" id=\"B_2\"></LEVEL></CAMPAIGN>",
         "a-1:/games/a.xml:The A B_2:/elsewhere/b.xml:B & C"},
        {"<CAMPAIGN><LEVEL id=\"x\" file=\"x.xml\" name=\"" + longest + "\"/></CAMPAIGN>",
         "x:/games/x.xml:" + longest},
        {"<CAMPAIGN><LEVEL id=\"x\" file=\"x.xml\" name=\"" + longest + "!\"/></CAMPAIGN>",
         "error: c.xml: level 1: a name is 1 to 40 printable ASCII characters"},
        {"<CAMPAIGN><LEVEL id=\"x\" file=\"x.xml\" name=\"caf\xc3\xa9\"/></CAMPAIGN>",
         "error: c.xml: level 1: a name is 1 to 40 printable ASCII characters"},
        {"<CAMPAIGN><LEVEL id=\"x\" file=\"x.xml\" name=\"\"/></CAMPAIGN>",
         "error: c.xml: level 1: a name is 1 to 40 printable ASCII characters"},
        {"<CAMPAIGN><LEVEL id=\"a b\" file=\"x.xml\" name=\"X\"/></CAMPAIGN>",
         "error: c.xml: level 1: an id is 1 to 40 letters, digits, '-' or '_'"},
        {"<CAMPAIGN><LEVEL id=\"a\" file=\"a.xml\" name=\"A\"/><LEVEL id=\"a\" file=\"b.xml\" "
         "name=\"B\"/></CAMPAIGN>",
         "error: c.xml: level 2: the id a is taken by an earlier level"},
        {"<CAMPAIGN><LEVEL id=\"a\" name=\"A\"/></CAMPAIGN>",
         "error: c.xml: level 1 needs an id, a file and a name"},
        {"<CAMPAIGN><LEVEL id=\"a\" file=\"\" name=\"A\"/></CAMPAIGN>",
         "error: c.xml: level 1 names no file"},
        {"<CAMPAIGN><LEVEL id=\"a\" file=\"a.xml\" name=\"A\"/><STAGE/></CAMPAIGN>",
         "error: c.xml: after 1 levels comes an element that is not a LEVEL"},
        {"<CAMPAIGN>\n</CAMPAIGN>", "error: c.xml: the campaign lists no levels"},
        {"<LEVEL id=\"a\" file=\"a.xml\" name=\"A\"/>", "error: c.xml: the document is not a "
                                                        "CAMPAIGN"},
        {"<!DOCTYPE CAMPAIGN [<!ENTITY e \"a\">]>\n<CAMPAIGN><LEVEL id=\"&e;\" file=\"a.xml\" "
         "name=\"A\"/></CAMPAIGN>",
         "error: c.xml: line 2, column 10: a DOCTYPE is not allowed"},
        {"<CAMPAIGN><LEVEL id=\"a\"", "error: c.xml: line 2, column 24: whitespace expected"},
    };
    CampaignReader reader;
    for (const auto& c : cases) {
        EXPECT_EQ(readBack(reader, c.body), c.said) << c.body;
    }

    std::string many = "<CAMPAIGN>";
    for (std::size_t i = 0; i <= CampaignReader::kMaxLevels; ++i) {
        many += "<LEVEL id=\"l" + std::to_string(i) + "\" file=\"f\" name=\"N\"/>";
    }
    EXPECT_EQ(readBack(reader, many + "</CAMPAIGN>"),
              "error: c.xml: a campaign holds at most 100 levels");
}

TEST(CampaignReader, TakesLevelFilesFromItsOwnFolderAndNamesAFileItCannotRead) {
    testsupport::TempDir dir;
    const std::string path =
        dir.write("c.xml", "<CAMPAIGN><LEVEL id=\"a\" file=\"a.xml\" name=\"A\"/></CAMPAIGN>");
    CampaignReader reader;
    ASSERT_TRUE(reader.read(path)) << reader.error();
    EXPECT_EQ(reader.levels().at(0).file, dir.path() + "/a.xml");

    EXPECT_FALSE(reader.read(dir.path()));
    EXPECT_EQ(reader.error(), dir.path() + ": it is a directory");
    EXPECT_TRUE(reader.levels().empty());
}

} // namespace
