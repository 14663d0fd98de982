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
