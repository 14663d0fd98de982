// Reading the campaign file: the XML library's parser with a DOCTYPE refused, then a strict walk
// of the root's LEVEL children, since a campaign the game cannot follow should say so at once.
#include "level/CampaignReader.h"

#include "level/XmlText.h"
#include "platform/Files.h"

#include <xercesc/dom/DOM.hpp>
#include <xercesc/framework/MemBufInputSource.hpp>
#include <xercesc/framework/Wrapper4InputSource.hpp>
#include <xercesc/util/PlatformUtils.hpp>
#include <xercesc/util/XMLUni.hpp>

#include <set>

XERCES_CPP_NAMESPACE_USE

namespace {

// What the library says when it meets a DOCTYPE; on its own it does not say what to remove.
const char* const kRefusedDoctype = "invalid document structure";

// Text from the file as it may go into a message: anything but printable ASCII becomes '?', so a
// hostile file cannot send control sequences to the player's terminal.
std::string printable(const std::string& text) {
    std::string out;
    for (const char c : text) {
        out += c >= 0x20 && c < 0x7f ? c : '?';
    }
    return out;
}

bool isIdCharacter(char c) {
    return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z') || (c >= '0' && c <= '9') || c == '-' ||
           c == '_';
}

bool validId(const std::string& id) {
    if (id.empty() || id.size() > CampaignReader::kMaxIdLength) {
        return false;
    }
    for (const char c : id) {
        if (!isIdCharacter(c)) {
            return false;
        }
    }
    return true;
}

bool validName(const std::string& name) {
    if (name.empty() || name.size() > CampaignReader::kMaxNameLength) {
        return false;
    }
    for (const char c : name) {
        if (c < 0x20 || c >= 0x7f) {
            return false;
        }
    }
    return true;
}

// The attribute's value, or null when the element has no such attribute.
const XMLCh* attributeValue(const DOMNode* node, const char* name) {
    const DOMNamedNodeMap* attributes = node->getAttributes();
    const DOMNode* attribute =
        attributes != nullptr ? attributes->getNamedItem(XmlText(name).xml()) : nullptr;
    return attribute != nullptr ? attribute->getNodeValue() : nullptr;
}

} // namespace

// Keeps the first complaint of the XML library with where it was made.
class CampaignReader::ErrorCollector : public DOMErrorHandler {
public:
    bool handleError(const DOMError& error) override {
        if (error.getSeverity() != DOMError::DOM_SEVERITY_WARNING && first.empty()) {
            const DOMLocator* location = error.getLocation();
            const XmlText message(error.getMessage());
            first = "line " + std::to_string(location != nullptr ? location->getLineNumber() : 0) +
                    ", column " +
                    std::to_string(location != nullptr ? location->getColumnNumber() : 0) + ": " +
                    (message.equals(kRefusedDoctype) ? "a DOCTYPE is not allowed"
                                                     : printable(message.chars()));
        }
        return true;
    }
    std::string first;
};

CampaignReader::CampaignReader() : pErrors(std::make_unique<ErrorCollector>()) {
    try {
        // Counted by the library, as for the level reader; never terminated.
        XMLPlatformUtils::Initialize(XMLUni::fgXercescDefaultLocale);
    } catch (const XMLException&) {
        return;
    }
    bLibraryReady = true;
    pParser = CreateSafeXmlParser();
    if (pParser) {
        pParser->getDomConfig()->setParameter(XMLUni::fgDOMErrorHandler,
                                              static_cast<DOMErrorHandler*>(pErrors.get()));
    }
}

CampaignReader::~CampaignReader() = default;

bool CampaignReader::fail(const std::string& sentence) {
    levelList.clear();
    errorText = printable(szName) + ": " + sentence;
    return false;
}

bool CampaignReader::read(const std::string& path) {
    std::string bytes;
    std::string why;
    szName = path;
    if (!platform::readFile(path, platform::kDocumentFileLimit, bytes, why)) {
        return fail(why);
    }
    const std::size_t slash = path.rfind('/');
    const std::string folder = slash == std::string::npos ? "" : path.substr(0, slash + 1);
    return readBytes(bytes.data(), bytes.size(), path, folder);
}

bool CampaignReader::readBytes(const char* bytes, std::size_t size, const std::string& name,
                               const std::string& folder) {
    levelList.clear();
    errorText.clear();
    szName = name;
    if (!bLibraryReady || !pParser) {
        return fail("the XML library cannot be used");
    }
    pErrors->first.clear();
    const ParsedDocumentsRelease releaseDocuments(pParser.get());
    DOMDocument* document = nullptr;
    try {
        MemBufInputSource source(reinterpret_cast<const XMLByte*>(bytes), size,
                                 XmlText(name.c_str()).xml());
        Wrapper4InputSource input(&source, false);
        document = pParser->parse(&input);
    } catch (const XMLException& exception) {
        return fail(printable(XmlText(exception.getMessage()).chars()));
    } catch (const DOMException& exception) {
        return fail(printable(XmlText(exception.getMessage()).chars()));
    } catch (...) {
        return fail("the XML library failed");
    }
    if (!pErrors->first.empty()) {
        return fail(pErrors->first);
    }
    const DOMElement* root = document != nullptr ? document->getDocumentElement() : nullptr;
    if (root == nullptr || !XmlText(root->getNodeName()).equals("CAMPAIGN")) {
        return fail("the document is not a CAMPAIGN");
    }

    std::set<std::string> ids;
    for (const DOMNode* child = root->getFirstChild(); child != nullptr;
         child = child->getNextSibling()) {
        if (child->getNodeType() != DOMNode::ELEMENT_NODE) {
            continue; // text between the levels, comments
        }
        const std::string where = "level " + std::to_string(levelList.size() + 1);
        if (!XmlText(child->getNodeName()).equals("LEVEL")) {
            return fail("after " + std::to_string(levelList.size()) +
                        " levels comes an element that is not a LEVEL");
        }
        if (levelList.size() == kMaxLevels) {
            return fail("a campaign holds at most " + std::to_string(kMaxLevels) + " levels");
        }
        const XMLCh* id = attributeValue(child, "id");
        const XMLCh* file = attributeValue(child, "file");
        const XMLCh* levelName = attributeValue(child, "name");
        if (id == nullptr || file == nullptr || levelName == nullptr) {
            return fail(where + " needs an id, a file and a name");
        }
        Level level;
        level.id = XmlText(id).chars();
        level.file = XmlText(file).chars();
        level.name = XmlText(levelName).chars();
        if (!validId(level.id)) {
            return fail(where + ": an id is 1 to " + std::to_string(kMaxIdLength) +
                        " letters, digits, '-' or '_'");
        }
        if (!ids.insert(level.id).second) {
            return fail(where + ": the id " + level.id + " is taken by an earlier level");
        }
        if (!validName(level.name)) {
            return fail(where + ": a name is 1 to " + std::to_string(kMaxNameLength) +
                        " printable ASCII characters");
        }
        if (level.file.empty()) {
            return fail(where + " names no file");
        }
        if (level.file[0] != '/') {
            level.file = folder + level.file;
        }
        levelList.push_back(level);
    }
    if (levelList.empty()) {
        return fail("the campaign lists no levels");
    }
    return true;
}
