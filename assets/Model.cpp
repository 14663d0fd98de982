// Material textures of a loaded model, (re)created with the container's current filter; a
// replaced texture is deleted once no display list binds it any more.
#include "assets/Model.h"

#include "assets/ObjectTexture.h"
#include "world/ElementContainer.h"

#include <GL/gl.h>

#include <algorithm>

namespace {

bool contains(const std::vector<unsigned>& names, unsigned name) {
    return std::find(names.begin(), names.end(), name) != names.end();
}

void deleteTexture(unsigned name) {
    const GLuint texture = name;
    glDeleteTextures(1, &texture);
}

} // namespace

Model::~Model() {
    for (const Material& material : materials) {
        if (material.texture != 0 && !contains(listTextures, material.texture)) {
            deleteTexture(material.texture);
        }
    }
    for (unsigned name : listTextures) {
        deleteTexture(name);
    }
}

void Model::loadTextures() {
    // Textures the kind's display list captured stay alive: every element of the kind draws it
    // until a new element compiles the next one. Any other replaced texture would never be
    // bound again, and each filter change would pile up a full set.
    const int filterMode = ElementContainer::getInstance()->iTextureFilter;
    for (Material& material : materials) {
        const unsigned replaced = material.texture;
        material.texture =
            material.textureFile.empty()
                ? 0
                : ObjectTexture::LoadTexture(material.textureFile.c_str(), filterMode);
        if (replaced != 0 && !contains(listTextures, replaced)) {
            deleteTexture(replaced);
        }
    }
}

void Model::listCompiled() {
    std::vector<unsigned> bound;
    for (const Material& material : materials) {
        if (material.texture != 0) {
            bound.push_back(material.texture);
        }
    }
    for (unsigned name : listTextures) {
        if (!contains(bound, name)) {
            deleteTexture(name);
        }
    }
    listTextures = std::move(bound);
}
