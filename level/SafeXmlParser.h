// The XML library's DOM parser as every file the game reads wants it: a DOCTYPE refused, which
// shuts out external files, the network and entity expansion, and nothing validated.
#pragma once

#include <xercesc/util/XercesDefs.hpp>

#include <memory>

XERCES_CPP_NAMESPACE_BEGIN
class DOMLSParser;
XERCES_CPP_NAMESPACE_END

struct SafeXmlParserRelease {
    void operator()(XERCES_CPP_NAMESPACE::DOMLSParser* parser) const;
};
using SafeXmlParser = std::unique_ptr<XERCES_CPP_NAMESPACE::DOMLSParser, SafeXmlParserRelease>;

// A new parser, or none when the library offers no "LS" implementation. The library must have
// been initialised.
SafeXmlParser CreateSafeXmlParser();

// Gives back every document the parser made when it goes out of scope. The parser keeps them
// until told otherwise; a reader that reads file after file would grow with each one and slow
// down as it does.
class ParsedDocumentsRelease {
public:
    explicit ParsedDocumentsRelease(XERCES_CPP_NAMESPACE::DOMLSParser* parser) : pParser(parser) {}
    ~ParsedDocumentsRelease();
    ParsedDocumentsRelease(const ParsedDocumentsRelease&) = delete;
    ParsedDocumentsRelease& operator=(const ParsedDocumentsRelease&) = delete;

private:
    XERCES_CPP_NAMESPACE::DOMLSParser* pParser;
};
