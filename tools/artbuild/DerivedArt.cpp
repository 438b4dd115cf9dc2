#include "DerivedArt.h"

#include "ItemArt.h"
#include "LineArt.h"
#include "ObjectTable.h"
#include "Palette.h"
#include "SvgRasteriser.h"

#include <algorithm>
#include <cmath>

namespace {
constexpr int IconSize = 19;
constexpr int FaceWidth = 30;
constexpr int FaceHeight = 27;

void Frame(IndexedImage& image, int x, int y, int w, int h, std::uint8_t v) {
    image.FillRect(x, y, w, 1, v);
    image.FillRect(x, y + h - 1, w, 1, v);
    image.FillRect(x, y, 1, h, v);
    image.FillRect(x + w - 1, y, 1, h, v);
}
} // namespace

DerivedArt::DerivedArt(const ItemArt& items, const Palette& palette, const SvgRasteriser& rasteriser)
    : Items(items), Colours(palette), Rasteriser(rasteriser) {}

IndexedImage DerivedArt::Miniature(const std::string& svg, int width, int height, int boxWidth, int boxHeight,
                                   int fill) const {
    const double scale =
        std::min(static_cast<double>(boxWidth) / width, static_cast<double>(boxHeight) / height);
    const int w = std::max(1, static_cast<int>(std::lround(width * scale)));
    const int h = std::max(1, static_cast<int>(std::lround(height * scale)));
    // Drawn without outlines; the silhouette gets a clean one-pixel outline instead.
    IndexedImage small = Colours.Map(Rasteriser.Render(svg, w, h), svg, ink::BlankBackground);
    const IndexedImage drawn = small;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            if (drawn.At(x, y) == ink::BlankBackground) continue;
            bool edge = x == 0 || y == 0 || x == w - 1 || y == h - 1;
            for (const auto& [dx, dy] : {std::pair{1, 0}, {-1, 0}, {0, 1}, {0, -1}})
                edge = edge || drawn.At(x + dx, y + dy) == ink::BlankBackground;
            if (edge) small.Set(x, y, ink::Outline);
        }
    small.Replace(ink::BlankBackground, static_cast<std::uint8_t>(fill));
    IndexedImage box(svg, boxWidth, boxHeight, static_cast<std::uint8_t>(fill));
    box.Paste(small, (boxWidth - w) / 2, (boxHeight - h) / 2);
    return box;
}

IndexedImage DerivedArt::BackgroundFace(int background, bool blank, int fill) const {
    constexpr int w = FaceWidth - 2;
    const int h = static_cast<int>(
        std::lround(objects::PictureHeight * static_cast<double>(w) / objects::PictureWidth));
    const IndexedImage drawn =
        Colours.Map(Rasteriser.Render(Items.BackgroundSource(background), w, h), "face", -1);
    // Lines where two areas meet stand in for the outlines, which would break up at this size.
    IndexedImage lines = drawn;
    for (int y = 0; y < h; ++y)
        for (int x = 0; x < w; ++x) {
            const bool edge = (x + 1 < w && drawn.At(x + 1, y) != drawn.At(x, y)) ||
                              (y + 1 < h && drawn.At(x, y + 1) != drawn.At(x, y));
            lines.Set(x, y, edge ? ink::Outline : blank ? ink::BlankBackground : drawn.At(x, y));
        }
    IndexedImage face("face", FaceWidth, FaceHeight, static_cast<std::uint8_t>(fill));
    const int top = (FaceHeight - h) / 2;
    face.Paste(lines, 1, top);
    Frame(face, 0, top - 1, FaceWidth, h + 2, ink::Outline);
    return face;
}

IndexedImage DerivedArt::Icons() const {
    const int normal = Colours.Nearest(236, 240, 250);
    const int selected = Colours.Nearest(255, 240, 150);
    IndexedImage sheet("qzvrlicn", 4 * IconSize, 16 * IconSize, ink::EmptyIconSlot);
    for (const ObjectPlace& p : objects::Table()) {
        const int v = p.MapIndex - objects::FirstMapIndex;
        for (int variant = 0; variant < 2; ++variant) {
            const int cell = v + 32 * variant;
            const int fill = variant ? selected : normal;
            const int x = (cell % 4) * IconSize, y = (cell / 4) * IconSize;
            sheet.FillRect(x, y, IconSize, IconSize, static_cast<std::uint8_t>(fill));
            sheet.Paste(Miniature(Items.ObjectSource(p.MapIndex), p.Width(), p.Height(), IconSize - 4,
                                  IconSize - 4, fill),
                        x + 2, y + 2);
            Frame(sheet, x, y, IconSize, IconSize, variant ? ink::Selection : ink::Outline);
        }
    }
    return sheet;
}

IndexedImage DerivedArt::Faces(int bank) const {
    const int fills[2] = {Colours.Nearest(236, 240, 250), Colours.Nearest(255, 226, 120)};
    IndexedImage sheet("btnface" + std::to_string(bank), 4 * FaceWidth, 6 * FaceHeight, 0);
    for (int down = 0; down < 2; ++down)
        for (int k = 0; k < 12; ++k) {
            IndexedImage face;
            if (k < 4) {
                // Buttons 1 and 2 offer the bank's first background blank and coloured, 3 and 4 its second.
                face = BackgroundFace((bank - 1) * 2 + k / 2, k % 2 == 0, fills[down]);
            } else {
                const ObjectPlace& p = objects::Place(objects::FirstMapIndex + (bank - 1) * 8 + (k - 4));
                face = IndexedImage("face", FaceWidth, FaceHeight, static_cast<std::uint8_t>(fills[down]));
                face.Paste(Miniature(Items.ObjectSource(p.MapIndex), p.Width(), p.Height(), FaceWidth - 2,
                                     FaceHeight - 2, fills[down]),
                           1, 1);
            }
            sheet.Paste(face, (k % 2) * FaceWidth + down * 2 * FaceWidth, (k / 2) * FaceHeight);
        }
    return sheet;
}
