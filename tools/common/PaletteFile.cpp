#include "common/PaletteFile.h"

#include <fstream>
#include <sstream>
#include <stdexcept>

namespace {
bool ParseComponent(std::istringstream& in, uint8_t& value) {
    std::string word;
    if (!(in >> word) || word.empty() || word.size() > 3) return false;
    for (char c : word)
        if (c < '0' || c > '9') return false;
    int number = std::stoi(word);
    if (number > 255) return false;
    value = static_cast<uint8_t>(number);
    return true;
}

bool ParseColour(const std::string& line, PaletteColour& colour) {
    std::istringstream in(line);
    std::string rest;
    return ParseComponent(in, colour.R) && ParseComponent(in, colour.G) && ParseComponent(in, colour.B) &&
           !(in >> rest);
}
} // namespace

PaletteColours ParsePaletteText(const std::string& text, const std::string& source) {
    PaletteColours colours{};
    size_t count = 0;
    std::istringstream lines(text);
    std::string line;
    for (int number = 1; std::getline(lines, line); ++number) {
        line = line.substr(0, line.find('#'));
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        PaletteColour colour;
        if (!ParseColour(line, colour))
            throw std::runtime_error(source + ":" + std::to_string(number) +
                                     ": expected \"R G B\", three numbers from 0 to 255: " + line);
        if (count == colours.size())
            throw std::runtime_error(source + ":" + std::to_string(number) + ": more than 256 colours");
        colours[count++] = colour;
    }
    if (count != colours.size())
        throw std::runtime_error(source + ": " + std::to_string(count) + " colours, 256 needed");
    return colours;
}

PaletteColours ReadPaletteFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    if (!in) throw std::runtime_error(path + ": cannot open the palette file");
    std::ostringstream text;
    text << in.rdbuf();
    return ParsePaletteText(text.str(), path);
}

std::array<uint8_t, 1024> ToLibraryPalette(const PaletteColours& colours) {
    std::array<uint8_t, 1024> palette{};
    for (size_t i = 0; i < colours.size(); ++i) {
        palette[4 * i] = colours[i].B;
        palette[4 * i + 1] = colours[i].G;
        palette[4 * i + 2] = colours[i].R;
    }
    return palette;
}

PaletteColours FromLibraryPalette(const std::array<uint8_t, 1024>& palette) {
    PaletteColours colours{};
    for (size_t i = 0; i < colours.size(); ++i)
        colours[i] = {palette[4 * i + 2], palette[4 * i + 1], palette[4 * i]};
    return colours;
}
