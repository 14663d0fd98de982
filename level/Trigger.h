// A game event tied to a level object: when its cause happens (the object's death), the event
// (the end of the level) is carried out.
#pragma once

// Causes and events as the level file names them.
const int kTriggerCauseDeath = 0;
const int kTriggerCauseProximity = 1;
const int kTriggerEventEndLevel = 0;
const int kTriggerUnset = -1;

class Trigger {
public:
    Trigger() = default;
    Trigger(int cause, int event) : iCause(cause), iEvent(event) {}

    // Carries out the event: "endlevel" ends the level; anything else does nothing.
    void fire();

    int getCause() const { return iCause; }
    int getEvent() const { return iEvent; }

private:
    int iCause = kTriggerUnset;
    int iEvent = kTriggerUnset;
};
