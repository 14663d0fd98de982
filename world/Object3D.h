// Every element the container holds: an Element3D with a shared model record, an optional
// texture and display list, a radar colour, and the drawing operations.
#pragma once

#include "world/Element3D.h"

#include <memory>
#include <string>

class CulledModelState;
class ModelData;
class ObjectTexture;

class Object3D : public Element3D {
public:
    explicit Object3D(ElementContainer* container);
    ~Object3D() override;

    // Per-class set-up, run by the concrete constructor.
    virtual void init() = 0;
    // The kind's shared record from the container's cache, loaded on first use.
    virtual ModelData* loadModel(const char* fileName, int kind);
    // Wraps this element in a new shield of the radius; the caller keeps it in pShield.
    virtual Object3D* createShield(float radius);
    // The kind's list: compiled from drawModel by the first element of the kind and shared by
    // the later ones (each compiles its own with the lists shortcut off).
    virtual unsigned createDisplayList();
    // Compiles drawModel into a new list, which the kind's record then holds.
    unsigned compileDisplayList();
    // Translate to the position, scale, then apply the orientation.
    virtual void transform();
    virtual void drawModelType2(ModelData* model);
    virtual void drawModelType1(ModelData* model);
    virtual void drawMs3dModel(ModelData* model);
    virtual void draw();
    virtual void drawModel();
    // Whether the element may show in the view: false only when it lies wholly outside it and
    // the container culls.
    bool isInView() const;
    // Notes the GL state the element's drawing would leave, for an element skipped outside the
    // view: its model's last material, texture and normal.
    virtual void leaveState(CulledModelState& state);
    // Whether its drawing leaves any state that leaveState notes.
    virtual bool leavesState() const { return pModel != nullptr; }
    // World units around the position that the drawing stays within; negative: not known, so
    // always drawn.
    virtual float getDrawRadius() const;
    // The element that a hit breaking this one switches on (a shield's owner); none for most.
    virtual Object3D* guarded() const { return nullptr; }
    // The kind's model to draw at the element's distance from the ship's eye: the far model
    // where it strays from the model by at most a pixel on the screen, else the model. Every
    // drawing path draws the one chosen here.
    ModelData* modelAtDistance() const;

    void setModelFile(const char* fileName);
    const std::string& getModelFile() const { return *pModelFile; }
    ModelData* getModel() const { return pModel; }
    ObjectTexture* getTexture() const { return pTexture.get(); }
    Object3D* getShield() const { return pShield; }
    void setShield(Object3D* shield) { pShield = shield; }
    bool isSortedByDistance() const { return bSortByDistance; }
    float getRadarColor(int i) const { return fRadarColor[i]; }
    // The kind number the container made the element as; 0 for one filed without a kind.
    int getKind() const { return iKind; }
    void setKind(int kind) { iKind = kind; }

protected:
    // Turns the view axis fully toward the player's ship, as billboards do every update.
    void facePlayer();
    // Compiles the record's drawing into a new list that the record then holds.
    void compileInto(ModelData& record, bool far);

    // Shared so that effects can use one texture between them.
    std::shared_ptr<ObjectTexture> pTexture;
    ModelData* pModel = nullptr;
    Object3D* pShield = nullptr;
    unsigned iDisplayList = 0;
    // The model file name, kept by the container (once for all elements that name it).
    const std::string* pModelFile;
    bool bSortByDistance = false;
    float fRadarColor[3] = {0.0f, 0.0f, 0.0f};
    int iKind = 0;
};
