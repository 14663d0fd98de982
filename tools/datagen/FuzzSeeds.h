// Small well-formed sample files (each under 2 KB) that start the fuzzers of the BMP, TGA, JPEG
// and MS3D readers off on valid input, covering the variants the readers accept.
#pragma once

#include <string>

// Writes <runDir>/fuzz-seeds/{bmp,tga,jpeg,ms3d}/...; false when a file cannot be written.
bool writeFuzzSeeds(const std::string& runDir);
