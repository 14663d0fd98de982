// The level parser's error handler: one debug line per error.
#include "level/LevelErrorHandler.h"

#include "level/XmlText.h"
#include "platform/Platform.h"

#include <xercesc/dom/DOMError.hpp>
#include <xercesc/dom/DOMLocator.hpp>

XERCES_CPP_NAMESPACE_USE

namespace {

// What the library says when it meets a DOCTYPE, which the loader tells it to refuse; on its own
// it does not tell the level's author what to remove.
const char* const kRefusedDoctype = "invalid document structure";

} // namespace

LevelErrorHandler::LevelErrorHandler(const char* fileName)
    : szFileName(fileName != nullptr ? fileName : "") {}

void LevelErrorHandler::setFileName(const char* fileName) {
    szFileName = fileName != nullptr ? fileName : "";
    szFirstError.clear();
    iErrors = 0;
}

bool LevelErrorHandler::handleError(const DOMError& error) {
    if (error.getSeverity() == DOMError::DOM_SEVERITY_WARNING) {
        return true;
    }
    ++iErrors;
    unsigned long long line = 0;
    unsigned long long column = 0;
    if (const DOMLocator* location = error.getLocation()) {
        line = location->getLineNumber();
        column = location->getColumnNumber();
    }
    const XmlText message(error.getMessage());
    const std::string where =
        szFileName + ":" + std::to_string(line) + ":" + std::to_string(column) + ": " +
        (message.equals(kRefusedDoctype) ? "a DOCTYPE is not allowed in a level file"
                                         : message.chars());
    if (iErrors == 1) {
        szFirstError = where;
    }
    if (!bQuiet) {
        platform::debugOutput("ElementContainer::loadFromXMLFile(): ");
        platform::debugOutput(where.c_str());
        platform::debugOutput("\n");
    }
    // true: the library's own rules decide how far the parse goes, as with no handler.
    return true;
}
