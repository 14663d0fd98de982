// Shorthands for the models' materials: lit surfaces and self-lit (emissive) ones.
#pragma once

#include "tools/datagen/Ms3dWriter.h"

#include <string>

// A lit surface: ambient follows the diffuse colour (times `ambientShare`), so the game's
// ambient light shows its colour; `gloss` 0..1 sets specular strength and shininess.
Ms3dMaterialSpec litMaterial(const std::string& name, float r, float g, float b, float gloss,
                             const std::string& texture = "", float ambientShare = 0.6f);

// Ambient share for models the game draws scaled up (asteroid, knacker): without normal
// rescaling, GL shortens their normals by the scale, so diffuse light fades to a sixth and the
// ambient term has to carry the colour.
const float kScaledModelAmbient = 1.1f;
// A self-lit surface: the emission carries the colour, so it glows whatever the light does.
Ms3dMaterialSpec glowMaterial(const std::string& name, float r, float g, float b,
                              const std::string& texture = "");
