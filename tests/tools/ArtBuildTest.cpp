// Every rule of the artwork builder, each shown failing on a deliberately broken input, and the
// outputs it writes checked byte for byte.

#include "ArtError.h"
#include "ArtRules.h"
#include "LibraryRules.h"
#include "LineArt.h"
#include "Manifest.h"
#include "Palette.h"
#include "RegionBudget.h"
#include "RegionMap.h"
#include "SvgRasteriser.h"
#include "support/TestFiles.h"

#include <QImage>

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace {
// Pictures from text: '#' outline ink (40), 'x' blank background (217), '.' blank object (255),
// 'a'..'h' other colours (100..107), '3' chart value 3.
IndexedImage Picture(const std::string& name, const std::vector<std::string>& rows) {
    IndexedImage image(name, static_cast<int>(rows[0].size()), static_cast<int>(rows.size()));
    for (int y = 0; y < image.Height; ++y)
        for (int x = 0; x < image.Width; ++x) {
            const char c = rows[static_cast<std::size_t>(y)][static_cast<std::size_t>(x)];
            const int v = c == '#' ? 40 : c == 'x' ? 217 : c == '.' ? 255 : c == '3' ? 3 : 100 + (c - 'a');
            image.Set(x, y, static_cast<std::uint8_t>(v));
        }
    return image;
}

// Checks that the call raises ArtError and that the message holds every given part.
template <typename F> void ExpectBreach(F call, const std::vector<std::string>& parts) {
    try {
        call();
        ADD_FAILURE() << "no error raised";
    } catch (const ArtError& error) {
        for (const std::string& part : parts)
            EXPECT_NE(std::string(error.what()).find(part), std::string::npos)
                << error.what() << " lacks " << part;
    }
}

std::string GreyPalette() {
    std::string text = "# test palette\n";
    for (int i = 0; i < 256; ++i)
        text += std::to_string(i) + " " + std::to_string(i) + " " + std::to_string(255 - i) + "\n";
    return text;
}
} // namespace

TEST(ArtPalette, RefusesWrongCountsBadLinesAndTwins) {
    EXPECT_NO_THROW(Palette::FromText(GreyPalette(), "p"));
    ExpectBreach([] { Palette::FromText("1 2 3\n", "p"); }, {"palette p", "1"});
    ExpectBreach([] { Palette::FromText(GreyPalette() + "1 2 3\n", "p"); }, {"palette p"});
    std::string twins = GreyPalette();
    twins.replace(twins.find("\n5 5 250\n"), 9, "\n4 4 251\n");
    ExpectBreach([&] { Palette::FromText(twins, "p"); }, {"entries 4 and 5", "#0404fb"});
}

TEST(ArtPalette, MapsExactlyAndNamesStrayColours) {
    const Palette palette = Palette::FromText(GreyPalette(), "p");
    QImage rendered(2, 1, QImage::Format_ARGB32);
    rendered.setPixel(0, 0, qRgb(7, 7, 248));
    rendered.setPixel(1, 0, qRgba(0, 0, 0, 0));
    const IndexedImage mapped = palette.Map(rendered, "pic", 217);
    EXPECT_EQ(mapped.At(0, 0), 7);
    EXPECT_EQ(mapped.At(1, 0), 217);

    ExpectBreach([&] { palette.Map(rendered, "pic", -1); }, {"image pic", "(1,0)", "transparent"});
    rendered.setPixel(1, 0, qRgb(7, 8, 248));
    ExpectBreach([&] { palette.Map(rendered, "pic", -1); },
                 {"image pic", "(1,0)", "#0708f8", "not in the palette"});
    rendered.setPixel(1, 0, qRgba(7, 7, 248, 128));
    ExpectBreach([&] { palette.Map(rendered, "pic", -1); }, {"image pic", "partly transparent"});
}

TEST(ArtLineArt, FindsRegionsAndSeedsDeepInside) {
    const IndexedImage image =
        Picture("bg", {"##########", "#aaaaa#aa#", "#aaaaa#aa#", "#aaaaa#aa#", "#aaaaa####", "##########"});
    LineArt art(image, false);
    ASSERT_EQ(art.Regions().size(), 2u);
    art.PlaceSeeds([](int, int, int) { return true; });
    const Region& a = art.Regions()[0];
    EXPECT_EQ(a.Pixels, 20);
    EXPECT_EQ(art.RegionAt(a.SeedX, a.SeedY), 0);
    // The deepest pixels of the 5 x 4 area are its inner 3 x 2; the first in reading order wins.
    EXPECT_EQ(a.SeedX, 2);
    EXPECT_EQ(a.SeedY, 2);
    EXPECT_EQ(art.Depth(2, 2), 1);
    EXPECT_NO_THROW(rules::CheckSeeds(art, image, 100));
}

TEST(ArtLineArt, ALeakThroughADiagonalGapIsABreach) {
    // The outline between a and b only touches diagonally at (3,2)-(4,1): a 4-connected fill leaks.
    const IndexedImage image = Picture("vrlbg9", {"#######", "#aa#bb#", "#aab#b#", "#aa#bb#", "#######"});
    ExpectBreach([&] { LineArt(image, false); }, {"image vrlbg9", "leaks", "8-connected"});
}

TEST(ArtLineArt, SpecksAndOpenObjectOutlinesAreBreaches) {
    const IndexedImage speck = Picture("bg", {"######", "#aa#b#", "#aa###", "######"});
    ExpectBreach([&] { LineArt(speck, false).CheckRegions(2, false); }, {"image bg", "(4,1)", "speck"});

    const IndexedImage open = Picture("obj", {"x###", "x#..", "x###"});
    const LineArt art(open, true);
    EXPECT_NO_THROW(art.CheckRegions(1, false));
    ExpectBreach([&] { art.CheckRegions(1, true); }, {"image obj", "not closed"});
}

TEST(ArtLineArt, ChartValuesOnlyInsideRegions) {
    const IndexedImage drawn = Picture("obj", {"xxxxx", "x###x", "x#3#x", "x###x", "xxxxx"});
    const LineArt art(drawn, true);
    EXPECT_NO_THROW(rules::CheckNoChartValues(art, drawn));
    // A chart value on the outline or the surroundings of the shipped image would name an item.
    IndexedImage shipped = drawn;
    shipped.Set(1, 1, 3);
    ExpectBreach([&] { rules::CheckNoChartValues(art, shipped); }, {"image obj", "(1,1)", "index 3"});
    shipped = drawn;
    shipped.Set(0, 4, 0);
    ExpectBreach([&] { rules::CheckNoChartValues(art, shipped); }, {"image obj", "(0,4)", "index 0"});
}

TEST(ArtLineArt, SeedsMustLieInTheirRegionOnTheRecordedColour) {
    const IndexedImage image = Picture("bg", {"#####", "#aaa#", "#####"});
    LineArt art(image, false);
    art.PlaceSeeds([](int, int, int) { return true; });
    ExpectBreach([&] { rules::CheckSeeds(art, image, 255); }, {"image bg", "seed", "not inside"});
    ExpectBreach([&] { art.PlaceSeeds([](int, int, int) { return false; }); }, {"no pixel"});
}

TEST(ArtHalfSize, RegionsKeepTheirIdentity) {
    const IndexedImage full = Picture("full", {"xxxxxxxxxx", "x########x", "x#aa##bb#x", "x#aa##bb#x",
                                               "x#aa##bb#x", "x#aa##bb#x", "x########x", "xxxxxxxxxx"});
    const IndexedImage half = Picture("half", {"xxxxx", "#####", "#a#b#", "#####"});
    LineArt fullArt(full, true), halfArt(half, true);
    const std::vector<int> match = rules::MatchHalfRegions(fullArt, halfArt);
    EXPECT_EQ(match, (std::vector<int>{0, 1}));
    fullArt.PlaceSeeds([&](int x, int y, int r) { return halfArt.RegionAt(x / 2, y / 2) == match[r]; });
    EXPECT_NO_THROW(rules::CheckHalfSeeds(fullArt, halfArt, match));

    // Two regions landing in one half-size region.
    const IndexedImage merged = Picture("half", {"xxxxx", "#####", "#aaa#", "#####"});
    IndexedImage sameColour = full;
    sameColour.Replace(101, 100);
    ExpectBreach([&] { rules::MatchHalfRegions(LineArt(sameColour, true), LineArt(merged, true)); },
                 {"merge"});
    // A region that vanishes.
    const IndexedImage vanished = Picture("half", {"xxxxx", "#####", "#a###", "#####"});
    ExpectBreach([&] { rules::MatchHalfRegions(fullArt, LineArt(vanished, true)); }, {"vanishes"});
    // A pocket that belongs to no full-size region.
    const IndexedImage pocket = Picture("half", {"x###x", "#####", "#a#b#", "##a##"});
    ExpectBreach([&] { rules::MatchHalfRegions(fullArt, LineArt(pocket, true)); }, {"matches no full-size"});
    // A region whose colour changes.
    const IndexedImage recoloured = Picture("half", {"xxxxx", "#####", "#a#c#", "#####"});
    ExpectBreach([&] { rules::MatchHalfRegions(fullArt, LineArt(recoloured, true)); }, {"changes colour"});
    // A seed whose half lies on an outline.
    fullArt.Regions()[0].SeedX = 2;
    fullArt.Regions()[0].SeedY = 2; // halves to (1,1), an outline pixel
    ExpectBreach([&] { rules::CheckHalfSeeds(fullArt, halfArt, match); }, {"seed (2,2)", "outside"});
}

TEST(ArtSheets, ObjectSheetsBackgroundsAndThumbnailFrames) {
    IndexedImage sheet("vrlobjs1", 271, 425, 217);
    EXPECT_NO_THROW(rules::CheckObjectSheet(sheet, 0, false));
    sheet.Set(270, 424, 255); // outside every object of bank 1
    ExpectBreach([&] { rules::CheckObjectSheet(sheet, 0, false); }, {"vrlobjs1", "(270,424)", "217"});
    sheet.Set(270, 424, 217);
    sheet.Transparent = 217;
    ExpectBreach([&] { rules::CheckObjectSheet(sheet, 0, false); }, {"vrlobjs1", "transparent"});
    ExpectBreach([] { rules::CheckObjectSheet(IndexedImage("vrlobjs4", 100, 100, 217), 0, true); },
                 {"outside the sheet"});

    ExpectBreach([] { rules::CheckBackground(IndexedImage("vrlbg1", 376, 224)); }, {"vrlbg1", "376x225"});
    IndexedImage bg("vrlbg1m", 376, 225);
    bg.Transparent = 0;
    ExpectBreach([&] { rules::CheckBackground(bg); }, {"vrlbg1m", "transparent"});

    IndexedImage frame("picon_up", 129, 79, 7);
    frame.Transparent = 217;
    frame.FillRect(2, 2, 125, 75, 217);
    EXPECT_NO_THROW(rules::CheckThumbnailFrame(frame));
    frame.Set(126, 76, 7);
    ExpectBreach([&] { rules::CheckThumbnailFrame(frame); }, {"(126,76)", "transparent"});
    frame.Set(126, 76, 217);
    frame.Set(1, 1, 217);
    ExpectBreach([&] { rules::CheckThumbnailFrame(frame); }, {"(1,1)", "opaque"});
    frame.Transparent = -1;
    ExpectBreach([&] { rules::CheckThumbnailFrame(frame); }, {"must be transparent"});
    ExpectBreach([] { rules::CheckFrames(IndexedImage("eraser", 28, 83), 3); }, {"eraser", "3 frames"});
}

TEST(ArtRegionMap, WritesPositionsAndRecordsWithinTheBlock) {
    RegionMap map;
    ExpectBreach([&] { map.Bytes(); }, {"map index 0"});
    for (int i = 0; i < RegionMap::Entries; ++i)
        map.Set(i, {{i, -2, static_cast<std::uint8_t>(200 + i % 50)}});
    const std::vector<std::uint8_t> bytes = map.Bytes();
    ASSERT_EQ(bytes.size(), 3390u);
    // Entry 1 starts at record 2 (entry 0 is a header and one region).
    EXPECT_EQ(std::vector<std::uint8_t>(bytes.begin() + 4, bytes.begin() + 8),
              (std::vector<std::uint8_t>{2, 0, 0, 0}));
    // Its header: count 1 at bytes 2..3; its region: x 1, y -2, colour 201.
    const std::vector<std::uint8_t> entry1(bytes.begin() + 160 + 10, bytes.begin() + 160 + 20);
    EXPECT_EQ(entry1, (std::vector<std::uint8_t>{0, 0, 1, 0, 0, 1, 0, 0xfe, 0xff, 201}));
    EXPECT_EQ(map.RegionCount(), 40);

    // 606 regions fit in all; one more does not.
    map.Set(0, std::vector<SeedPoint>(606 - 39, {1, 1, 217}));
    EXPECT_NO_THROW(map.Bytes());
    map.Set(0, std::vector<SeedPoint>(607 - 39, {1, 1, 217}));
    ExpectBreach([&] { map.Bytes(); }, {"607 regions", "606"});
    ExpectBreach([&] { map.Set(40, {{0, 0, 0}}); }, {"map index 40"});
    ExpectBreach([&] { map.Set(3, {}); }, {"no region"});
}

TEST(ArtRegionMap, BudgetNamesEveryImageAndTheTotalAgainstTheLimit) {
    RegionMap map;
    for (int i = 0; i < RegionMap::Entries; ++i)
        map.Set(i, std::vector<SeedPoint>(i < 8 ? static_cast<std::size_t>(i + 1) : 2u, {1, 1, 217}));
    const std::string report = RegionBudgetReport(map.Bytes());
    for (const char* part : {"vrlbg1 1 ", "vrlbg8 8 ", "backgrounds:", "(36)", "vrlobjs1: 8:2 ",
                             "vrlobjs6:", " 39:2 (16)", "total 100 of 606, 506 to spare"})
        EXPECT_NE(report.find(part), std::string::npos) << report << " lacks " << part;

    std::vector<std::uint8_t> damaged = map.Bytes();
    damaged.resize(100);
    ExpectBreach([&] { RegionBudgetReport(damaged); }, {"region budget", "damaged"});
}

TEST(ArtManifest, ReadsEntriesAndRefusesBadLines) {
    const auto entries =
        ParseManifest("# c\nimage tile t.svg 64 64\nimage picon_up p.svg 129 79 transparent 217\n"
                      "cursor 2 c.svg 12 12\npicture about a.svg 61 61\n",
                      "m");
    ASSERT_EQ(entries.size(), 4u);
    EXPECT_EQ(entries[1].Transparent, 217);
    EXPECT_EQ(entries[2].HotX, 12);
    EXPECT_EQ(entries[3].What, ManifestEntry::Kind::Picture);
    ExpectBreach([] { ParseManifest("image toolongname t.svg 1 1\n", "m"); }, {"m line 1", "8 characters"});
    ExpectBreach([] { ParseManifest("cursor 6 c.svg 0 0\n", "m"); }, {"m line 1"});
    ExpectBreach([] { ParseManifest("image a t.svg 1 1 transparent 300\n", "m"); }, {"m line 1"});
    ExpectBreach([] { ParseManifest("image a t.svg 1\n", "m"); }, {"m line 1"});
}

namespace {
// A library with every named image at its size, laid out as the code expects.
std::vector<IndexedImage> CompleteLibrary() {
    std::vector<IndexedImage> library;
    const int colours[2][8] = {{16, 11, 241, 53, 12, 47, 15, 233}, {39, 242, 10, 84, 89, 14, 229, 101}};
    IndexedImage buttons("colbtns", 344, 156);
    for (int row = 0; row < 4; ++row)
        for (int m = 0; m < 8; ++m)
            buttons.FillRect(m * 43, row * 39, 43, 39, colours[row < 2 ? 1 : 0][m]);
    library.push_back(buttons);
    IndexedImage frame("picon_up", 129, 79, 7);
    frame.Transparent = 217;
    frame.FillRect(2, 2, 125, 75, 217);
    library.push_back(frame);
    frame.Name = "picon_dn";
    library.push_back(frame);
    for (const auto& [name, w, h] : std::vector<std::tuple<std::string, int, int>>{{"tile", 64, 64},
                                                                                   {"vimo", 10, 10},
                                                                                   {"vorelbtn", 42, 78},
                                                                                   {"ldsv_gfx", 264, 306},
                                                                                   {"qzvrlicn", 76, 304},
                                                                                   {"btnface1", 120, 162},
                                                                                   {"btnface2", 120, 162},
                                                                                   {"btnface3", 120, 162},
                                                                                   {"btnface4", 120, 162},
                                                                                   {"room", 512, 320},
                                                                                   {"strip", 28, 84},
                                                                                   {"two", 36, 72},
                                                                                   {"four", 38, 80}})
        library.emplace_back(name, w, h);
    for (int i = 0; i < 8; ++i) {
        library.emplace_back(objects::BackgroundName(i, false), 376, 225);
        library.emplace_back(objects::BackgroundName(i, true), 376, 225);
    }
    const int sizes[4][2] = {{271, 425}, {327, 507}, {298, 385}, {223, 458}};
    for (int bank = 0; bank < 4; ++bank) {
        library.emplace_back(objects::FullSheet(bank), sizes[bank][0], sizes[bank][1], 217);
        library.emplace_back(objects::HalfSheet(bank), (sizes[bank][0] + 1) / 2, (sizes[bank][1] + 1) / 2,
                             217);
    }
    return library;
}

std::string ColouringRoom(int n) {
    std::string s = "VORELROOM VOREL" + std::to_string(n) + " Picture\nPIC room\n";
    s += "FRAMESET ERASER strip 28 3 14 245\nFRAMESET FLOP strip 28 3 44 245\nFRAMESET HALF strip 28 3 74 "
         "245\n";
    s += "FRAMESET BRIGHT two 36 2 8 278 1\nFRAMESET SLIDE four 20 4 430 292\n";
    s += "CONTROLBOX VOREL 15 15 376 225 PICTURE BRUSH\nCONTROLBOX ICONS 108 252 285 19 ICONS ACTION\n";
    const int ys[12] = {19, 19, 62, 62, 112, 112, 155, 155, 198, 198, 241, 241};
    for (int k = 0; k < 12; ++k)
        s += "ROOMSCRIPTBOX " + std::to_string(k + 1) + " " + (k % 2 ? "451 " : "405 ") +
             std::to_string(ys[k]) + " 42 39 " + (k < 4 ? "BG" : "BTN") + " ACTION\n";
    for (int m = 0; m < 8; ++m)
        s += "ROOMSCRIPTBOX " + std::to_string(m + 1) + "C " + std::to_string(m * 43 + 50) +
             " 277 43 39 COLOR\n";
    for (const char* tool : {"ERASER", "FLOP", "HALF", "BRIGHT"})
        s += std::string("ROOMSCRIPTBOX ") + tool + " 0 0 5 5 " + tool + "\n";
    s += "ROOMSCRIPTBOX L 402 288 26 28 XPANEL1\nROOMSCRIPTBOX R 470 288 26 28 XPANEL2\n";
    return s;
}

std::string CompleteScript() {
    std::string s = "BEGIN TITLE\nTITLEROOM TITLE T\nPIC room\nFRAMESET VIMO strip 28 3 0 0\n"
                    "FRAMESET QUILO strip 28 3 0 0\nFRAMESET VOREL strip 28 3 0 0\n"
                    "ROOMSCRIPTBOX START 0 0 512 320 START\nDISKOPSROOM D Disk\n";
    for (const char* id : {"1", "2", "3", "4", "5", "6", "7", "8", "S", "X", "R", "C"})
        s += std::string("CONTROLBOX ") + id + " 0 0 1 1 DISK\n";
    for (int n = 1; n <= 4; ++n)
        s += ColouringRoom(n);
    return s;
}

std::string Replaced(std::string text, const std::string& from, const std::string& to) {
    text.replace(text.find(from), from.size(), to);
    return text;
}
} // namespace

TEST(ArtLibrary, EveryNamedImageWithItsSizeAndLayout) {
    std::vector<IndexedImage> library = CompleteLibrary();
    EXPECT_NO_THROW(rules::CheckLibrary(library));
    library[0].Set(21, 19, 16); // set 1, button 1 shows set 0's red
    ExpectBreach([&] { rules::CheckLibrary(library); }, {"colbtns", "button 1", "colour 39"});
    library = CompleteLibrary();
    library.erase(library.begin() + 3);
    ExpectBreach([&] { rules::CheckLibrary(library); }, {"image tile", "missing"});
    library = CompleteLibrary();
    library.push_back(library.back());
    ExpectBreach([&] { rules::CheckLibrary(library); }, {"two images"});
    library = CompleteLibrary();
    for (IndexedImage& image : library)
        if (image.Name == "vorelbtn") image.Height = 77;
    ExpectBreach([&] { rules::CheckLibrary(library); }, {"vorelbtn", "42x78"});
}

TEST(ArtLibrary, ScriptMatchesImagesAndControls) {
    const std::vector<IndexedImage> library = CompleteLibrary();
    EXPECT_NO_THROW(rules::CheckScript(library, CompleteScript()));
    // The complete script with one text replaced breaks the rule the parts name.
    const auto expectEditBreach = [&](const std::string& from, const std::string& to,
                                      const std::vector<std::string>& parts) {
        ExpectBreach([&] { rules::CheckScript(library, Replaced(CompleteScript(), from, to)); }, parts);
    };
    expectEditBreach("PIC room", "PIC nothere", {"nothere", "missing"});
    expectEditBreach("PIC room", "PIC tile", {"512x320"});
    expectEditBreach("two 36 2", "two 36 3", {"BRIGHT", "3 frames of 36"});
    expectEditBreach("VOREL 15 15 376 225", "VOREL 15 16 376 225", {"VOREL1", "box VOREL", "15 15 376 225"});
    expectEditBreach("3C 136 277", "3C 137 277", {"colour 3"});
    expectEditBreach("2 451 19 42 39 BG", "2 451 19 42 39 BTN", {"box 2", "script BG"});
    expectEditBreach("ICONS 108 252", "ICONS 107 252", {"box ICONS"});
    expectEditBreach("XPANEL2", "XPANEL3", {"XPANEL1 and XPANEL2"});
    expectEditBreach("START 0 0 512 320 START", "GO 0 0 1 1 X", {"TITLE", "START"});
    std::vector<IndexedImage> boxedLogo = library;
    for (IndexedImage& image : boxedLogo)
        if (image.Name == "vimo") image.Set(9, 9, 5);
    ExpectBreach([&] { rules::CheckScript(boxedLogo, CompleteScript()); },
                 {"image vimo", "(9,9)", "(185,15)"});
    expectEditBreach("CONTROLBOX S ", "CONTROLBOX M ", {"box S"});
    expectEditBreach("VORELROOM VOREL4", "ROOM VOREL4", {"3 colouring rooms"});
}

TEST(ArtRasteriser, CrispDrawingKeepsDrawnColoursAndAGapLeaks) {
    TempDir dir;
    dir.Write("crisp.css", std::string("* { shape-rendering: crispEdges; }\n"));
    // A circle outlined in ink on white, and the same with a gap cut into its outline.
    dir.Write(
        "closed.svg",
        std::string(
            "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='40'><rect width='40' height='40' "
            "fill='#ffffff'/><circle cx='20' cy='20' r='12' fill='#ff0000' stroke='#1c1830' "
            "stroke-width='2'/></svg>"));
    dir.Write(
        "open.svg",
        std::string(
            "<svg xmlns='http://www.w3.org/2000/svg' width='40' height='40'><rect width='40' height='40' "
            "fill='#ffffff'/><circle cx='20' cy='20' r='12' fill='#ff0000' stroke='#1c1830' "
            "stroke-width='2'/>"
            "<rect x='30' y='18' width='4' height='4' fill='#ff0000'/></svg>"));
    std::string paletteText;
    for (int i = 0; i < 256; ++i) {
        const int r = i == 40 ? 28 : i == 1 ? 255 : i == 255 ? 255 : i;
        const int g = i == 40 ? 24 : i == 255 ? 255 : i == 1 ? 0 : i;
        const int b = i == 40 ? 48 : i == 255 ? 255 : i == 1 ? 0 : 128;
        paletteText += std::to_string(r) + " " + std::to_string(g) + " " + std::to_string(b) + "\n";
    }
    const Palette palette = Palette::FromText(paletteText, "test");
    const SvgRasteriser rasteriser(dir.File("crisp.css"));
    const IndexedImage closed = palette.Map(rasteriser.Render(dir.File("closed.svg"), 40, 40), "closed", -1);
    const LineArt art(closed, false);
    EXPECT_EQ(art.Regions().size(), 2u); // outside and inside the circle
    const IndexedImage open = palette.Map(rasteriser.Render(dir.File("open.svg"), 40, 40), "open", -1);
    ExpectBreach([&] { LineArt(open, false); }, {"image open", "leaks"});
    ExpectBreach([&] { rasteriser.Render(dir.File("missing.svg"), 40, 40); }, {"missing.svg"});
}
