#pragma once
// The canonical 44-byte-header PCM WAV file: mono, 16-bit, little-endian.

#include <cstdint>
#include <string>
#include <vector>

std::vector<uint8_t> WavBytes(const std::vector<int16_t>& samples, int rate);
// Writes the file; a failure raises std::runtime_error naming the path.
void WriteWav(const std::string& path, const std::vector<int16_t>& samples, int rate);
