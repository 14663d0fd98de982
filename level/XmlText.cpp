// Conversions between char and XMLCh through the library's transcoder.
#include "level/XmlText.h"

#include <xercesc/util/XMLString.hpp>

#include <cstring>

XERCES_CPP_NAMESPACE_USE

XmlText::XmlText(const char* text) : szChars(text) {
    pOwnedXml = XMLString::transcode(text != nullptr ? text : "");
    pXml = pOwnedXml;
}

XmlText::XmlText(const XMLCh* text) : pXml(text) {
    if (text != nullptr) {
        szOwnedChars = XMLString::transcode(text);
        szChars = szOwnedChars;
    }
}

XmlText::~XmlText() {
    if (szOwnedChars != nullptr) {
        XMLString::release(&szOwnedChars);
    }
    if (pOwnedXml != nullptr) {
        XMLString::release(&pOwnedXml);
    }
}

bool XmlText::equals(const char* text) const {
    return std::strcmp(chars(), text) == 0;
}
