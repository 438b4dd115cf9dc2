#pragma once
// A sound's recipe: a few tones laid over each other, one line each, written
// so that a person can read and change them. Blank lines and lines starting
// with '#' are ignored; every other line is "tone" and words with values:
//
//   tone start 0.05 length 0.2 wave triangle from 523 to 784 volume 0.4 attack 0.01 release 0.1
//
//   start    seconds from the beginning (default 0)
//   length   seconds the tone lasts (required, above 0, at most 5)
//   wave     sine, triangle, square or noise (default sine)
//   from, to pitch in hertz at the tone's start and end, gliding between
//            (from required; to defaults to from); for noise, the brightness
//   volume   0..1 (default 0.5)
//   attack, release  seconds of fading in and out (defaults 0.005 and half the length)

#include <stdexcept>
#include <string>
#include <vector>

enum class Wave { Sine, Triangle, Square, Noise };

struct Tone {
    double Start = 0;
    double Length = 0;
    Wave Shape = Wave::Sine;
    double From = 0;
    double To = 0;
    double Volume = 0.5;
    double Attack = 0.005;
    double Release = 0;
};

struct SoundRecipe {
    std::vector<Tone> Tones;
};

// A recipe that cannot be read; the message names the file and line.
class RecipeError : public std::runtime_error {
public:
    using std::runtime_error::runtime_error;
};

// Reads recipe text; name is the file named in errors.
SoundRecipe ParseRecipe(const std::string& text, const std::string& name);
// Reads a recipe file; a missing file raises RecipeError naming it.
SoundRecipe LoadRecipe(const std::string& path);
