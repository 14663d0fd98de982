// Reports the XML library's complaints about a level file on the debug channel: which file,
// where in it, and what is wrong. Without it a broken level would load as an empty world.
#pragma once

#include <xercesc/dom/DOMErrorHandler.hpp>

#include <string>

class LevelErrorHandler : public XERCES_CPP_NAMESPACE::DOMErrorHandler {
public:
    explicit LevelErrorHandler(const char* fileName = "");
    // Keeps the complaints to itself (counted, the first one kept) instead of logging them.
    void setQuiet(bool quiet) { bQuiet = quiet; }
    // The file the next complaints are about; the count starts again.
    void setFileName(const char* fileName);

    // Logs errors and fatal errors (warnings are dropped) and lets the parse go on as it would
    // without a handler: a fatal error still ends it, keeping what was read so far.
    bool handleError(const XERCES_CPP_NAMESPACE::DOMError& error) override;

    int getErrorCount() const { return iErrors; }
    // The first complaint since the file was named, as the log line gives it after the prefix.
    const std::string& firstError() const { return szFirstError; }

private:
    std::string szFileName;
    std::string szFirstError;
    bool bQuiet = false;
    int iErrors = 0;
};
