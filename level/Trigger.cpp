// Building a trigger from the level file's TRIGGER element, and firing it.
#include "level/Trigger.h"

#include "level/XmlText.h"
#include "world/ElementContainer.h"

#include <xercesc/dom/DOMNamedNodeMap.hpp>
#include <xercesc/dom/DOMNode.hpp>

XERCES_CPP_NAMESPACE_USE

namespace {

// Whether the attribute is there with exactly this value (case included).
bool attributeIs(const DOMNamedNodeMap* attributes, const char* name, const char* value) {
    const DOMNode* attribute = attributes->getNamedItem(XmlText(name).xml());
    return attribute != nullptr && XmlText(attribute->getNodeValue()).equals(value);
}

} // namespace

Trigger::Trigger(const DOMNode* node) {
    const DOMNamedNodeMap* attributes = node != nullptr ? node->getAttributes() : nullptr;
    if (attributes == nullptr) {
        return;
    }
    if (attributeIs(attributes, "cause", "death")) {
        iCause = kTriggerCauseDeath;
    } else if (attributeIs(attributes, "cause", "proximity")) {
        iCause = kTriggerCauseProximity;
    }
    if (attributeIs(attributes, "event", "endlevel")) {
        iEvent = kTriggerEventEndLevel;
    }
}

void Trigger::fire() {
    if (iEvent == kTriggerEventEndLevel) {
        ElementContainer::getInstance()->setLevelEnded();
    }
}
