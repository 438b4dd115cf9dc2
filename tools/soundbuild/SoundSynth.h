#pragma once
// Turns a recipe into 16-bit mono samples: every tone is rendered with its
// pitch glide and its fades, and the tones are added up. The result is the
// same on every machine (the noise comes from a fixed seed), so a rebuilt
// sound is byte for byte the one that was listened to.

#include "SoundRecipe.h"

#include <cstdint>
#include <vector>

constexpr int SoundRate = 22050;

// As many samples as the last tone needs, plus nothing: the first and last
// samples are silent because every tone fades in and out. Sums beyond full
// scale are clipped.
std::vector<int16_t> RenderRecipe(const SoundRecipe& recipe, int rate = SoundRate);
