#include "SoundRecipe.h"

#include "common/CommandLines.h"

#include <charconv>
#include <fstream>
#include <map>
#include <sstream>

namespace {
constexpr double LongestTone = 5.0;
constexpr double HighestPitch = 20000.0;

class LineReader {
public:
    LineReader(const std::string& name, int line) : Where(name + ":" + std::to_string(line) + ": ") {}

    [[noreturn]] void Fail(const std::string& what) const { throw RecipeError(Where + what); }

    double Number(const std::string& word, const std::string& text, double low, double high) const {
        double value = 0;
        auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
        if (error != std::errc() || end != text.data() + text.size())
            Fail("\"" + word + "\" needs a number, not \"" + text + "\"");
        if (value < low || value > high)
            Fail("\"" + word + "\" " + text + " is outside " + Format(low) + ".." + Format(high));
        return value;
    }

    Wave Shape(const std::string& text) const {
        static const std::map<std::string, Wave> shapes{{"sine", Wave::Sine},
                                                        {"triangle", Wave::Triangle},
                                                        {"square", Wave::Square},
                                                        {"noise", Wave::Noise}};
        auto found = shapes.find(text);
        if (found == shapes.end()) Fail("unknown wave \"" + text + "\" (sine, triangle, square or noise)");
        return found->second;
    }

private:
    static std::string Format(double value) {
        std::ostringstream out;
        out << value;
        return out.str();
    }
    std::string Where;
};

Tone ParseTone(std::istringstream& words, const LineReader& reader) {
    Tone tone;
    bool haveLength = false;
    bool haveFrom = false;
    bool haveTo = false;
    bool haveRelease = false;
    std::string word;
    while (words >> word) {
        std::string value;
        if (!(words >> value)) reader.Fail("\"" + word + "\" has no value");
        if (word == "start") {
            tone.Start = reader.Number(word, value, 0, LongestTone);
        } else if (word == "length") {
            tone.Length = reader.Number(word, value, 0.001, LongestTone);
            haveLength = true;
        } else if (word == "wave") {
            tone.Shape = reader.Shape(value);
        } else if (word == "from") {
            tone.From = reader.Number(word, value, 1, HighestPitch);
            haveFrom = true;
        } else if (word == "to") {
            tone.To = reader.Number(word, value, 1, HighestPitch);
            haveTo = true;
        } else if (word == "volume") {
            tone.Volume = reader.Number(word, value, 0, 1);
        } else if (word == "attack") {
            tone.Attack = reader.Number(word, value, 0, LongestTone);
        } else if (word == "release") {
            tone.Release = reader.Number(word, value, 0, LongestTone);
            haveRelease = true;
        } else {
            reader.Fail("unknown word \"" + word + "\"");
        }
    }
    if (!haveLength) reader.Fail("the tone has no length");
    if (!haveFrom) reader.Fail("the tone has no \"from\" pitch");
    if (!haveTo) tone.To = tone.From;
    if (!haveRelease) tone.Release = tone.Length / 2;
    if (tone.Attack + tone.Release > tone.Length) reader.Fail("attack and release are longer than the tone");
    return tone;
}
} // namespace

SoundRecipe ParseRecipe(const std::string& text, const std::string& name) {
    SoundRecipe recipe;
    ForEachCommandLine(
        text, [&](std::istringstream& words, const std::string& command, const std::string&, int number) {
            LineReader reader(name, number);
            if (command != "tone") reader.Fail("a line starts with \"tone\", not \"" + command + "\"");
            recipe.Tones.push_back(ParseTone(words, reader));
        });
    if (recipe.Tones.empty()) throw RecipeError(name + ": the recipe has no tone");
    return recipe;
}

SoundRecipe LoadRecipe(const std::string& path) {
    std::ifstream file(path, std::ios::binary);
    if (!file) throw RecipeError(path + ": cannot open the recipe");
    std::ostringstream text;
    text << file.rdbuf();
    return ParseRecipe(text.str(), path);
}
