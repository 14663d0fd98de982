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

#include <algorithm>
#include <cstdlib>
#include <string>

XERCES_CPP_NAMESPACE_USE

namespace {

const char* const kLoadPrefix = "ElementContainer::loadFromXMLFile(): ";

// The attribute's value, or null when the attribute is absent.
const XMLCh* attributeValue(const DOMNamedNodeMap* attributes, const char* name) {
    const DOMNode* attribute = attributes->getNamedItem(XmlText(name).xml());
    return attribute != nullptr ? attribute->getNodeValue() : nullptr;
}

// The OBJECT children of the root, the elements a level's objects are built from, and those of
// the kinds with limits of their own.
void countObjects(const DOMElement& root, std::size_t& objects, std::size_t* kindCounts) {
    objects = 0;
    std::fill(kindCounts, kindCounts + LevelReader::kLimitedKinds, 0);
    for (const DOMNode* child = root.getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        if (child->getNodeType() != DOMNode::ELEMENT_NODE ||
            !XmlText(child->getNodeName()).equals("OBJECT")) {
            continue;
        }
        ++objects;
        const DOMNamedNodeMap* attributes = child->getAttributes();
        const XMLCh* type = attributes != nullptr ? attributeValue(attributes, "type") : nullptr;
        if (type == nullptr) {
            continue;
        }
        const XmlText typeName(type);
        for (std::size_t k = 0; k < LevelReader::kLimitedKinds; ++k) {
            kindCounts[k] += typeName.equals(LevelReader::kKindLimits[k].type) ? 1 : 0;
        }
    }
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

LevelReader::LevelReader(LevelBuilder& builder, Log logging) : pBuilder(&builder), eLog(logging) {
    errorHandler.setQuiet(logging == Log::Quiet);
    try {
        // Counted by the library: every reader initialises again and nothing ever terminates
        // it, since terminating would invalidate all the library's state for later loads.
        XMLPlatformUtils::Initialize(XMLUni::fgXercescDefaultLocale);
    } catch (const XMLException& exception) {
        logLoadLine(XmlText(exception.getMessage()).chars());
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
        iObjects = 0;
        std::fill(iKindCounts, iKindCounts + kLimitedKinds, 0);
        log(kLoadPrefix);
        log(name.c_str());
        log(":0:0: cannot read the level file: ");
        log(why.c_str());
        log("\n");
        return false;
    }
    return readBytes(bytes.data(), bytes.size(), name.c_str());
}

bool LevelReader::overLimit() const {
    return !limitExceeded().empty();
}

std::string LevelReader::limitExceeded() const {
    if (iObjects > kMaxObjects) {
        return std::to_string(iObjects) + " objects, more than the " + std::to_string(kMaxObjects) +
               " a level may hold";
    }
    for (std::size_t k = 0; k < kLimitedKinds; ++k) {
        if (iKindCounts[k] > kKindLimits[k].most) {
            return std::to_string(iKindCounts[k]) + " objects of type " + kKindLimits[k].type +
                   ", more than the " + std::to_string(kKindLimits[k].most) + " a level may hold";
        }
    }
    return "";
}

void LevelReader::log(const char* text) const {
    if (eLog == Log::Debug) {
        platform::debugOutput(text);
    }
}

void LevelReader::logLoadLine(const char* text) const {
    log(kLoadPrefix);
    log(text);
    log("\n");
}

bool LevelReader::readBytes(const char* bytes, std::size_t size, const char* name) {
    iObjects = 0;
    std::fill(iKindCounts, iKindCounts + kLimitedKinds, 0);
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
        logLoadLine(XmlText(exception.getMessage()).chars());
        return false;
    } catch (const DOMException& exception) {
        // Also the parser's own DOMLSException, which is a DOMException.
        logLoadLine(XmlText(exception.getMessage()).chars());
        return false;
    } catch (...) {
        log("ElementContainer::loadFromXMLFile(): Unexpected Exception\n");
        return false;
    }

    log("ElementContainer::loadFromXMLFile(): Iterating level Elements\n");
    // A file that broke off before its root leaves no document or no root: a level without
    // objects.
    DOMElement* root = document != nullptr ? document->getDocumentElement() : nullptr;
    if (root == nullptr) {
        return false;
    }
    // Counted before anything is built: a level over the limit builds nothing at all.
    countObjects(*root, iObjects, iKindCounts);
    if (overLimit()) {
        log(kLoadPrefix);
        log(name != nullptr ? name : "");
        log(": ");
        log(limitExceeded().c_str());
        log("\n");
        return false;
    }
    // By next sibling: asking the child list for its length and its i-th item walks the list
    // from its head every time, which made big levels load in quadratic time.
    for (DOMNode* child = root->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        XmlText name(child->getNodeName());
        logLoadLine(name.chars());
        if (name.equals("#text") || name.equals("#comment")) {
            continue;
        }
        if (name.equals("OBJECT")) {
            readObject(child);
        } else if (name.equals("GL_LIGHT")) {
            // Accepted and ignored: the game lights its scene itself.
        } else {
            log("ElementContainer::loadFromXMLFile(): Unknown Element in xml file\n");
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
