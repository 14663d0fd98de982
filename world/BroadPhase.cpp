// The broad phase: bodies filed in a hashed uniform grid, each body's partners found in the cells
// its reach can get into, and the float touch test. Built without fused multiply-adds (see the
// build files), which would round the touch test differently from one build to another.
#include "world/BroadPhase.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <limits>

namespace {

// Grid cells as whole numbers stay exact (and an element's own cell and its neighbours apart)
// below this; beyond it, float coordinates lie so far apart that two elements touch only
// where a coordinate is the same, so there an element looks into its own cell alone.
const double kExactCells = 35184372088832.0; // 2^45
// Part of a cell allowed for the rounding of the cell arithmetic when an element's reach is
// weighed against its cell's walls.
const double kWallSlack = 1.0 / 16.0;
const std::uint32_t kMinBuckets = 16;
const float kUpward = std::numeric_limits<float>::infinity();

std::uint64_t bitsOf(double value) {
    std::uint64_t bits = 0;
    std::memcpy(&bits, &value, sizeof bits);
    return bits;
}

// Whole numbers as doubles differ in their high bits only: the mixing brings those down to the
// low bits the bucket mask keeps.
std::uint64_t cellHash(const double* key) {
    std::uint64_t h = bitsOf(key[0]) * 0x9E3779B97F4A7C15ull;
    h = (h ^ bitsOf(key[1])) * 0xC2B2AE3D27D4EB4Full;
    h ^= bitsOf(key[2]);
    h = (h ^ (h >> 33)) * 0xFF51AFD7ED558CCDull;
    h = (h ^ (h >> 33)) * 0xC4CEB9FE1A85EC53ull;
    return h ^ (h >> 33);
}

} // namespace

bool BroadPhase::touches(const float* posA, float radiusA, const float* posB, float radiusB) {
    const float dx = posA[0] - posB[0];
    const float dy = posA[1] - posB[1];
    const float dz = posA[2] - posB[2];
    const float distanceSquared = dx * dx + dy * dy + dz * dz;
    const float radii = radiusA * radiusA + radiusB * radiusB;
    return distanceSquared < radii;
}

bool BroadPhase::touches(const Element3D& a, const Element3D& b) {
    const float posA[3] = {a.getPos(0), a.getPos(1), a.getPos(2)};
    const float posB[3] = {b.getPos(0), b.getPos(1), b.getPos(2)};
    return touches(posA, a.getRadius(), posB, b.getRadius());
}

BroadPhase::BroadPhase() {
    bodyList.reserve(kRoomForBodies);
    previousBodies.reserve(kRoomForBodies);
    entries.reserve(kRoomForBodies);
    pairList.reserve(kRoomForPairs);
    contactList.reserve(kRoomForPairs);
    partners.reserve(kRoomForPairs);
}

void BroadPhase::find(ElementList::const_iterator first, ElementList::const_iterator last) {
    std::swap(bodyList, previousBodies);
    gather(first, last);
    // A field of still rocks gives the same pairs frame after frame: no search.
    if (sameAsBefore()) {
        return;
    }
    fileInGrid();
    pairList.clear();
    for (std::uint32_t i = 0; i < bodyList.size(); ++i) {
        findPartners(i);
    }
    contactList.clear();
    for (const Pair& pair : pairList) {
        const Body& a = bodyList[pair.first];
        const Body& b = bodyList[pair.second];
        if (touches(a.pos, a.radius, b.pos, b.radius)) {
            contactList.push_back(pair);
        }
    }
}

bool BroadPhase::takesPart(const Object3D& element) const {
    return element.isActive() || element.getShield() != nullptr ||
           (!wakeable.empty() && std::binary_search(wakeable.begin(), wakeable.end(), &element));
}

void BroadPhase::gather(ElementList::const_iterator first, ElementList::const_iterator last) {
    // An element guarded by a shield holds it in pShield, so it takes part. Should a shield guard
    // one that does not hold it, that one joins too, and the walk starts again (never in play).
    wakeable.clear();
    do {
        joining.clear();
        bodyList.clear();
        for (auto element = first; element != last; ++element) {
            if (!takesPart(**element)) {
                continue;
            }
            addBody(**element);
            const Object3D* guarded = (*element)->guarded();
            if (guarded != nullptr && !takesPart(*guarded)) {
                joining.push_back(guarded);
            }
        }
        wakeable.insert(wakeable.end(), joining.begin(), joining.end());
        std::sort(wakeable.begin(), wakeable.end());
        wakeable.erase(std::unique(wakeable.begin(), wakeable.end()), wakeable.end());
    } while (!joining.empty());
}

void BroadPhase::addBody(Object3D& element) {
    Body body{};
    body.element = &element;
    body.radius = element.getRadius();
    bool finite = true;
    for (int k = 0; k < 3; ++k) {
        body.pos[k] = element.getPos(k);
        finite = finite && std::isfinite(body.pos[k]);
    }
    if (!finite || std::isnan(body.radius)) {
        body.tier = Tier::Never;
    } else {
        body.reach = reachOf(body.radius);
        body.tier = body.reach <= kLooseReach ? Tier::Grid : Tier::Loose;
    }
    bodyList.push_back(body);
}

bool BroadPhase::sameAsBefore() const {
    if (bodyList.size() != previousBodies.size()) {
        return false;
    }
    for (std::size_t i = 0; i < bodyList.size(); ++i) {
        const Body& now = bodyList[i];
        const Body& before = previousBodies[i];
        // Whether two bodies may touch depends on their places and radii alone, compared bit
        // for bit (a NaN is the same NaN; 0 and -0 need not be told apart).
        if (std::memcmp(now.pos, before.pos, sizeof now.pos) != 0 ||
            std::memcmp(&now.radius, &before.radius, sizeof now.radius) != 0) {
            return false;
        }
    }
    return true;
}

void BroadPhase::fileInGrid() {
    longestGridReach = 0.0;
    std::uint32_t gridBodies = 0;
    loose.clear();
    for (std::uint32_t i = 0; i < bodyList.size(); ++i) {
        const Body& body = bodyList[i];
        if (body.tier == Tier::Grid) {
            longestGridReach = std::max(longestGridReach, body.reach);
            ++gridBodies;
        } else if (body.tier == Tier::Loose) {
            loose.push_back(i);
        }
    }
    cell = std::max(kCellsPerReach * longestGridReach, kMinCell);

    std::uint32_t buckets = kMinBuckets;
    while (buckets < 2 * gridBodies) {
        buckets *= 2;
    }
    bucketMask = buckets - 1;
    // Counted, then filed bucket by bucket: each bucket lists its bodies in list order.
    bucketStart.assign(buckets + 1, 0);
    for (Body& body : bodyList) {
        if (body.tier != Tier::Grid) {
            continue;
        }
        for (int k = 0; k < 3; ++k) {
            // + 0.0 makes a cell of -0 the same as 0.
            body.cell[k] = std::floor(static_cast<double>(body.pos[k]) / cell) + 0.0;
        }
        ++bucketStart[(cellHash(body.cell) & bucketMask) + 1];
    }
    for (std::uint32_t b = 0; b < buckets; ++b) {
        bucketStart[b + 1] += bucketStart[b];
    }
    bucketFill.assign(bucketStart.begin(), bucketStart.end() - 1);
    entries.resize(gridBodies);
    for (std::uint32_t i = 0; i < bodyList.size(); ++i) {
        const Body& body = bodyList[i];
        if (body.tier == Tier::Grid) {
            Entry& entry = entries[bucketFill[cellHash(body.cell) & bucketMask]++];
            std::memcpy(entry.pos, body.pos, sizeof entry.pos);
            entry.reach = std::nextafter(static_cast<float>(body.reach), kUpward);
            entry.body = i;
        }
    }
}

void BroadPhase::findPartners(std::uint32_t i) {
    const Body& body = bodyList[i];
    partners.clear();
    if (body.tier == Tier::Grid) {
        // A partner's centre lies within both reaches, so within this one's and the longest:
        // look into the neighbouring cells only on the sides that reach gets to.
        const double reach = body.reach + longestGridReach;
        int from[3] = {0, 0, 0};
        int to[3] = {0, 0, 0};
        for (int k = 0; k < 3; ++k) {
            const double q = body.cell[k];
            if (std::fabs(q) < kExactCells) {
                const double p = body.pos[k];
                from[k] = p - reach < q * cell + kWallSlack * cell ? -1 : 0;
                to[k] = p + reach >= (q + 1.0) * cell - kWallSlack * cell ? 1 : 0;
            }
        }
        // Two cells may share a bucket; each bucket is looked through once.
        std::uint64_t seen[27];
        int seenCount = 0;
        for (int dx = from[0]; dx <= to[0]; ++dx) {
            for (int dy = from[1]; dy <= to[1]; ++dy) {
                for (int dz = from[2]; dz <= to[2]; ++dz) {
                    const double key[3] = {body.cell[0] + dx, body.cell[1] + dy, body.cell[2] + dz};
                    const std::uint64_t bucket = cellHash(key) & bucketMask;
                    if (std::find(seen, seen + seenCount, bucket) == seen + seenCount) {
                        seen[seenCount++] = bucket;
                        scanBucket(body, i, bucket);
                    }
                }
            }
        }
        for (std::uint32_t j : loose) {
            if (j > i && mayTouch(body, bodyList[j].pos, bodyList[j].reach)) {
                partners.push_back(j);
            }
        }
    } else if (body.tier == Tier::Loose) {
        for (std::uint32_t j = i + 1; j < bodyList.size(); ++j) {
            const Body& other = bodyList[j];
            if (other.tier != Tier::Never && mayTouch(body, other.pos, other.reach)) {
                partners.push_back(j);
            }
        }
    }
    // The buckets come in grid order; the pass meets the partners in list order.
    std::sort(partners.begin(), partners.end());
    for (std::uint32_t j : partners) {
        pairList.push_back({i, j});
    }
}

void BroadPhase::scanBucket(const Body& body, std::uint32_t i, std::uint64_t bucket) {
    // Bodies of other cells that happen to share the bucket are weighed like any other: a pair
    // that may touch is a pair whichever cell it is found through.
    const Entry* end = entries.data() + bucketStart[bucket + 1];
    for (const Entry* entry = entries.data() + bucketStart[bucket]; entry != end; ++entry) {
        if (entry->body > i && mayTouch(body, entry->pos, entry->reach)) {
            partners.push_back(entry->body);
        }
    }
}
