// Writes mono 16-bit PCM WAV files from samples in -1..1 (rounded, clipped at full scale).
#pragma once

#include <string>
#include <vector>

bool saveWav(const std::string& path, const std::vector<float>& samples, int sampleRate);
