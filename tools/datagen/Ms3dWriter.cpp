// MS3D encoding: header, vertices, triangles, groups, materials, then the animation block with
// no joints that MilkShape itself writes.
#include "tools/datagen/Ms3dWriter.h"

#include "tools/datagen/ByteSink.h"

#include <algorithm>
#include <cstdio>

int Ms3dWriter::addMaterial(const Ms3dMaterialSpec& material) {
    materials.push_back(material);
    return static_cast<int>(materials.size()) - 1;
}

void Ms3dWriter::addGroup(const std::string& name, const Mesh& mesh, int materialIndex) {
    groups.push_back({name, mesh, materialIndex});
}

namespace {

bool sameLook(const Ms3dMaterialSpec& a, const Ms3dMaterialSpec& b) {
    return a.ambient == b.ambient && a.diffuse == b.diffuse && a.specular == b.specular &&
           a.emissive == b.emissive && a.shininess == b.shininess && a.texture == b.texture;
}

} // namespace

bool Ms3dWriter::finishLike(const Ms3dWriter& near) {
    if (groups.empty() || near.groups.empty() || near.groups.back().mesh.faces.empty()) {
        return false;
    }
    GroupEntry& last = groups.back();
    const GroupEntry& nearLast = near.groups.back();
    if (last.material < 0 || nearLast.material < 0 ||
        !sameLook(materials[static_cast<std::size_t>(last.material)],
                  near.materials[static_cast<std::size_t>(nearLast.material)])) {
        return false;
    }
    MeshFace face = nearLast.mesh.faces.back();
    for (MeshCorner& corner : face.corners) {
        corner.vertex =
            last.mesh.addVertex(nearLast.mesh.positions[static_cast<std::size_t>(corner.vertex)]);
    }
    last.mesh.faces.push_back(face);
    return true;
}

int Ms3dWriter::triangleCount() const {
    std::size_t n = 0;
    for (const GroupEntry& g : groups) {
        n += g.mesh.faces.size();
    }
    return static_cast<int>(n);
}

Mesh Ms3dWriter::combined() const {
    Mesh all;
    for (const GroupEntry& g : groups) {
        all.append(g.mesh);
    }
    return all;
}

std::optional<std::vector<std::uint8_t>> Ms3dWriter::encode(int version) const {
    std::size_t vertexCount = 0;
    for (const GroupEntry& g : groups) {
        vertexCount += g.mesh.positions.size();
    }
    const std::size_t triangles = static_cast<std::size_t>(triangleCount());
    if (vertexCount > 65535 || triangles > 65535 || groups.size() > 127 || materials.size() > 127) {
        return std::nullopt;
    }

    ByteSink out;
    out.text("MS3D000000", 11); // 10 identifier bytes; the 11th byte is dropped below
    out.bytes.pop_back();
    out.i32(version);

    // Vertices, group after group; the reference count is the number of corners using it.
    std::vector<int> references(vertexCount, 0);
    {
        std::size_t base = 0;
        for (const GroupEntry& g : groups) {
            for (const MeshFace& f : g.mesh.faces) {
                for (const MeshCorner& c : f.corners) {
                    ++references[base + static_cast<std::size_t>(c.vertex)];
                }
            }
            base += g.mesh.positions.size();
        }
    }
    out.u16(static_cast<std::uint32_t>(vertexCount));
    std::size_t index = 0;
    for (const GroupEntry& g : groups) {
        for (const Vec3& p : g.mesh.positions) {
            out.u8(0);
            out.f32(p.x);
            out.f32(p.y);
            out.f32(p.z);
            out.u8(0xFF); // no bone
            out.u8(static_cast<std::uint32_t>(std::min(references[index++], 255)));
        }
    }

    out.u16(static_cast<std::uint32_t>(triangles));
    std::size_t base = 0;
    for (std::size_t gi = 0; gi < groups.size(); ++gi) {
        const GroupEntry& g = groups[gi];
        for (const MeshFace& f : g.mesh.faces) {
            out.u16(0);
            for (const MeshCorner& c : f.corners) {
                out.u16(static_cast<std::uint32_t>(base + static_cast<std::size_t>(c.vertex)));
            }
            for (const MeshCorner& c : f.corners) {
                out.f32(c.normal.x);
                out.f32(c.normal.y);
                out.f32(c.normal.z);
            }
            for (const MeshCorner& c : f.corners) {
                out.f32(c.u);
            }
            // The file's t runs from the top of the image; the game flips it back.
            for (const MeshCorner& c : f.corners) {
                out.f32(1.0f - c.v);
            }
            out.u8(1);                              // smoothing group
            out.u8(static_cast<std::uint32_t>(gi)); // group index
        }
        base += g.mesh.positions.size();
    }

    out.u16(static_cast<std::uint32_t>(groups.size()));
    std::size_t firstTriangle = 0;
    for (const GroupEntry& g : groups) {
        out.u8(0);
        out.text(g.name, 32);
        out.u16(static_cast<std::uint32_t>(g.mesh.faces.size()));
        for (std::size_t i = 0; i < g.mesh.faces.size(); ++i) {
            out.u16(static_cast<std::uint32_t>(firstTriangle + i));
        }
        out.u8(static_cast<std::uint32_t>(g.material < 0 ? 0xFF : g.material));
        firstTriangle += g.mesh.faces.size();
    }

    out.u16(static_cast<std::uint32_t>(materials.size()));
    for (const Ms3dMaterialSpec& m : materials) {
        out.text(m.name, 32);
        for (const auto* colour : {&m.ambient, &m.diffuse, &m.specular, &m.emissive}) {
            for (float c : *colour) {
                out.f32(c);
            }
        }
        out.f32(m.shininess);
        out.f32(1.0f); // transparency: opaque
        out.u8(0);     // mode
        out.text(m.texture, 128);
        out.text("", 128); // no alpha map
    }

    out.f32(24.0f); // animation frames per second
    out.f32(0.0f);  // current time
    out.i32(1);     // total frames
    out.u16(0);     // no joints
    return out.bytes;
}

bool Ms3dWriter::save(const std::string& path, int version) const {
    auto bytes = encode(version);
    if (!bytes) {
        std::fprintf(stderr, "ombrelix-datagen: %s has too many vertices or triangles\n",
                     path.c_str());
        return false;
    }
    return saveFile(path, *bytes);
}
