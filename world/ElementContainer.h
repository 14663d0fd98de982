// The world: the one container that creates every element by kind number, keeps them in one
// list, advances, collides, deletes and draws them, and caches one model record per kind.
#pragma once

#include "world/BroadPhase.h"
#include "world/CulledModelState.h"
#include "world/ElementPool.h"
#include "world/ModelData.h"
#include "world/Object3D.h"
#include "world/SoundSystem.h"

#include <array>
#include <functional>
#include <list>
#include <map>
#include <memory>
#include <set>
#include <string>
#include <vector>

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

// Drawing shortcuts, all taken by default. Each draws the same picture a cheaper way; switching
// one off (the headless runner's --plain-drawing) draws it the plain way, to compare the two.
const unsigned kShortcutDust = 1u;     // the dust from one array, grains out of view skipped
const unsigned kShortcutCulling = 2u;  // what lies outside the view is not drawn
const unsigned kShortcutText = 4u;     // the text from one glyph texture, flushed once a frame
const unsigned kShortcutCockpit = 8u;  // the overlay only where it covers, the world inside it
const unsigned kShortcutLists = 16u;   // a kind's list compiled once, not once per element
const unsigned kShortcutWires = 32u;   // one wire sphere list per shield radius, compiled once
const unsigned kShortcutEffects = 64u; // smoke and flames only where the alpha test lets them show
const unsigned kShortcutOverlayTexels = 128u; // the white overlay takes its texels as they are
// Not a saving but a shape: the 4:3 cockpit in a centred box as high as the window, side strips
// beside it, the radar dots in proportion. Off, the overlays are stretched over the window as on
// the 4:3 screen they were made for; on such a screen both draw the same.
const unsigned kShortcutAspect = 256u;
// A radar dot is sent once for every spot where dots coincide exactly: the last one drawn there.
const unsigned kShortcutRadar = 512u;
const unsigned kShortcutsAll = 1023u;

// Smoke puffs and explosions alive at once. Beyond it no new one is made: a crowd of shots
// bursting at one point cannot flood the world with effects (normal play stays far below).
const int kMaxLiveEffects = 1000;

class ElementContainer {
public:
    using ElementList = std::list<std::unique_ptr<Object3D>>;

    // The world, created on the first call. Deleting it lets the next call start a fresh one.
    static ElementContainer* getInstance();
    ~ElementContainer();
    ElementContainer(const ElementContainer&) = delete;
    ElementContainer& operator=(const ElementContainer&) = delete;

    // Creates an element of the kind, files it at the front (solid objects) or the back
    // (shields and effects) and gives it back. An unknown kind ends the program. A smoke puff or
    // an explosion is not made while kMaxLiveEffects of them are alive: nullptr.
    Object3D* addElement(int kind);
    // Takes ownership of a made element and files it at the front or the back of the list.
    Object3D* file(std::unique_ptr<Object3D> element, bool atBack);
    // Deletes every element, front to back; the model records, the switches and the player stay.
    void clear();
    // Reads a level file and creates its objects; false when no document could be read.
    bool loadFromXMLFile(const char* fileName);

    // Once per frame: updates every element by seconds x 20 time units, collides, and deletes
    // the dead.
    void update(double seconds);
    // Every touching pair of active elements, then every active element against the player:
    // 40 damage each and speeds reversed. The pairs come from the broad phase, in the order of
    // collideAllPairs, which tests every pair and stays as the yardstick of the tests.
    void collide();
    void collideAllPairs();
    // The update collides through collideAllPairs (the tests compare whole frames).
    bool bEveryPair = false;
    // Told of every contact either pass answers, just before it is answered.
    std::function<void(const Element3D& a, const Element3D& b)> onContact;
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
    // Smoke puffs and explosions alive now.
    int liveEffects() const { return iLiveEffects; }
    // The most that were alive at once since the world was made (the runner reports it against
    // kMaxLiveEffects).
    int mostLiveEffects() const { return iMostLiveEffects; }

    // Level type name to kind number; unknown names give kKindNotFound. Needs no world.
    static int kindOf(const std::string& typeName);
    // The one copy of a model file name that every element naming it shares, kept as long as
    // the world: a shot fired copies no name.
    const std::string& modelFileName(const char* name);

    // One shared model record per kind; records outlive the elements that use them.
    std::map<int, std::unique_ptr<ModelData>> modelCache;

    bool bDisplayLists = true;
    bool bVertexArrays = false;
    bool bLevelEnded = false;
    int iTextureFilter = 0;
    unsigned drawingShortcuts = kShortcutsAll;
    bool uses(unsigned shortcut) const { return (drawingShortcuts & shortcut) != 0; }

    // Counts for the benchmarks: elements made per kind, and kind display lists compiled.
    std::array<unsigned long, kKindKnacker + 1> createdByKind{};
    unsigned long listCompiles = 0;
    // Model groups drawn (one draw call or list replay each) and their triangles.
    unsigned long modelDraws = 0;
    unsigned long modelTriangles = 0;
    // CPU seconds the game's thread has spent so far in each pass of the frame: the elements'
    // updates, the collision pass, the world's drawing (with a renderer drawing on this thread,
    // its pixels too) and the instruments. Counted on the thread's own clock, so that other
    // programs on the machine do not count; two clock reads a pass, a handful a frame.
    struct PhaseSeconds {
        double update = 0.0;
        double collide = 0.0;
        double draw = 0.0;
        double instruments = 0.0;
    };
    PhaseSeconds phaseSeconds;
    // Adds the thread's CPU time from its making to its end to one of the totals above.
    class TimedPhase {
    public:
        explicit TimedPhase(double& total);
        ~TimedPhase();
        TimedPhase(const TimedPhase&) = delete;
        TimedPhase& operator=(const TimedPhase&) = delete;

    private:
        double* pTotal;
        double dStart;
    };

    // The six planes of the view (a, b, c, d; inside when a x + b y + c z + d >= 0, normalised),
    // taken from the matrices at the start of each draw.
    float viewPlanes[6][4] = {};
    // Whether a sphere of the radius around the point may show; a negative radius always may.
    bool mayShow(const float* centre, float radius) const;
    // The wire model all shields of the radius draw (not NaN); made empty on first use.
    ModelData& wireModel(float radius);

private:
    ElementContainer();
    std::unique_ptr<Object3D> createElement(int kind);
    ElementList::iterator erase(ElementList::iterator element);
    void respond(Object3D& a, Element3D& b);
    void takeViewPlanes();
    // Draws the element, or only notes the state it would leave when it is out of view.
    void drawOrLeave(Object3D& element, bool inView);

    Element3D* pPlayer = nullptr;
    // The memory and the list entries of dead elements, kept for the next ones.
    ElementPool pool;
    ElementList spareEntries;
    std::set<std::string, std::less<>> modelFileNames;
    ElementList elements;
    SoundSystem silence;
    SoundSystem* pSound = &silence;
    int iLiveEffects = 0;
    int iMostLiveEffects = 0;
    BroadPhase broadPhase;
    CulledModelState culledState;
    std::map<float, std::unique_ptr<ModelData>> wireModels;
    struct Deferred {
        float distance; // squared, to the player
        std::size_t filed;
        Object3D* element;
        bool inView;
    };
    std::vector<Deferred> deferred; // the sorted elements of one draw
};
