#include "SoundRecipe.h"
#include "SoundSynth.h"
#include "WavFile.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <filesystem>

namespace {
std::string ErrorOf(const std::string& text) {
    try {
        ParseRecipe(text, "pop.txt");
    } catch (const RecipeError& error) {
        return error.what();
    }
    return "(accepted)";
}

// Sign changes between start and end: twice the cycles of a plain tone.
int Crossings(const std::vector<int16_t>& samples, size_t start, size_t end) {
    int count = 0;
    for (size_t i = start + 1; i < end; ++i)
        if ((samples[i - 1] < 0) != (samples[i] < 0)) ++count;
    return count;
}

int Peak(const std::vector<int16_t>& samples) {
    int peak = 0;
    for (int16_t s : samples)
        peak = std::max(peak, std::abs(static_cast<int>(s)));
    return peak;
}
} // namespace

TEST(SoundRecipeTest, ReadsWordsInAnyOrderWithDefaultsForTheRest) {
    SoundRecipe recipe = ParseRecipe("# a comment\n\n  tone from 440 length 0.2\n"
                                     "tone wave noise start 0.1 length 0.4 from 900 to 300 volume 0.25 "
                                     "attack 0.05 release 0.1\n",
                                     "pop.txt");
    ASSERT_EQ(recipe.Tones.size(), 2u);
    const Tone& plain = recipe.Tones[0];
    EXPECT_EQ(plain.Shape, Wave::Sine);
    EXPECT_DOUBLE_EQ(plain.Start, 0);
    EXPECT_DOUBLE_EQ(plain.To, 440);
    EXPECT_DOUBLE_EQ(plain.Volume, 0.5);
    EXPECT_DOUBLE_EQ(plain.Release, 0.1);
    const Tone& noise = recipe.Tones[1];
    EXPECT_EQ(noise.Shape, Wave::Noise);
    EXPECT_DOUBLE_EQ(noise.Start, 0.1);
    EXPECT_DOUBLE_EQ(noise.From, 900);
    EXPECT_DOUBLE_EQ(noise.To, 300);
    EXPECT_DOUBLE_EQ(noise.Attack, 0.05);
}

TEST(SoundRecipeTest, MistakesAreNamedWithFileAndLine) {
    EXPECT_EQ(ErrorOf("# ok\ntone length 0.1 form 440\n"), "pop.txt:2: unknown word \"form\"");
    EXPECT_EQ(ErrorOf("tone from 440\n"), "pop.txt:1: the tone has no length");
    EXPECT_EQ(ErrorOf("tone length 0.1\n"), "pop.txt:1: the tone has no \"from\" pitch");
    EXPECT_EQ(ErrorOf("tone length 0.1 from 44o\n"), "pop.txt:1: \"from\" needs a number, not \"44o\"");
    EXPECT_EQ(ErrorOf("tone length 9 from 440\n"), "pop.txt:1: \"length\" 9 is outside 0.001..5");
    EXPECT_EQ(ErrorOf("tone length 0.1 from 440 volume 2\n"), "pop.txt:1: \"volume\" 2 is outside 0..1");
    EXPECT_EQ(ErrorOf("tone length 0.1 from 440 wave saw\n"),
              "pop.txt:1: unknown wave \"saw\" (sine, triangle, square or noise)");
    EXPECT_EQ(ErrorOf("tone length 0.1 from\n"), "pop.txt:1: \"from\" has no value");
    EXPECT_EQ(ErrorOf("beep length 0.1 from 440\n"), "pop.txt:1: a line starts with \"tone\", not \"beep\"");
    EXPECT_EQ(ErrorOf("tone length 0.1 from 440 attack 0.08 release 0.05\n"),
              "pop.txt:1: attack and release are longer than the tone");
    EXPECT_EQ(ErrorOf("# nothing\n"), "pop.txt: the recipe has no tone");
    EXPECT_THROW(LoadRecipe("/nonexistent/pop.txt"), RecipeError);
}

TEST(SoundSynthTest, ATonePlaysItsPitchForItsLengthAndFadesAtBothEnds) {
    SoundRecipe recipe =
        ParseRecipe("tone start 0.5 length 1 from 441 volume 0.5 attack 0.01 release 0.01", "a");
    std::vector<int16_t> samples = RenderRecipe(recipe, 22050);
    ASSERT_EQ(samples.size(), 33075u);
    EXPECT_EQ(Peak({samples.begin(), samples.begin() + 11025}), 0) << "sound before the start";
    EXPECT_NEAR(Crossings(samples, 11025, 33075), 882, 2);
    EXPECT_NEAR(Peak(samples), 16384, 40);
    EXPECT_EQ(samples[11025], 0);
    EXPECT_LT(std::abs(static_cast<int>(samples.back())), 100);
}

TEST(SoundSynthTest, AGlideRisesAndLoudTonesClipInsteadOfWrapping) {
    SoundRecipe glide = ParseRecipe("tone length 1 from 200 to 800 wave triangle", "a");
    std::vector<int16_t> samples = RenderRecipe(glide, 22050);
    EXPECT_GT(Crossings(samples, 11025, 22050), Crossings(samples, 0, 11025) * 3 / 2);

    SoundRecipe loud = ParseRecipe("tone length 0.2 from 100 wave square volume 1 attack 0 release 0\n"
                                   "tone length 0.2 from 100 wave square volume 1 attack 0 release 0\n",
                                   "a");
    std::vector<int16_t> clipped = RenderRecipe(loud, 22050);
    EXPECT_EQ(*std::max_element(clipped.begin(), clipped.end()), 32767);
    EXPECT_EQ(*std::min_element(clipped.begin(), clipped.end()), -32767);
}

TEST(SoundSynthTest, NoiseIsTheSameOnEveryRun) {
    SoundRecipe recipe = ParseRecipe("tone length 0.1 wave noise from 3000", "a");
    std::vector<int16_t> first = RenderRecipe(recipe, 22050);
    EXPECT_EQ(first, RenderRecipe(recipe, 22050));
    EXPECT_GT(Peak(first), 500);
}

TEST(WavFileTest, HeaderAndSamplesAreLittleEndianPcm) {
    std::vector<uint8_t> bytes = WavBytes({1, -2}, 22050);
    const std::vector<uint8_t> expected{'R',  'I',  'F',  'F', 40, 0, 0, 0,
                                        'W',  'A',  'V',  'E',              // RIFF size 36 + data
                                        'f',  'm',  't',  ' ', 16, 0, 0, 0, // format chunk size
                                        1,    0,    1,    0,                // PCM, mono
                                        0x22, 0x56, 0,    0,                // 22050 samples a second
                                        0x44, 0xAC, 0,    0,                // 44100 bytes a second
                                        2,    0,    16,   0,                // block 2 bytes, 16 bits
                                        'd',  'a',  't',  'a', 4,  0, 0, 0, // data size
                                        1,    0,    0xFE, 0xFF};            // 1, -2
    EXPECT_EQ(bytes, expected);
}

TEST(ShippedSoundsTest, EveryRecipeReadsAndMakesAShortAudibleSound) {
    int recipes = 0;
    for (const auto& entry : std::filesystem::directory_iterator(ART_SOUNDS)) {
        if (entry.path().extension() != ".txt") continue;
        ++recipes;
        SCOPED_TRACE(entry.path().filename().string());
        std::vector<int16_t> samples = RenderRecipe(LoadRecipe(entry.path().string()));
        EXPECT_LE(samples.size(), static_cast<size_t>(SoundRate)) << "longer than a second";
        EXPECT_GT(Peak(samples), 8000) << "too quiet to hear";
        EXPECT_LT(Peak(samples), 32767) << "clipped";
    }
    EXPECT_EQ(recipes, 7);
}
