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
    IndexedImage small = Colours.Map(Rasteriser.Render(svg, w, h), svg, fill);
    IndexedImage box(svg, boxWidth, boxHeight, static_cast<std::uint8_t>(fill));
    box.Paste(small, (boxWidth - w) / 2, (boxHeight - h) / 2);
    return box;
}

IndexedImage DerivedArt::Icons() const {
    const int normal = Colours.Nearest(236, 240, 250);
    const int selected = Colours.Nearest(255, 240, 150);
    IndexedImage sheet("qzvrlicn", 4 * IconSize, 16 * IconSize, ink::EmptyIconSlot);
    for (const ObjectPlace& p : objects::Table()) {
        const int v = p.MapIndex - objects::FirstMapIndex;
        for (int variant = 0; variant < 2; ++variant) {
            const int cell = v + 32 * variant;
            IndexedImage icon = Miniature(Items.ObjectSource(p.MapIndex), p.Width(), p.Height(), IconSize - 4,
                                          IconSize - 4, variant ? selected : normal);
            const int x = (cell % 4) * IconSize, y = (cell / 4) * IconSize;
            sheet.FillRect(x, y, IconSize, IconSize, static_cast<std::uint8_t>(variant ? selected : normal));
            sheet.Paste(icon, x + 2, y + 2);
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
                const int background = (bank - 1) * 2 + k / 2;
                const bool blank = k % 2 == 0;
                face = Miniature(Items.BackgroundSource(background), objects::PictureWidth,
                                 objects::PictureHeight, FaceWidth - 2, FaceHeight - 2, fills[down]);
                IndexedImage framed("face", FaceWidth, FaceHeight, static_cast<std::uint8_t>(fills[down]));
                const int h = static_cast<int>(
                    std::lround(objects::PictureHeight * (FaceWidth - 2.0) / objects::PictureWidth));
                const int top = (FaceHeight - h) / 2;
                framed.Paste(face.Crop("face", 0, top - 1, FaceWidth - 2, h), 1, top);
                if (blank)
                    for (int y = top; y < top + h; ++y)
                        for (int x = 1; x < FaceWidth - 1; ++x)
                            if (framed.At(x, y) != ink::Outline) framed.Set(x, y, ink::BlankBackground);
                Frame(framed, 0, top - 1, FaceWidth, h + 2, ink::Outline);
                face = framed;
            } else {
                const ObjectPlace& p = objects::Place(8 + (bank - 1) * 8 + (k - 4));
                face = Miniature(Items.ObjectSource(p.MapIndex), p.Width(), p.Height(), FaceWidth - 2,
                                 FaceHeight - 2, fills[down]);
                IndexedImage framed("face", FaceWidth, FaceHeight, static_cast<std::uint8_t>(fills[down]));
                framed.Paste(face, 1, 1);
                face = framed;
            }
            sheet.Paste(face, (k % 2) * FaceWidth + down * 2 * FaceWidth, (k / 2) * FaceHeight);
        }
    return sheet;
}
