// Quadric-error edge collapses: every corner carries the sum of the squared distances to the
// planes of the faces it started among; the cheapest edge whose collapse flips no face and keeps
// the surface closed goes first, its two corners merged at the point that costs least.
#include "tools/datagen/MeshSimplifier.h"

#include "tools/datagen/MeshShapes.h"

#include <algorithm>
#include <array>
#include <cmath>
#include <set>
#include <vector>

namespace {

// The symmetric 4 x 4 matrix of a sum of plane quadrics: a², ab, ac, ad, b², bc, bd, c², cd, d².
struct Quadric {
    double q[10] = {};

    void addPlane(const Vec3& normal, double d, double weight) {
        const double p[4] = {normal.x, normal.y, normal.z, d};
        int k = 0;
        for (int i = 0; i < 4; ++i) {
            for (int j = i; j < 4; ++j) {
                q[k++] += weight * p[i] * p[j];
            }
        }
    }
    void add(const Quadric& other) {
        for (int i = 0; i < 10; ++i) {
            q[i] += other.q[i];
        }
    }
    double cost(const Vec3& v) const {
        const double x = v.x, y = v.y, z = v.z;
        return q[0] * x * x + 2 * q[1] * x * y + 2 * q[2] * x * z + 2 * q[3] * x + q[4] * y * y +
               2 * q[5] * y * z + 2 * q[6] * y + q[7] * z * z + 2 * q[8] * z + q[9];
    }
    // The point of least cost, when the quadric pins one down.
    bool best(Vec3& v) const {
        const double a[3][3] = {{q[0], q[1], q[2]}, {q[1], q[4], q[5]}, {q[2], q[5], q[7]}};
        const double b[3] = {-q[3], -q[6], -q[8]};
        const double det = a[0][0] * (a[1][1] * a[2][2] - a[1][2] * a[2][1]) -
                           a[0][1] * (a[1][0] * a[2][2] - a[1][2] * a[2][0]) +
                           a[0][2] * (a[1][0] * a[2][1] - a[1][1] * a[2][0]);
        const double kSingular = 1e-9;
        if (std::fabs(det) < kSingular) {
            return false;
        }
        double r[3];
        for (int c = 0; c < 3; ++c) {
            double m[3][3];
            for (int i = 0; i < 3; ++i) {
                for (int j = 0; j < 3; ++j) {
                    m[i][j] = j == c ? b[i] : a[i][j];
                }
            }
            r[c] = (m[0][0] * (m[1][1] * m[2][2] - m[1][2] * m[2][1]) -
                    m[0][1] * (m[1][0] * m[2][2] - m[1][2] * m[2][0]) +
                    m[0][2] * (m[1][0] * m[2][1] - m[1][1] * m[2][0])) /
                   det;
        }
        v = Vec3(static_cast<float>(r[0]), static_cast<float>(r[1]), static_cast<float>(r[2]));
        return true;
    }
};

struct Collapse {
    double cost;
    int keep;
    int gone;
    Vec3 at;
    bool operator<(const Collapse& o) const { return cost < o.cost; }
};

class Collapser {
public:
    explicit Collapser(const Mesh& mesh) : positions(mesh.positions) {
        facesOf.resize(positions.size());
        quadrics.resize(positions.size());
        for (const MeshFace& f : mesh.faces) {
            const std::array<int, 3> face{f.corners[0].vertex, f.corners[1].vertex,
                                          f.corners[2].vertex};
            const Vec3 n = cross(positions[at(face[1])] - positions[at(face[0])],
                                 positions[at(face[2])] - positions[at(face[0])]);
            const float area = length(n);
            if (area > 0.0f) {
                const Vec3 unit = n / area;
                for (int v : face) {
                    quadrics[at(v)].addPlane(unit, -dot(unit, positions[at(face[0])]), area);
                }
            }
            for (int v : face) {
                facesOf[at(v)].push_back(static_cast<int>(faces.size()));
            }
            faces.push_back(face);
            alive.push_back(true);
        }
        living = static_cast<int>(faces.size());
    }

    void reduceTo(int target) {
        while (living > target) {
            std::vector<Collapse> candidates = allCollapses();
            std::sort(candidates.begin(), candidates.end());
            bool collapsed = false;
            for (const Collapse& c : candidates) {
                if (allowed(c)) {
                    apply(c);
                    collapsed = true;
                    break;
                }
            }
            if (!collapsed) {
                return;
            }
        }
    }

    Mesh result() const {
        Mesh out;
        std::vector<int> remap(positions.size(), -1);
        for (std::size_t i = 0; i < faces.size(); ++i) {
            if (!alive[i]) {
                continue;
            }
            MeshFace face;
            for (int k = 0; k < 3; ++k) {
                int& r = remap[at(faces[i][static_cast<std::size_t>(k)])];
                if (r < 0) {
                    r = out.addVertex(positions[at(faces[i][static_cast<std::size_t>(k)])]);
                }
                face.corners[k].vertex = r;
            }
            out.faces.push_back(face);
        }
        return out;
    }

private:
    static std::size_t at(int index) { return static_cast<std::size_t>(index); }

    std::vector<Collapse> allCollapses() const {
        std::vector<Collapse> all;
        std::set<std::pair<int, int>> seen;
        for (std::size_t i = 0; i < faces.size(); ++i) {
            if (!alive[i]) {
                continue;
            }
            for (int k = 0; k < 3; ++k) {
                int a = faces[i][at(k)], b = faces[i][at((k + 1) % 3)];
                if (!seen.insert({std::min(a, b), std::max(a, b)}).second) {
                    continue;
                }
                Quadric q = quadrics[at(a)];
                q.add(quadrics[at(b)]);
                // The cheapest of the two ends, their middle and the quadric's own best point,
                // if that lies within the edge's ball: farther out it would sharpen tips into
                // spikes the model never had.
                const Vec3 pa = positions[at(a)], pb = positions[at(b)];
                const Vec3 middle = (pa + pb) * 0.5f;
                Collapse best{q.cost(middle), a, b, middle};
                Vec3 optimal;
                if (q.best(optimal) && length(optimal - middle) <= 0.5f * length(pb - pa)) {
                    best = std::min(best, Collapse{q.cost(optimal), a, b, optimal});
                }
                best = std::min(best, Collapse{q.cost(pa), a, b, pa});
                best = std::min(best, Collapse{q.cost(pb), a, b, pb});
                all.push_back(best);
            }
        }
        return all;
    }

    std::set<int> neighbours(int v) const {
        std::set<int> around;
        for (int f : facesOf[at(v)]) {
            if (alive[at(f)]) {
                around.insert(faces[at(f)].begin(), faces[at(f)].end());
            }
        }
        around.erase(v);
        return around;
    }

    // A collapse must keep the surface closed and manifold (the two corners share exactly the
    // two neighbours of their edge) and turn no remaining face over.
    bool allowed(const Collapse& c) const {
        const std::set<int> a = neighbours(c.keep), b = neighbours(c.gone);
        int shared = 0;
        for (int v : a) {
            shared += b.count(v) != 0 ? 1 : 0;
        }
        if (shared != 2) {
            return false;
        }
        for (int v : {c.keep, c.gone}) {
            for (int f : facesOf[at(v)]) {
                const std::array<int, 3>& face = faces[at(f)];
                const bool hasBoth = std::count(face.begin(), face.end(), c.keep) +
                                         std::count(face.begin(), face.end(), c.gone) ==
                                     2;
                if (!alive[at(f)] || hasBoth) {
                    continue;
                }
                Vec3 before[3], after[3];
                for (int k = 0; k < 3; ++k) {
                    const int corner = face[at(k)];
                    before[k] = positions[at(corner)];
                    after[k] = corner == c.keep || corner == c.gone ? c.at : before[k];
                }
                const Vec3 n0 = cross(before[1] - before[0], before[2] - before[0]);
                const Vec3 n1 = cross(after[1] - after[0], after[2] - after[0]);
                const float kMinTurnCosine = 0.2f; // no face turned by more than about 78 degrees
                if (dot(n0, n1) <= kMinTurnCosine * length(n0) * length(n1)) {
                    return false;
                }
            }
        }
        return true;
    }

    void apply(const Collapse& c) {
        positions[at(c.keep)] = c.at;
        quadrics[at(c.keep)].add(quadrics[at(c.gone)]);
        for (int f : facesOf[at(c.gone)]) {
            if (!alive[at(f)]) {
                continue;
            }
            std::array<int, 3>& face = faces[at(f)];
            if (std::find(face.begin(), face.end(), c.keep) != face.end()) {
                alive[at(f)] = false; // the edge's own faces fold away
                --living;
                continue;
            }
            std::replace(face.begin(), face.end(), c.gone, c.keep);
            facesOf[at(c.keep)].push_back(f);
        }
        facesOf[at(c.gone)].clear();
    }

    std::vector<Vec3> positions;
    std::vector<std::array<int, 3>> faces;
    std::vector<bool> alive;
    std::vector<std::vector<int>> facesOf;
    std::vector<Quadric> quadrics;
    int living = 0;
};

} // namespace

Mesh MeshSimplifier::simplify(const Mesh& mesh, int faces) {
    Collapser collapser(mesh);
    collapser.reduceTo(faces);
    return collapser.result();
}

Mesh MeshSimplifier::farPart(const Mesh& part, int share, float creaseDegrees, float repeatsPerUnit,
                             int least) {
    const int faces = std::max(least, static_cast<int>(part.faces.size()) / std::max(share, 1));
    Mesh coarse = simplify(part, faces);
    projectUvBoxed(coarse, repeatsPerUnit);
    coarse.computeNormals(creaseDegrees);
    return coarse;
}
