// Base of every object in the world: orientation (right, up and view axes), scale, position,
// collision radius, health, triggers and forward speed, with the operations that turn, move
// and damage it.
#pragma once

#include <memory>
#include <string>

class ElementContainer;
class Trigger;

class Element3D {
public:
    static constexpr float kStartRadius = 10.0f; // world units, till a kind sets its own

    explicit Element3D(ElementContainer* container);
    virtual ~Element3D();
    Element3D(const Element3D&) = delete;
    Element3D& operator=(const Element3D&) = delete;

    // Deals damage; a death trigger fires on every hit that leaves the health at or below 0.
    virtual void hit(float damage);
    // Advances the element by t time units (1/20 s each).
    virtual void update(double t) = 0;

    void resetOrientation();
    // Files the trigger by its cause (death or proximity); any other cause is refused.
    void setTrigger(std::unique_ptr<Trigger> trigger);
    Trigger* getDeathTrigger() const { return pDeathTrigger.get(); }
    Trigger* getProximityTrigger() const { return pProximityTrigger.get(); }

    float getPos(int i) const { return fPos[i]; }
    float getRight(int i) const { return fMatrix[i]; }
    float getUp(int i) const { return fMatrix[4 + i]; }
    float getView(int i) const { return fMatrix[8 + i]; }
    float getScale(int i) const { return fScale[i]; }
    float getRadius() const { return fRadius; }
    float getHealth() const { return fHealth; }
    bool isActive() const { return bActive; }
    bool isVisible() const { return bVisible; }
    const float* getMatrix() const { return fMatrix; }
    ElementContainer* getContainer() const { return pContainer; }
    const std::string& getObjId() const { return szObjId; }
    double getSpeed() const { return dSpeed; }
    double getMaxSpeed() const { return dMaxSpeed; }
    int getThrust() const { return iThrust; }

    void setPos(float x, float y, float z);
    void setScale(float x, float y, float z);
    void setMatrix(const float* matrix);
    void setObjId(const char* objId);
    void setThrust(int thrust) { iThrust = thrust; }
    void setVisible(bool visible) { bVisible = visible; }
    // The collision response and tests reach these; subclasses write the fields directly.
    void setSpeed(double speed) { dSpeed = speed; }
    void setHealth(float health) { fHealth = health; }
    void setRadius(float radius) { fRadius = radius; }
    void setActive(bool active) { bActive = active; }

    // Turns about the own right, up and view axes by the angle in degrees (counter-clockwise
    // looking from the axis tip, as glRotatef).
    void pitch(float degrees);
    void yaw(float degrees);
    void roll(float degrees);
    void moveForward(float distance);
    // Turns the view axis toward the point by at most maxDegrees; gives the angle still left.
    double turnTowards(float maxDegrees, float x, float y, float z);
    // Squared distance to the container's player ship.
    double getDistanceToPlayerSquared() const;

protected:
    // Carries out a pending thrust command over t time units: the speed changes by the command
    // per time unit and stays between rest and dMaxSpeed. No command leaves the speed as it is.
    void applyThrust(double t);
    // Multiplies the rotation about the world-space axis onto the orientation (R x M).
    void rotateAbout(float degrees, double ax, double ay, double az);

    float fMatrix[16];
    float fScale[3];
    float fPos[3];
    float fRadius;
    ElementContainer* pContainer;
    std::unique_ptr<Trigger> pDeathTrigger;
    std::unique_ptr<Trigger> pProximityTrigger;
    float fHealth;
    bool bActive;
    bool bVisible;
    std::string szObjId;
    double dMaxSpeed;
    int iThrust;
    double dSpeed;
};
