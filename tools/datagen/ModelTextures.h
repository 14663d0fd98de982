// The textures that the models' materials name: hull plating (BMP), armour panel (TGA), plasma
// glow (RLE TGA) and rock (JPEG). Paths are relative to the run directory, as the game opens
// them.
#pragma once

#include <string>

const char* const kHullTexture = "data/texture/hull.bmp";
const char* const kPanelTexture = "data/texture/panel.tga";
const char* const kGlowTexture = "data/texture/glow.tga";
const char* const kRockTexture = "data/texture/asteroid.jpg";

// Writes all four into <runDir>/data/texture/; false when a file cannot be written.
bool writeModelTextures(const std::string& runDir);
