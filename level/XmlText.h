// Text passed between the game (char strings) and the XML library (XMLCh strings); whatever
// copy the library makes is released when the holder goes out of scope.
#pragma once

#include <xercesc/util/XercesDefs.hpp>

class XmlText {
public:
    // A name the game hands to the library ("OBJECT", "type").
    explicit XmlText(const char* text);
    // A name or value read from the document; null reads as "".
    explicit XmlText(const XMLCh* text);
    ~XmlText();
    XmlText(const XmlText&) = delete;
    XmlText& operator=(const XmlText&) = delete;

    const char* chars() const { return szChars != nullptr ? szChars : ""; }
    const XMLCh* xml() const { return pXml; }
    // Compares exactly, case included, as level names are compared.
    bool equals(const char* text) const;

private:
    const char* szChars = nullptr;
    const XMLCh* pXml = nullptr;
    char* szOwnedChars = nullptr;
    XMLCh* pOwnedXml = nullptr;
};
