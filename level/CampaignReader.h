// The campaign file reader: the list of levels played one after another, each with an id (what
// the player's progress is kept under), a level file and a name to show. Takes bytes or a path
// and returns plain data; knows nothing of GL or the world.
#pragma once

#include "level/SafeXmlParser.h"

#include <cstddef>
#include <memory>
#include <string>
#include <vector>

class CampaignReader {
public:
    struct Level {
        std::string id;   // letters, digits, '-' and '_'
        std::string file; // the level file, relative ones taken from the campaign's folder
        std::string name; // printable ASCII, as the game's font draws it
    };

    static const std::size_t kMaxLevels = 100;
    static const std::size_t kMaxIdLength = 40;   // characters
    static const std::size_t kMaxNameLength = 40; // characters, so a name fits its card

    // Sets up the XML library and one parser, used for every campaign this reader reads.
    CampaignReader();
    ~CampaignReader();
    CampaignReader(const CampaignReader&) = delete;
    CampaignReader& operator=(const CampaignReader&) = delete;

    // Reads the file (a regular file of at most 16 MiB, never waited on). False with error()
    // saying what is wrong in one sentence; levels() is then empty.
    bool read(const std::string& path);
    // The same for a campaign in memory: name is what error() calls it, folder is where the
    // relative level files lie ("" for the working folder).
    bool readBytes(const char* bytes, std::size_t size, const std::string& name,
                   const std::string& folder);

    const std::vector<Level>& levels() const { return levelList; }
    const std::string& error() const { return errorText; }

private:
    bool fail(const std::string& sentence);

    class ErrorCollector;
    bool bLibraryReady = false;
    // Declared before the parser, so that it outlives the parser's last use of it.
    std::unique_ptr<ErrorCollector> pErrors;
    SafeXmlParser pParser;
    std::vector<Level> levelList;
    std::string errorText;
    std::string szName;
};
