// The world: the one container that creates every element by kind number, keeps them in one
// list, advances, collides, deletes and draws them, and caches one model record per kind.
#pragma once

#include "world/ModelData.h"
#include "world/Object3D.h"
#include "world/SoundSystem.h"

#include <list>
#include <map>
#include <memory>
#include <string>

// Element kinds, as addElement takes them and the level file names them.
const int kKindNotFound = 0;
const int kKindOuterSpace = 1;
const int kKindFighter = 2;
const int kKindBonus = 3;
const int kKindAsteroid = 4;
const int kKindLaserProjectile = 5;
const int kKindWurstSemmel = 6; // named in levels, but there is no such element
const int kKindShield = 7;
const int kKindSmokeCloud = 8;
const int kKindSpaceDust = 9;
const int kKindExplosion = 10;
const int kKindWurst = 11;
const int kKindKnacker = 12;

class ElementContainer {
public:
    using ElementList = std::list<std::unique_ptr<Object3D>>;

    // The world, created on the first call. Deleting it lets the next call start a fresh one.
    static ElementContainer* getInstance();
    ~ElementContainer();
    ElementContainer(const ElementContainer&) = delete;
    ElementContainer& operator=(const ElementContainer&) = delete;

    // Creates an element of the kind, files it at the front (solid objects) or the back
    // (shields and effects) and gives it back. An unknown kind ends the program.
    Object3D* addElement(int kind);
    // Takes ownership of a made element and files it at the front or the back of the list.
    Object3D* file(std::unique_ptr<Object3D> element, bool atBack);
    // Reads a level file and creates its objects; false when no document could be read.
    bool loadFromXMLFile(const char* fileName);

    // Once per frame: updates every element by seconds x 20 time units, collides, and deletes
    // the dead.
    void update(double seconds);
    void collide();
    // Draws the living elements; those sorted by distance come last, nearest first.
    void draw();
    void reloadTextures();

    // Ends the level; the first call also plays the level-complete jingle.
    void setLevelEnded();
    void setPlayer(Element3D* player) { pPlayer = player; }
    Element3D* getPlayer() const { return pPlayer; }
    // Where the world's sounds go; not owned. nullptr (the start) means silence.
    void setSound(SoundSystem* sound) { pSound = sound != nullptr ? sound : &silence; }
    SoundSystem& sound() const { return *pSound; }

    ElementList::iterator begin() { return elements.begin(); }
    ElementList::iterator end() { return elements.end(); }
    std::size_t size() const { return elements.size(); }

    // Level type name to kind number; unknown names give kKindNotFound.
    int kindOf(const std::string& typeName) const;

    std::map<std::string, int> kindNames;
    // One shared model record per kind; records outlive the elements that use them.
    std::map<int, std::unique_ptr<ModelData>> modelCache;

    bool bDisplayLists = true;
    bool bVertexArrays = false;
    bool bLevelEnded = false;
    int iTextureFilter = 0;

private:
    ElementContainer();
    std::unique_ptr<Object3D> createElement(int kind);

    Element3D* pPlayer = nullptr;
    ElementList elements;
    SoundSystem silence;
    SoundSystem* pSound = &silence;
};
