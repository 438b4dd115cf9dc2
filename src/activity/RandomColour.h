#pragma once
// Random palette indices for random fills and randomly coloured new items.

#include <cstdint>
#include <functional>

// A uniformly random index 0..255, drawn again while it is one of the indices
// the activity reserves or never paints at random: 40, 125, 217 and 255.
uint8_t RandomColour();

// The generator is seeded from the clock on first use; tests re-seed it for
// repeatable runs.
void SeedRandomColours(uint32_t seed);

// Tests can replace the raw draws with their own sequence; an empty function
// puts the generator back.
using RandomByteSource = std::function<uint8_t()>;
void SetRandomByteSource(RandomByteSource source);
