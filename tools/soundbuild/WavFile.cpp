#include "WavFile.h"

#include <fstream>
#include <stdexcept>

namespace {
void Put32(std::vector<uint8_t>& out, uint32_t value) {
    for (int shift = 0; shift < 32; shift += 8)
        out.push_back(static_cast<uint8_t>(value >> shift));
}
void Put16(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}
void PutTag(std::vector<uint8_t>& out, const char (&tag)[5]) {
    for (int i = 0; i < 4; ++i)
        out.push_back(static_cast<uint8_t>(tag[i]));
}
} // namespace

std::vector<uint8_t> WavBytes(const std::vector<int16_t>& samples, int rate) {
    constexpr uint16_t Channels = 1;
    constexpr uint16_t BytesPerSample = 2;
    const auto dataSize = static_cast<uint32_t>(samples.size() * BytesPerSample);
    std::vector<uint8_t> out;
    out.reserve(44 + dataSize);
    PutTag(out, "RIFF");
    Put32(out, 36 + dataSize);
    PutTag(out, "WAVE");
    PutTag(out, "fmt ");
    Put32(out, 16);
    Put16(out, 1); // PCM
    Put16(out, Channels);
    Put32(out, static_cast<uint32_t>(rate));
    Put32(out, static_cast<uint32_t>(rate) * Channels * BytesPerSample);
    Put16(out, Channels * BytesPerSample);
    Put16(out, 8 * BytesPerSample);
    PutTag(out, "data");
    Put32(out, dataSize);
    for (int16_t sample : samples)
        Put16(out, static_cast<uint16_t>(sample));
    return out;
}

void WriteWav(const std::string& path, const std::vector<int16_t>& samples, int rate) {
    std::vector<uint8_t> bytes = WavBytes(samples, rate);
    std::ofstream file(path, std::ios::binary | std::ios::trunc);
    file.write(reinterpret_cast<const char*>(bytes.data()), static_cast<std::streamsize>(bytes.size()));
    if (!file.flush()) throw std::runtime_error(path + ": cannot write the sound file");
}
