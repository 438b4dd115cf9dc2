// soundbuild OUTPUT_FOLDER RECIPE...: writes OUTPUT_FOLDER/NAME.wav for every
// recipe NAME.txt. The toy's sounds are made this way during the build.

#include "SoundRecipe.h"
#include "SoundSynth.h"
#include "WavFile.h"

#include <cstdio>
#include <filesystem>
#include <stdexcept>

int main(int argc, char** argv) {
    if (argc < 3) {
        std::fprintf(stderr, "Usage: soundbuild OUTPUT_FOLDER RECIPE.txt...\n");
        return 2;
    }
    try {
        std::filesystem::path folder(argv[1]);
        std::filesystem::create_directories(folder);
        for (int i = 2; i < argc; ++i) {
            std::filesystem::path recipe(argv[i]);
            WriteWav((folder / recipe.stem()).string() + ".wav", RenderRecipe(LoadRecipe(recipe.string())),
                     SoundRate);
        }
    } catch (const std::exception& error) {
        std::fprintf(stderr, "soundbuild: %s\n", error.what());
        return 1;
    }
    return 0;
}
