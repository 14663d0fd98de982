// Material textures of a loaded model, (re)created with the container's current filter.
#include "assets/Model.h"

#include "assets/ObjectTexture.h"
#include "world/ElementContainer.h"

void Model::loadTextures() {
    // Old texture objects stay alive: display lists compiled earlier still bind them.
    const int filterMode = ElementContainer::getInstance()->iTextureFilter;
    for (Material& material : materials) {
        material.texture =
            material.textureFile.empty()
                ? 0
                : ObjectTexture::LoadTexture(material.textureFile.c_str(), filterMode);
    }
}
