// Shorthands for the models' materials: lit surfaces and self-lit (emissive) ones.
#pragma once

#include "tools/datagen/Ms3dWriter.h"

#include <string>

// A lit surface: ambient follows the diffuse colour, so the game's ambient light shows its
// colour; `gloss` 0..1 sets specular strength and shininess.
Ms3dMaterialSpec litMaterial(const std::string& name, float r, float g, float b, float gloss,
                             const std::string& texture = "");
// A self-lit surface: the emission carries the colour, so it glows whatever the light does.
Ms3dMaterialSpec glowMaterial(const std::string& name, float r, float g, float b,
                              const std::string& texture = "");
