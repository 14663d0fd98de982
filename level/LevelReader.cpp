// The level file reader: the XML library's parser with a DOCTYPE refused, and the walk of the
// document that hands every OBJECT with its position and triggers to the builder.
#include "level/LevelReader.h"

#include "level/LevelErrorHandler.h"
#include "level/SafeXmlParser.h"
#include "level/XmlText.h"
#include "platform/Files.h"
#include "platform/Platform.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/Wrapper4InputSource.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLString.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <cstdlib>
#include <string>

XERCES_CPP_NAMESPACE_USE

namespace {

const char* const kLoadPrefix = "ElementContainer::loadFromXMLFile(): ";

void logLoadMessage(const XMLCh* message) {
    platform::debugOutput(kLoadPrefix);
    platform::debugOutput(XmlText(message).chars());
    platform::debugOutput("\n");
}

// The attribute's value, or null when the attribute is absent.
const XMLCh* attributeValue(const DOMNamedNodeMap* attributes, const char* name) {
    const DOMNode* attribute = attributes->getNamedItem(XmlText(name).xml());
    return attribute != nullptr ? attribute->getNodeValue() : nullptr;
}

// A coordinate attribute read with atof: absent or unreadable gives 0.
double coordinate(const DOMNamedNodeMap* attributes, const char* name) {
    const XMLCh* value = attributeValue(attributes, name);
    return value != nullptr ? std::atof(XmlText(value).chars()) : 0.0;
}

// Whether the attribute is there with exactly this value (case included).
bool attributeIs(const DOMNamedNodeMap* attributes, const char* name, const char* value) {
    const XMLCh* found = attributeValue(attributes, name);
    return found != nullptr && XmlText(found).equals(value);
}

// A TRIGGER element's "cause" and "event"; anything unknown stays unset.
Trigger readTrigger(const DOMNode* node) {
    const DOMNamedNodeMap* attributes = node->getAttributes();
    int cause = kTriggerUnset;
    int event = kTriggerUnset;
    if (attributes == nullptr) {
        return Trigger(cause, event);
    }
    if (attributeIs(attributes, "cause", "death")) {
        cause = kTriggerCauseDeath;
    } else if (attributeIs(attributes, "cause", "proximity")) {
        cause = kTriggerCauseProximity;
    }
    if (attributeIs(attributes, "event", "endlevel")) {
        event = kTriggerEventEndLevel;
    }
    return Trigger(cause, event);
}

} // namespace

LevelReader::LevelReader(LevelBuilder& builder) : pBuilder(&builder) {
    try {
        // Counted by the library: every reader initialises again and nothing ever terminates
        // it, since terminating would invalidate all the library's state for later loads.
        XMLPlatformUtils::Initialize(XMLUni::fgXercescDefaultLocale);
    } catch (const XMLException& exception) {
        logLoadMessage(exception.getMessage());
        return;
    }
    bLibraryReady = true;
    pParser = CreateSafeXmlParser();
    if (pParser) {
        pParser->getDomConfig()->setParameter(XMLUni::fgDOMErrorHandler,
                                              static_cast<DOMErrorHandler*>(&errorHandler));
    }
}

LevelReader::~LevelReader() = default;

bool LevelReader::read(const char* fileName) {
    const std::string name = fileName != nullptr ? fileName : "";
    std::string bytes;
    std::string why;
    if (!platform::readFile(name, platform::kDocumentFileLimit, bytes, why)) {
        // Told the way the XML library tells a file it cannot open: where, then what.
        platform::debugOutput(kLoadPrefix);
        platform::debugOutput(name.c_str());
        platform::debugOutput(":0:0: cannot read the level file: ");
        platform::debugOutput(why.c_str());
        platform::debugOutput("\n");
        return false;
    }
    return readBytes(bytes.data(), bytes.size(), name.c_str());
}

bool LevelReader::readBytes(const char* bytes, std::size_t size, const char* name) {
    if (!bLibraryReady || !pParser) {
        return false;
    }
    errorHandler.setFileName(name);
    const ParsedDocumentsRelease releaseDocuments(pParser.get());
    DOMDocument* document = nullptr;
    try {
        MemBufInputSource source(reinterpret_cast<const XMLByte*>(bytes), size,
                                 XmlText(name != nullptr ? name : "").xml());
        Wrapper4InputSource input(&source, false);
        document = pParser->parse(&input);
    } catch (const XMLException& exception) {
        logLoadMessage(exception.getMessage());
        return false;
    } catch (const DOMException& exception) {
        // Also the parser's own DOMLSException, which is a DOMException.
        logLoadMessage(exception.getMessage());
        return false;
    } catch (...) {
        platform::debugOutput("ElementContainer::loadFromXMLFile(): Unexpected Exception\n");
        return false;
    }

    platform::debugOutput("ElementContainer::loadFromXMLFile(): Iterating level Elements\n");
    // A file that broke off before its root leaves no document or no root: a level without
    // objects.
    DOMElement* root = document != nullptr ? document->getDocumentElement() : nullptr;
    if (root == nullptr) {
        return false;
    }
    // By next sibling: asking the child list for its length and its i-th item walks the list
    // from its head every time, which made big levels load in quadratic time.
    for (DOMNode* child = root->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        XmlText name(child->getNodeName());
        platform::debugOutput(kLoadPrefix);
        platform::debugOutput(name.chars());
        platform::debugOutput("\n");
        if (name.equals("#text") || name.equals("#comment")) {
            continue;
        }
        if (name.equals("OBJECT")) {
            readObject(child);
        } else if (name.equals("GL_LIGHT")) {
            // Accepted and ignored: the game lights its scene itself.
        } else {
            platform::debugOutput(
                "ElementContainer::loadFromXMLFile(): Unknown Element in xml file\n");
        }
    }
    return true;
}

void LevelReader::readObject(const DOMNode* node) {
    if (!node->hasAttributes()) {
        return;
    }
    const DOMNamedNodeMap* attributes = node->getAttributes();
    const XMLCh* type = attributeValue(attributes, "type");
    const XMLCh* objId = attributeValue(attributes, "objid");
    if (type == nullptr || objId == nullptr) {
        return;
    }

    LevelBuilder::Object object;
    object.type = XmlText(type).chars();
    object.objId = XmlText(objId).chars();
    object.pos[0] = static_cast<float>(coordinate(attributes, "x"));
    object.pos[1] = static_cast<float>(coordinate(attributes, "y"));
    object.pos[2] = static_cast<float>(coordinate(attributes, "z"));
    for (const DOMNode* child = node->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        if (child->getNodeType() == DOMNode::ELEMENT_NODE &&
            XmlText(child->getNodeName()).equals("TRIGGER")) {
            object.triggers.push_back(readTrigger(child));
        }
    }
    pBuilder->createElement(object);
}
