#include "Palette.h"

#include "ArtError.h"

#include <QImage>

#include <fstream>
#include <sstream>

namespace {
std::string Hex(QRgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", qRed(c), qGreen(c), qBlue(c));
    return text;
}
} // namespace

Palette Palette::Load(const std::string& path) {
    std::ifstream in(path);
    if (!in) throw ArtError("palette " + path + ": cannot be read");
    std::stringstream text;
    text << in.rdbuf();
    return FromText(text.str(), path);
}

Palette Palette::FromText(const std::string& text, const std::string& origin) {
    Palette palette;
    std::istringstream lines(text);
    std::string line;
    int count = 0;
    int lineNumber = 0;
    while (std::getline(lines, line)) {
        ++lineNumber;
        const auto first = line.find_first_not_of(" \t\r");
        if (first == std::string::npos || line[first] == '#') continue;
        std::istringstream fields(line);
        int r = -1, g = -1, b = -1;
        std::string rest;
        if (!(fields >> r >> g >> b) || (fields >> rest) || r < 0 || g < 0 || b < 0 || r > 255 || g > 255 ||
            b > 255)
            throw ArtError("palette " + origin + " line " + std::to_string(lineNumber) +
                           ": expected \"R G B\"");
        if (count == 256) throw ArtError("palette " + origin + ": more than 256 entries");
        const QRgb colour = qRgb(r, g, b);
        if (palette.Lookup.count(colour))
            throw ArtError("palette " + origin + ": entries " + std::to_string(palette.Lookup[colour]) +
                           " and " + std::to_string(count) + " are both " + Hex(colour));
        palette.Lookup[colour] = count;
        palette.Entries[static_cast<std::size_t>(count++)] = colour;
    }
    if (count != 256)
        throw ArtError("palette " + origin + ": " + std::to_string(count) + " entries, 256 needed");
    return palette;
}

int Palette::IndexOf(QRgb colour) const {
    const auto found = Lookup.find(colour | 0xff000000u);
    return found == Lookup.end() ? -1 : found->second;
}

int Palette::Nearest(int r, int g, int b) const {
    int best = 0;
    long bestDistance = -1;
    for (int i = 0; i < 256; ++i) {
        const long dr = qRed(Entries[i]) - r, dg = qGreen(Entries[i]) - g, db = qBlue(Entries[i]) - b;
        const long distance = dr * dr + dg * dg + db * db;
        if (bestDistance < 0 || distance < bestDistance) {
            best = i;
            bestDistance = distance;
        }
    }
    return best;
}

IndexedImage Palette::Map(const QImage& rendered, const std::string& name, int transparentIndex) const {
    const QImage argb = rendered.convertToFormat(QImage::Format_ARGB32);
    IndexedImage out(name, argb.width(), argb.height());
    out.Transparent = transparentIndex;
    for (int y = 0; y < argb.height(); ++y) {
        const auto* line = reinterpret_cast<const QRgb*>(argb.constScanLine(y));
        for (int x = 0; x < argb.width(); ++x) {
            const QRgb c = line[x];
            const std::string where =
                "image " + name + " at (" + std::to_string(x) + "," + std::to_string(y) + ")";
            if (qAlpha(c) == 0) {
                if (transparentIndex < 0) throw ArtError(where + ": transparent pixel in an opaque image");
                out.Set(x, y, static_cast<std::uint8_t>(transparentIndex));
                continue;
            }
            if (qAlpha(c) != 255) throw ArtError(where + ": partly transparent pixel (anti-aliased edge?)");
            const int index = IndexOf(c);
            if (index < 0) throw ArtError(where + ": colour " + Hex(c) + " is not in the palette");
            out.Set(x, y, static_cast<std::uint8_t>(index));
        }
    }
    return out;
}
