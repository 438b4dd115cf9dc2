#include "activity/RandomColour.h"

#include "activity/ObjectTable.h"

#include <chrono>
#include <random>

namespace {
uint32_t ClockSeed() {
    return static_cast<uint32_t>(std::chrono::high_resolution_clock::now().time_since_epoch().count());
}

std::mt19937& Generator() {
    static std::mt19937 generator(ClockSeed());
    return generator;
}

RandomByteSource& Override() {
    static RandomByteSource source;
    return source;
}

uint8_t RawDraw() {
    if (Override()) return Override()();
    return static_cast<uint8_t>(std::uniform_int_distribution<int>(0, 255)(Generator()));
}

bool IsReserved(uint8_t colour) {
    return colour == OutlineInk || colour == SelectionColour || colour == BlankBackgroundColour ||
           colour == BlankObjectColour;
}
} // namespace

uint8_t RandomColour() {
    uint8_t colour = RawDraw();
    while (IsReserved(colour))
        colour = RawDraw();
    return colour;
}

void SeedRandomColours(uint32_t seed) {
    Generator().seed(seed);
}

void SetRandomByteSource(RandomByteSource source) {
    Override() = std::move(source);
}
