#include "Palette.h"

#include "ArtError.h"
#include "common/PaletteFile.h"

#include <QImage>

#include <cstdio>

namespace {
std::string Hex(QRgb c) {
    char text[8];
    std::snprintf(text, sizeof text, "#%02x%02x%02x", qRed(c), qGreen(c), qBlue(c));
    return text;
}
} // namespace

Palette Palette::FromText(const std::string& text, const std::string& origin) {
    PaletteColours colours;
    try {
        colours = ParsePaletteText(text, "palette " + origin);
    } catch (const std::runtime_error& error) {
        throw ArtError(error.what());
    }
    Palette palette;
    for (int i = 0; i < 256; ++i) {
        const PaletteColour& c = colours[static_cast<std::size_t>(i)];
        const QRgb colour = qRgb(c.R, c.G, c.B);
        const auto [found, fresh] = palette.Lookup.emplace(colour, i);
        if (!fresh)
            throw ArtError("palette " + origin + ": entries " + std::to_string(found->second) + " and " +
                           std::to_string(i) + " are both " + Hex(colour) +
                           " (drawn colours could not be told apart)");
        palette.Entries[static_cast<std::size_t>(i)] = colour;
    }
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
