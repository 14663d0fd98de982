// Element3D: the shared state and frame operations of every world object.
#include "world/Element3D.h"

#include "level/Trigger.h"
#include "platform/Platform.h"
#include "world/ElementContainer.h"

#include <cmath>
#include <cstring>
#include <limits>

namespace {

const float kStartHealth = 1.0f;
const double kStartMaxSpeed = 10.0; // world units per time unit
const double kPi = 3.14159265358979323846;

double length3(double x, double y, double z) {
    return std::sqrt(x * x + y * y + z * z);
}

} // namespace

Element3D::Element3D(ElementContainer* container) : pContainer(container) {
    if (container == nullptr) {
        platform::debugOutput("Element3D::Element3D: No Container\n");
        platform::exitProcess(1);
    }
    resetOrientation();
    fScale[0] = fScale[1] = fScale[2] = 1.0f;
    fPos[0] = fPos[1] = fPos[2] = 0.0f;
    fRadius = kStartRadius;
    fHealth = kStartHealth;
    bActive = true;
    bVisible = true;
    dMaxSpeed = kStartMaxSpeed;
    iThrust = 0;
    dSpeed = 0.0;
}

Element3D::~Element3D() = default;

void Element3D::resetOrientation() {
    // Identity with the view axis along -z: a reflection (determinant -1) that every rotation
    // keeps, so that model +z is drawn along the view axis.
    std::memset(fMatrix, 0, sizeof fMatrix);
    fMatrix[0] = 1.0f;
    fMatrix[5] = 1.0f;
    fMatrix[10] = -1.0f;
    fMatrix[15] = 1.0f;
}

void Element3D::hit(float damage) {
    fHealth -= damage;
    if (fHealth <= 0.0f && pDeathTrigger) {
        pDeathTrigger->fire();
    }
}

void Element3D::setTrigger(std::unique_ptr<Trigger> trigger) {
    if (!trigger) {
        return;
    }
    switch (trigger->getCause()) {
    case kTriggerCauseDeath:
        pDeathTrigger = std::move(trigger);
        break;
    case kTriggerCauseProximity:
        pProximityTrigger = std::move(trigger);
        break;
    default:
        platform::debugOutput("Element3D::setTrigger(): unknown trigger value\n");
        break;
    }
}

void Element3D::setPos(float x, float y, float z) {
    fPos[0] = x;
    fPos[1] = y;
    fPos[2] = z;
}

void Element3D::setScale(float x, float y, float z) {
    fScale[0] = x;
    fScale[1] = y;
    fScale[2] = z;
}

void Element3D::setMatrix(const float* matrix) {
    std::memcpy(fMatrix, matrix, sizeof fMatrix);
}

void Element3D::setObjId(const char* objId) {
    szObjId = objId ? objId : "";
}

void Element3D::rotateAbout(float degrees, double ax, double ay, double az) {
    const double len = length3(ax, ay, az);
    if (len == 0.0 || !std::isfinite(len)) {
        return;
    }
    ax /= len;
    ay /= len;
    az /= len;
    // The rotation matrix glRotatef builds, applied on the left: M' = R x M.
    const double rad = static_cast<double>(degrees) * kPi / 180.0;
    const double c = std::cos(rad);
    const double s = std::sin(rad);
    const double k = 1.0 - c;
    const double r[3][3] = {{ax * ax * k + c, ax * ay * k - az * s, ax * az * k + ay * s},
                            {ay * ax * k + az * s, ay * ay * k + c, ay * az * k - ax * s},
                            {az * ax * k - ay * s, az * ay * k + ax * s, az * az * k + c}};
    for (int col = 0; col < 3; ++col) {
        const double m0 = fMatrix[col * 4 + 0];
        const double m1 = fMatrix[col * 4 + 1];
        const double m2 = fMatrix[col * 4 + 2];
        for (int row = 0; row < 3; ++row) {
            fMatrix[col * 4 + row] =
                static_cast<float>(r[row][0] * m0 + r[row][1] * m1 + r[row][2] * m2);
        }
    }
}

void Element3D::pitch(float degrees) {
    rotateAbout(degrees, fMatrix[0], fMatrix[1], fMatrix[2]);
}

void Element3D::yaw(float degrees) {
    rotateAbout(degrees, fMatrix[4], fMatrix[5], fMatrix[6]);
}

void Element3D::roll(float degrees) {
    rotateAbout(degrees, fMatrix[8], fMatrix[9], fMatrix[10]);
}

void Element3D::applyThrust(double t) {
    if (iThrust == 0) {
        return;
    }
    dSpeed += iThrust * t;
    if (dSpeed > dMaxSpeed) {
        dSpeed = dMaxSpeed;
    }
    if (dSpeed < 0.0) {
        dSpeed = 0.0;
    }
    iThrust = 0;
}

void Element3D::moveForward(float distance) {
    fPos[0] += distance * fMatrix[8];
    fPos[1] += distance * fMatrix[9];
    fPos[2] += distance * fMatrix[10];
}

double Element3D::turnTowards(float maxDegrees, float x, float y, float z) {
    const float dx = x - fPos[0];
    const float dy = y - fPos[1];
    const float dz = z - fPos[2];
    const float vx = fMatrix[8];
    const float vy = fMatrix[9];
    const float vz = fMatrix[10];
    double axis[3] = {vy * dz - vz * dy, vz * dx - vx * dz, vx * dy - vy * dx};

    const double dot =
        static_cast<double>(vx) * dx + static_cast<double>(vy) * dy + static_cast<double>(vz) * dz;
    const double lengths = std::sqrt((static_cast<double>(vx) * vx + static_cast<double>(vy) * vy +
                                      static_cast<double>(vz) * vz) *
                                     (static_cast<double>(dx) * dx + static_cast<double>(dy) * dy +
                                      static_cast<double>(dz) * dz));
    if (lengths == 0.0 || !std::isfinite(lengths)) {
        return 0.0; // target on top of us: nowhere to turn
    }
    // Rounding can push the cosine a hair past +-1, and acos would give NaN.
    const double cosine = std::fmax(-1.0, std::fmin(1.0, dot / lengths));
    const double angle = std::acos(cosine) / kPi * 180.0;

    const bool axisVanishes = length3(axis[0], axis[1], axis[2]) == 0.0;
    if (angle == 180.0 || (axisVanishes && angle > 90.0)) {
        // Straight behind: any perpendicular axis will do, and the up axis keeps the turn level.
        axis[0] = fMatrix[4];
        axis[1] = fMatrix[5];
        axis[2] = fMatrix[6];
    } else if (axisVanishes) {
        return 0.0; // straight ahead
    }
    const bool fullStep = maxDegrees <= angle;
    const double step = fullStep ? maxDegrees : angle;
    rotateAbout(static_cast<float>(step), axis[0], axis[1], axis[2]);
    return fullStep ? angle - maxDegrees : 0.0;
}

double Element3D::getDistanceToPlayerSquared() const {
    const Element3D* player = pContainer->getPlayer();
    if (player == nullptr) {
        return std::numeric_limits<double>::infinity(); // nobody to be near to
    }
    const float dx = fPos[0] - player->getPos(0);
    const float dy = fPos[1] - player->getPos(1);
    const float dz = fPos[2] - player->getPos(2);
    return static_cast<double>(dx) * dx + static_cast<double>(dy) * dy +
           static_cast<double>(dz) * dz;
}
