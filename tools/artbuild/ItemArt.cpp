#include "ItemArt.h"

#include "ArtError.h"
#include "ArtRules.h"
#include "LineArt.h"
#include "ObjectTable.h"
#include "Palette.h"
#include "SvgRasteriser.h"

#include <cstdio>

IndexedImage BlankedLineArt(const IndexedImage& drawn, std::uint8_t blank, bool objectExterior,
                            const std::string& name) {
    IndexedImage out = drawn;
    out.Name = name;
    for (auto& p : out.Pixels)
        if (p != ink::Outline && !(objectExterior && p == ink::BlankBackground)) p = blank;
    return out;
}

ItemArt::ItemArt(const std::string& artDir, const Palette& palette, const SvgRasteriser& rasteriser,
                 const SvgRasteriser& halfRasteriser)
    : ArtDir(artDir), Colours(palette), Rasteriser(rasteriser), HalfRasteriser(halfRasteriser) {}

std::string ItemArt::BackgroundSource(int index) const {
    return ArtDir + "/backgrounds/" + objects::BackgroundName(index, false) + ".svg";
}

std::string ItemArt::ObjectSource(int mapIndex) const {
    char name[32];
    std::snprintf(name, sizeof name, "/objects/obj%02d.svg", mapIndex);
    return ArtDir + name;
}

namespace {
// Runs one step and keeps its error, so that one build reports every broken drawing.
void Collect(std::string& errors, const std::function<void()>& step) {
    try {
        step();
    } catch (const ArtError& error) {
        errors += std::string(errors.empty() ? "" : "\n") + error.what();
    }
}
} // namespace

void ItemArt::Build() {
    std::string errors;
    for (int i = 0; i < objects::BackgroundCount; ++i)
        Collect(errors, [&] { BuildBackground(i); });
    for (int bank = 0; bank < 4; ++bank) {
        int w = 0, h = 0;
        for (const ObjectPlace& p : objects::Table())
            if (objects::BankOf(p.MapIndex) == bank) {
                w = std::max(w, p.Right);
                h = std::max(h, p.Bottom);
            }
        IndexedImage full(objects::FullSheet(bank), w, h, ink::BlankBackground);
        IndexedImage half(objects::HalfSheet(bank), (w + 1) / 2, (h + 1) / 2, ink::BlankBackground);
        for (const ObjectPlace& p : objects::Table())
            if (objects::BankOf(p.MapIndex) == bank)
                Collect(errors, [&] { BuildObject(p.MapIndex, full, half); });
        Collect(errors, [&] {
            rules::CheckObjectSheet(full, bank, false);
            rules::CheckObjectSheet(half, bank, true);
        });
        Library.push_back(std::move(full));
        Library.push_back(std::move(half));
    }
    if (!errors.empty()) throw ArtError(errors);
}

void ItemArt::BuildBackground(int index) {
    const std::string name = objects::BackgroundName(index, false);
    IndexedImage drawn = Colours.Map(
        Rasteriser.Render(BackgroundSource(index), objects::PictureWidth, objects::PictureHeight), name, -1);
    LineArt art(drawn, false);
    art.CheckRegions(rules::MinRegionPixels, false);
    art.PlaceSeeds([](int, int, int) { return true; });
    IndexedImage blank =
        BlankedLineArt(drawn, ink::BlankBackground, false, objects::BackgroundName(index, true));
    rules::CheckBackground(drawn);
    rules::CheckBackground(blank);
    rules::CheckSeeds(art, blank, ink::BlankBackground);
    rules::CheckNoChartValues(art, blank);
    rules::CheckNoChartValues(art, drawn);
    std::vector<SeedPoint> seeds;
    for (const Region& r : art.Regions())
        seeds.push_back({r.SeedX, r.SeedY, ink::BlankBackground});
    Regions.Set(index, std::move(seeds));
    Library.push_back(std::move(drawn));
    Library.push_back(std::move(blank));
}

IndexedImage ItemArt::RenderObject(int mapIndex, int width, int height, const std::string& name,
                                   bool half) const {
    return Colours.Map((half ? HalfRasteriser : Rasteriser).Render(ObjectSource(mapIndex), width, height),
                       name, ink::BlankBackground);
}

void ItemArt::BuildObject(int mapIndex, IndexedImage& fullSheet, IndexedImage& halfSheet) {
    const ObjectPlace& place = objects::Place(mapIndex);
    const std::string label = "object " + std::to_string(mapIndex);
    IndexedImage drawn =
        RenderObject(mapIndex, place.Width(), place.Height(), fullSheet.Name + " " + label, false);
    IndexedImage drawnHalf =
        RenderObject(mapIndex, place.HalfWidth(), place.HalfHeight(), halfSheet.Name + " " + label, true);
    LineArt full(drawn, true);
    full.CheckRegions(rules::MinRegionPixels, true);
    LineArt half(drawnHalf, true);
    half.CheckRegions(1, true);
    const std::vector<int> match = rules::MatchHalfRegions(full, half);
    full.PlaceSeeds([&](int x, int y, int r) {
        return half.RegionAt(x / 2, y / 2) == match[static_cast<std::size_t>(r)];
    });
    rules::CheckHalfSeeds(full, half, match);

    const IndexedImage blank = BlankedLineArt(drawn, ink::BlankObject, true, drawn.Name);
    const IndexedImage blankHalf = BlankedLineArt(drawnHalf, ink::BlankObject, true, drawnHalf.Name);
    rules::CheckSeeds(full, blank, ink::BlankObject);
    rules::CheckNoChartValues(full, blank);
    rules::CheckNoChartValues(half, blankHalf);
    fullSheet.Paste(blank, place.Left, place.Top);
    halfSheet.Paste(blankHalf, place.Left / 2, place.Top / 2);

    std::vector<SeedPoint> seeds;
    for (const Region& r : full.Regions())
        seeds.push_back({r.SeedX, r.SeedY, ink::BlankObject});
    Regions.Set(mapIndex, std::move(seeds));
}
