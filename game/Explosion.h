// The flash where a shot hit something: a large orange square that faces the player, grows,
// reddens and fades, and is gone after its lifetime. Invisible until its first update.
#pragma once

#include "world/Object3D.h"

#include <memory>

class Explosion : public Object3D {
public:
    // Time units (1/20 s) an explosion lives.
    static constexpr double kLifetime = 30.0;
    // Time units for the square to grow by its own size.
    static constexpr double kGrowthTime = 2.0;
    // The age a first update with no elapsed time still gives, so the square is never empty.
    static constexpr double kMinimumAge = 0.01;
    // Time units over which the opacity falls by one.
    static constexpr double kFadeTime = 40.0;
    static constexpr float kStartAlpha = 0.8f;

    explicit Explosion(ElementContainer* container);

    void update(double t) override;
    void init() override;
    void drawModel() override;
    float getDrawRadius() const override;

    double getAge() const { return dAge; }
    bool isStarted() const { return bStarted; }
    std::shared_ptr<ObjectTexture> getSharedTexture() const { return pTexture; }

private:
    double dAge = 0.0;
    bool bStarted = false;
};
