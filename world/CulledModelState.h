// What the models skipped outside the view would have left set in GL (their last material, bound
// texture and normal, a shield's colour), kept until something is drawn and then set at once: a
// field of far-off rocks costs no GL call, and whatever is drawn next finds the state it always
// found.
#pragma once

struct Material;
class ModelData;

class CulledModelState {
public:
    // Notes what drawing the model leaves set; the normal only where its drawing sends one.
    void leave(const ModelData& model, bool sendsNormal);
    // Notes what a drawing leaves that sets a material (on the front faces that one-sided
    // lighting uses), a colour and a normal of its own (none: it sends none); each must outlive the
    // next apply().
    void leave(const Material& material, const float colour[4], const float normal[3]);
    // Sets what was noted since the last call, and forgets it.
    void apply();
    bool isEmpty() const {
        return pMaterial == nullptr && iTexture == 0 && pNormal == nullptr && pColour == nullptr;
    }

private:
    const Material* pMaterial = nullptr;
    unsigned iTexture = 0;
    const float* pNormal = nullptr;
    const float* pColour = nullptr;
};
