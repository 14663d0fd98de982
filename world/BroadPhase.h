// The collision pass's broad phase: the pairs of elements that may touch, found through a uniform
// grid and handed out in the order the pass answers them; and the one touch test that decides.
#pragma once

#include "world/Object3D.h"

#include <cmath>
#include <cstdint>
#include <list>
#include <memory>
#include <vector>

class BroadPhase {
public:
    // Room made at once for a lively fight's bodies and pairs, so that a battle growing past any
    // size seen before does not cost the heap in the middle of play.
    static const std::size_t kRoomForBodies = 1024;
    static const std::size_t kRoomForPairs = 1024;
    BroadPhase();

    using ElementList = std::list<std::unique_ptr<Object3D>>;

    // Whether two spheres touch: the squared distance strictly below r1^2 + r2^2, every
    // difference, product and sum rounded to float. Its file is compiled without fused
    // multiply-adds, so every build and both collision passes decide every pair alike.
    static bool touches(const float* posA, float radiusA, const float* posB, float radiusB);
    static bool touches(const Element3D& a, const Element3D& b);

    // Whether a sphere of the reach around the point may touch the body: the centres nearer
    // than the sum of the reaches, in double, where squares of floats neither overflow nor
    // underflow. A body that never touches may say either.
    struct Body;
    static bool mayTouch(const Body& body, const float* pos, double reach);
    // The reach of a radius (below); infinite for an infinite radius, NaN for NaN.
    static double reachOf(float radius) {
        return std::fabs(static_cast<double>(radius)) * (1.0 + kReachSlack) + kReachFloor;
    }

    // Rounding of the float test above, with room to spare: a pair may touch only when its
    // centres lie nearer than the sum of its reaches, radius x (1 + kReachSlack) + kReachFloor.
    // The floor covers underflow, and the slack matters when one radius is 0, where
    // sqrt(r1^2 + r2^2) = r1 + r2 leaves the rounding no room of its own.
    static constexpr double kReachSlack = 1.0 / 65536.0;
    static constexpr double kReachFloor = 1.0 / 1152921504606846976.0; // 2^-60
    // World units: elements reaching further (or with a radius whose square is infinite, which
    // touches everything at a finite distance) are checked against every other element rather
    // than through the grid, so that one giant does not make every cell giant.
    static constexpr double kLooseReach = 1000.0;
    // Grid cells are this many times the longest reach in the grid, and never below kMinCell
    // world units: each element then looks into its own cell and at most one more each way.
    static constexpr double kCellsPerReach = 4.0;
    static constexpr double kMinCell = 1.0;

    // How an element takes part. A NaN radius or a coordinate that is infinite or NaN never
    // touches anything (the float test cannot come out true), so such an element is left out.
    enum class Tier : std::uint8_t { Grid, Loose, Never };

    // An element that takes part in this pass, with what the pass reads of it. No hit moves an
    // element or changes its radius, so these stay true for the whole pass.
    struct Body {
        float pos[3];
        float radius;
        double reach;
        double cell[3]; // grid cell, as whole numbers (Grid tier only)
        Object3D* element;
        Tier tier;
    };
    // Two bodies that may touch, by their places in bodies(): first < second.
    struct Pair {
        std::uint32_t first;
        std::uint32_t second;
    };

    // Takes every element that is active or may become active during the pass (the owner of a
    // shield, which a breaking shield switches on) in list order, and finds every pair of them
    // that may touch, ordered by the first's place in the list, then the second's: the order in
    // which the pass over every pair meets them. When as many take part as in the last call,
    // with the same places and radii in the same order, so are the pairs, which are kept (a
    // field of still rocks). Keeps its buffers from call to call.
    void find(ElementList::const_iterator first, ElementList::const_iterator last);

    const std::vector<Body>& bodies() const { return bodyList; }
    const std::vector<Pair>& pairs() const { return pairList; }
    // The pairs that touch by the float test, in the same order: what decides a pair is kept with
    // the pairs, so a still field's near neighbours are not weighed again frame after frame.
    const std::vector<Pair>& contacts() const { return contactList; }
    // World units per side of the grid's cells in the last search.
    double cellSize() const { return cell; }

private:
    // A grid body as its bucket lists it: what deciding a pair needs, side by side in memory.
    struct Entry {
        float pos[3];
        float reach; // rounded up to float
        std::uint32_t body;
    };

    bool takesPart(const Object3D& element) const;
    void gather(ElementList::const_iterator first, ElementList::const_iterator last);
    void addBody(Object3D& element);
    bool sameAsBefore() const;
    void fileInGrid();
    void findPartners(std::uint32_t i);
    void scanBucket(const Body& body, std::uint32_t i, std::uint64_t bucket);

    std::vector<Body> bodyList;
    std::vector<Body> previousBodies; // of the last call
    std::vector<Pair> pairList;
    std::vector<Pair> contactList;
    // Elements a breaking shield would switch on that take part for no other reason, sorted, and
    // those found in the walk under way.
    std::vector<const Object3D*> wakeable;
    std::vector<const Object3D*> joining;
    std::vector<std::uint32_t> loose;       // bodies of the Loose tier, ascending
    std::vector<std::uint32_t> bucketStart; // per hash bucket, where its entries begin
    std::vector<std::uint32_t> bucketFill;  // filing cursor per bucket
    std::vector<Entry> entries;             // grid bodies by bucket, in list order in each
    std::vector<std::uint32_t> partners;    // of the body whose pairs are being found
    std::uint64_t bucketMask = 0;
    double cell = kMinCell;
    double longestGridReach = 0.0;
};

inline bool BroadPhase::mayTouch(const Body& body, const float* pos, double reach) {
    const double dx = static_cast<double>(body.pos[0]) - static_cast<double>(pos[0]);
    const double dy = static_cast<double>(body.pos[1]) - static_cast<double>(pos[1]);
    const double dz = static_cast<double>(body.pos[2]) - static_cast<double>(pos[2]);
    const double both = body.reach + reach;
    return dx * dx + dy * dy + dz * dz < both * both;
}
