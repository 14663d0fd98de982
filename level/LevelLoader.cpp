// The world's side of loading a level: the level reader walks the file and this builder creates
// one element per OBJECT, with the position and triggers the file gives it.
#include "world/ElementContainer.h"

#include "level/LevelBuilder.h"
#include "level/LevelReader.h"

#include <memory>

namespace {

class WorldBuilder : public LevelBuilder {
public:
    explicit WorldBuilder(ElementContainer& world) : pWorld(&world) {}

    void createElement(const Object& object) override {
        // An unknown type ends the program here, as addElement does for every unknown kind.
        Object3D* element = pWorld->addElement(pWorld->kindOf(object.type));
        element->setObjId(object.objId.c_str());
        element->setPos(object.pos[0], object.pos[1], object.pos[2]);
        for (const Trigger& trigger : object.triggers) {
            element->setTrigger(std::make_unique<Trigger>(trigger));
        }
    }

private:
    ElementContainer* pWorld;
};

} // namespace

bool ElementContainer::loadFromXMLFile(const char* fileName) {
    WorldBuilder builder(*this);
    return LevelReader(builder).read(fileName);
}
