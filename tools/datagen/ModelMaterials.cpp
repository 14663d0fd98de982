// Material shorthands for the generated models.
#include "tools/datagen/ModelMaterials.h"

Ms3dMaterialSpec litMaterial(const std::string& name, float r, float g, float b, float gloss,
                             const std::string& texture, float ambientShare) {
    Ms3dMaterialSpec m;
    m.name = name;
    m.ambient = {r * ambientShare, g * ambientShare, b * ambientShare, 1};
    m.diffuse = {r, g, b, 1};
    m.specular = {gloss, gloss, gloss, 1};
    m.emissive = {0, 0, 0, 1};
    m.shininess = 8.0f + 90.0f * gloss;
    m.texture = texture;
    return m;
}

Ms3dMaterialSpec glowMaterial(const std::string& name, float r, float g, float b,
                              const std::string& texture) {
    Ms3dMaterialSpec m;
    m.name = name;
    m.ambient = {r * 0.3f, g * 0.3f, b * 0.3f, 1};
    m.diffuse = {r * 0.5f, g * 0.5f, b * 0.5f, 1};
    m.specular = {0.3f, 0.3f, 0.3f, 1};
    m.emissive = {r, g, b, 1};
    m.shininess = 20.0f;
    m.texture = texture;
    return m;
}
