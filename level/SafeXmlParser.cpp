// The parser's configuration, shared by the level and campaign readers.
#include "level/SafeXmlParser.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

XERCES_CPP_NAMESPACE_USE

namespace {

// Longest feature name the implementation lookup is given, in characters.
const int kFeatureNameLength = 99;

// Asks for a parameter only where the parser says it can take it.
void requestParameter(DOMConfiguration* config, const XMLCh* name, bool value) {
    if (config->canSetParameter(name, value)) {
        config->setParameter(name, value);
    }
}

} // namespace

void SafeXmlParserRelease::operator()(DOMLSParser* parser) const {
    parser->release();
}

ParsedDocumentsRelease::~ParsedDocumentsRelease() {
    pParser->resetDocumentPool();
}

SafeXmlParser CreateSafeXmlParser() {
    XMLCh features[kFeatureNameLength + 1];
    XMLString::transcode("LS", features, kFeatureNameLength);
    DOMImplementation* implementation = DOMImplementationRegistry::getDOMImplementation(features);
    if (implementation == nullptr) {
        return nullptr;
    }
    SafeXmlParser parser(static_cast<DOMImplementationLS*>(implementation)
                             ->createLSParser(DOMImplementationLS::MODE_SYNCHRONOUS, nullptr));
    DOMConfiguration* config = parser->getDomConfig();
    // The game's files need no DOCTYPE, and refusing one shuts out everything that could make a
    // file read other files or reach the network (external DTDs and entities; the library
    // fetches http URLs) and every entity expansion. Schemas and XInclude stay off, as the
    // library has them by default.
    requestParameter(config, XMLUni::fgDOMDisallowDoctype, true);
    // No validation: without a DOCTYPE there is never a grammar, and validating against none
    // would report every element and attribute of a good file as undeclared.
    requestParameter(config, XMLUni::fgDOMNamespaces, true);
    requestParameter(config, XMLUni::fgDOMDatatypeNormalization, true);
    return parser;
}
