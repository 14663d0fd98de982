// A puff of smoke left behind by a flying shot: a textured square that always faces the player,
// grows and fades, and is gone after its lifetime.
#pragma once

#include "world/Object3D.h"

#include <memory>

class SmokeCloud : public Object3D {
public:
    // Time units (1/20 s) a puff lives.
    static constexpr double kLifetime = 40.0;
    // Time units for the square to grow by its own size.
    static constexpr double kGrowthTime = 10.0;
    // Opacity at birth; it falls by one over the lifetime, so the puff is out of sight well
    // before it is removed.
    static constexpr float kStartAlpha = 0.6f;
    static constexpr float kGrey = 0.5f;

    explicit SmokeCloud(ElementContainer* container);
    ~SmokeCloud() override;

    void update(double t) override;
    void init() override;
    // Compiles a plain white square into a list of a record of the cloud's own. Clouds made in
    // play never call it, so they draw their fading square through drawModel.
    unsigned createDisplayList() override;
    void drawModel() override;
    float getDrawRadius() const override;

    double getAge() const { return dAge; }
    void setAge(double age) { dAge = age; }
    std::shared_ptr<ObjectTexture> getSharedTexture() const { return pTexture; }

private:
    double dAge = 0.0;
    std::unique_ptr<ModelData> pOwnRecord;
};
