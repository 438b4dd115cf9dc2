#include "ActivityTestSupport.h"

#include "activity/ObjectTable.h"
#include "activity/RandomColour.h"
#include "activity/RegionMap.h"
#include "activity/VorelDrawingChart.h"
#include "activity/VorelDrawingObject.h"
#include "foundation/LoadSave.h"
#include "image/HotImage.h"
#include "support/TestFiles.h"

#include <set>

namespace {

std::unique_ptr<TRegionEntry> EntryOf(uint8_t mapIndex) {
    return TRegionMap::Parse(SharedArt().MapBytes(), "map")->GetEntry(mapIndex);
}

// Object 8 (93 x 129) cut from its sheet at a position.
std::unique_ptr<TVorelDrawingObject> MakeObject(TPoint position, bool randomColours = false,
                                                std::unique_ptr<TRegionEntry> entry = nullptr) {
    auto sheet = THotImage::Create(ObjectSheetName(8, false));
    if (!entry) entry = EntryOf(8);
    return std::make_unique<TVorelDrawingObject>(sheet->ImageData(), randomColours, std::move(entry),
                                                 position, ObjectSourceRect(8));
}

class RandomSequence {
public:
    explicit RandomSequence(std::vector<uint8_t> values) : Values(std::move(values)) {
        SetRandomByteSource([this] { return Values.at(Next++ % Values.size()); });
    }
    ~RandomSequence() { SetRandomByteSource(nullptr); }
    size_t Draws() const { return Next; }

private:
    std::vector<uint8_t> Values;
    size_t Next = 0;
};

} // namespace

// --- Region map --------------------------------------------------------------

TEST(RegionMapTest, EntriesCarryTheirSeedsColoursAndMapIndex) {
    auto map =
        TRegionMap::Parse(WriteRegionMap({{{{5, -3}, 217}}, {{{1, 2}, 9}, {{300, 4}, 255}}}), "test map");
    auto first = map->GetEntry(0);
    auto second = map->GetEntry(1);
    EXPECT_EQ(first->MapIndex, 0);
    ASSERT_EQ(first->Regions.size(), 1u);
    EXPECT_EQ(first->Regions[0].Seed, (TPoint{5, -3}));
    EXPECT_EQ(second->MapIndex, 1);
    ASSERT_EQ(second->Regions.size(), 2u);
    EXPECT_EQ(second->Regions[1].Seed, (TPoint{300, 4}));
    EXPECT_EQ(second->Regions[1].Colour, 255);
    // Each copy is the item's own.
    second->Regions[0].Colour = 1;
    EXPECT_EQ(map->GetEntry(1)->Regions[0].Colour, 9);
}

TEST(RegionMapTest, ShortOrInconsistentFilesAreRefusedByName) {
    std::vector<uint8_t> good = SharedArt().MapBytes();
    std::vector<uint8_t> shortFile(good.begin(), good.begin() + 3389);
    EXPECT_EQ(KelMessage([&] { TRegionMap::Parse(shortFile, "/data/vorelmap.dat"); }),
              "The region map \"/data/vorelmap.dat\" is damaged: it holds 3389 bytes, 3390 are needed.");

    std::vector<uint8_t> farEntry = good;
    farEntry[4 * 7] = 0xF0; // entry 7 starts 240 x 5 bytes in: past the block
    farEntry[4 * 7 + 1] = 0x02;
    EXPECT_NE(KelMessage([&] { TRegionMap::Parse(farEntry, "m"); }).find("entry 7 lies outside the block"),
              std::string::npos);

    std::vector<uint8_t> longEntry = good;
    longEntry[RegionMapHeaderSize + 2] = 0xFF;
    longEntry[RegionMapHeaderSize + 3] = 0x7F; // entry 0 claims 32767 regions
    EXPECT_NE(KelMessage([&] { TRegionMap::Parse(longEntry, "m"); }).find("entry 0 has 32767 regions"),
              std::string::npos);

    std::vector<uint8_t> none = good;
    none[RegionMapHeaderSize + 2] = 0;
    EXPECT_NE(KelMessage([&] { TRegionMap::Parse(none, "m"); }).find("entry 0 has 0 regions"),
              std::string::npos);

    // The last entry may not run past the end of the block either.
    std::vector<uint8_t> tail = WriteRegionMap({{{{1, 1}, 1}}});
    tail[4 * 39] = 0x85; // position 645: header at byte 3225, one region would end at 3235
    tail[4 * 39 + 1] = 0x02;
    tail[RegionMapHeaderSize + 645 * 5 + 2] = 1;
    EXPECT_NE(KelMessage([&] { TRegionMap::Parse(tail, "m"); }).find("entry 39 reaches past the block"),
              std::string::npos);
}

TEST(RegionMapTest, WrittenMapsReadBackAndOnlyWhatFitsIsWritten) {
    std::vector<std::vector<TRegion>> entries;
    for (int32_t i = 0; i < 40; ++i)
        entries.push_back({{{i, -i}, static_cast<uint8_t>(i)}, {{-300, 32767}, 255}, {{7, i * 9}, 40}});
    auto map = TRegionMap::Parse(WriteRegionMap(entries), "round trip");
    for (uint8_t i = 0; i < 40; ++i) {
        auto entry = map->GetEntry(i);
        EXPECT_EQ(entry->MapIndex, i);
        ASSERT_EQ(entry->Regions.size(), entries[i].size());
        for (size_t r = 0; r < entry->Regions.size(); ++r) {
            EXPECT_EQ(entry->Regions[r].Seed, entries[i][r].Seed) << "entry " << int{i} << " region " << r;
            EXPECT_EQ(entry->Regions[r].Colour, entries[i][r].Colour);
        }
    }
    // 606 regions and the 40 header records fill the block exactly.
    entries[0].resize(606 - 39 * 3, TRegion{{1, 1}, 7});
    EXPECT_EQ(WriteRegionMap(entries).size(), RegionMapFileSize);
    entries[0].push_back({{1, 1}, 7});
    EXPECT_NE(KelMessage([&] { WriteRegionMap(entries); }).find("647 records do not fit in 3230 bytes"),
              std::string::npos);
    EXPECT_THROW(WriteRegionMap(std::vector<std::vector<TRegion>>(41, {{{1, 1}, 1}})), KelException);
}

TEST(RegionMapTest, MissingFileFailsToOpenAndBytesAfterTheBlockAreIgnored) {
    TempDir folder;
    EXPECT_THROW(TRegionMap::Load(folder.File("vorelmap.dat")), FileOpenError);
    std::vector<uint8_t> longer = SharedArt().MapBytes();
    longer.resize(5000, 0xEE);
    folder.Write("vorelmap.dat", longer);
    EXPECT_EQ(TRegionMap::Load(folder.File("vorelmap.dat"))->GetEntry(39)->Regions.size(), 3u);
    EXPECT_THROW(TRegionMap::Load(folder.File("vorelmap.dat"))->GetEntry(40), KelException);
}

// --- Random colours ----------------------------------------------------------

TEST(RandomColourTest, ReservedIndicesAreDrawnAgain) {
    RandomSequence sequence({40, 125, 217, 255, 3});
    EXPECT_EQ(RandomColour(), 3);
    EXPECT_EQ(sequence.Draws(), 5u);
}

TEST(RandomColourTest, TheGeneratorNeverGivesAReservedIndexAndReachesTheOthers) {
    SeedRandomColours(12345);
    std::set<int> seen;
    for (int i = 0; i < 20000; ++i)
        seen.insert(RandomColour());
    for (int reserved : {40, 125, 217, 255})
        EXPECT_EQ(seen.count(reserved), 0u) << reserved;
    EXPECT_EQ(seen.size(), 252u);
}

// --- Picture objects ---------------------------------------------------------

using DrawingObjectTest = ActivityTest;

TEST_F(DrawingObjectTest, CutsItsImageFromTheSheetAsATransparentItem) {
    auto object = MakeObject({7, 9});
    TZQ5ImageData& image = object->Surface();
    EXPECT_EQ(object->Bounds(), (TRect{7, 9, 100, 138}));
    EXPECT_EQ(image.TransparentOrNone(), 217);
    EXPECT_EQ(image.GetPixel({0, 0}), OutlineInk);
    EXPECT_EQ(image.GetPixel({5, 20}), BlankObjectColour);
    EXPECT_EQ(object->Entry().Regions[0].Colour, BlankObjectColour);
    EXPECT_EQ(object->ClassId, 15);
}

TEST_F(DrawingObjectTest, RandomColoursFillEveryRegionAndAreRecorded) {
    RandomSequence sequence({40, 30, 31, 32});
    auto object = MakeObject({0, 0}, true);
    const auto& regions = object->Entry().Regions;
    ASSERT_EQ(regions.size(), 3u);
    EXPECT_EQ(regions[0].Colour, 30);
    EXPECT_EQ(regions[1].Colour, 31);
    EXPECT_EQ(regions[2].Colour, 32);
    for (const TRegion& region : regions)
        EXPECT_EQ(object->Surface().GetPixel(region.Seed), region.Colour);
}

TEST_F(DrawingObjectTest, FillRegionRecordsColoursAndReportsPictureCoordinates) {
    auto object = MakeObject({100, 50});
    // Region 0 is the upper-left cell: x 1..22, y 1..63 of the 93 x 129 image.
    TRect changed = object->FillRegion({100 + 5, 50 + 5}, 77);
    EXPECT_EQ(changed, (TRect{101, 51, 123, 114}));
    EXPECT_EQ(object->Entry().Regions[0].Colour, 77);
    EXPECT_EQ(object->Entry().Regions[1].Colour, BlankObjectColour);
    // Filling with the colour it has, outside the image, or on a transparent
    // pixel changes nothing.
    EXPECT_TRUE(IsRectEmpty(object->FillRegion({105, 55}, 77)));
    EXPECT_TRUE(IsRectEmpty(object->FillRegion({99, 50}, 9)));
    object->Surface().FillRect({0, 0, 1, 1}, BlankBackgroundColour);
    EXPECT_TRUE(IsRectEmpty(object->FillRegion({100, 50}, 9)));
    EXPECT_EQ(object->Surface().GetPixel({1, 0}), OutlineInk);
}

TEST_F(DrawingObjectTest, MirroringMovesSeedsAndPixelsAndTwiceRestoresThem) {
    auto entry = EntryOf(8);
    entry->Regions[0].Seed = {0, 10};
    auto object = MakeObject({0, 0}, false, std::move(entry));
    object->FillRegion({5, 5}, 77); // the narrow upper-left cell
    object->SetMirrored(true);
    EXPECT_TRUE(object->Mirrored());
    EXPECT_EQ(object->Entry().Regions[0].Seed, (TPoint{92, 10}));
    EXPECT_EQ(object->Surface().GetPixel({92 - 5, 5}), 77);
    EXPECT_EQ(object->Surface().GetPixel({5, 5}), BlankObjectColour);
    object->SetMirrored(true); // no change when already so
    EXPECT_EQ(object->Entry().Regions[0].Seed, (TPoint{92, 10}));
    object->SetMirrored(false);
    EXPECT_EQ(object->Entry().Regions[0].Seed, (TPoint{0, 10}));
    EXPECT_EQ(object->Surface().GetPixel({5, 5}), 77);
}

TEST_F(DrawingObjectTest, SelectedItemsAreOutlinedAndTransparentPixelsLeftOut) {
    auto object = MakeObject({2, 3});
    auto target = THotImage::CreateBlank(120, 150);
    TZQ5ImageData& surface = target->ImageData();
    surface.FillRect(surface.BoundsRect(), 5);
    object->SetSelected(true);
    object->Draw(&surface, {10, 10});
    EXPECT_EQ(surface.GetPixel({12, 13}), SelectionColour);
    EXPECT_EQ(surface.GetPixel({12 + 92, 13 + 128}), SelectionColour);
    EXPECT_EQ(surface.GetPixel({12 + 23, 14}), OutlineInk);
    EXPECT_EQ(surface.GetPixel({13, 14}), BlankObjectColour);
    EXPECT_EQ(surface.GetPixel({11, 13}), 5);
    object->Draw(nullptr, {0, 0});
}

TEST_F(DrawingObjectTest, RecordIsClassIdPositionFlagsAndOneColourPerRegion) {
    auto object = MakeObject({-2, 300});
    object->FillRegion({-2 + 40, 300 + 20}, 0x21);
    MemoryStream out;
    object->SaveToStream(out);
    EXPECT_EQ(out.Data(), Hex("0F FE FF FF FF 2C 01 00 00 00 00 FF 21 FF"));

    auto copy = MakeObject({0, 0});
    MemoryStream in(out.Data());
    copy->LoadFromStream(in);
    EXPECT_EQ(copy->Position(), (TPoint{-2, 300}));
    EXPECT_EQ(copy->Entry().Regions[1].Colour, 0x21);
    EXPECT_EQ(copy->Surface().GetPixel(copy->Entry().Regions[1].Seed), 0x21);
    EXPECT_EQ(in.Remaining(), 0);
}

TEST_F(DrawingObjectTest, LoadingMirroredRecordMirrorsBeforeColouring) {
    auto object = MakeObject({0, 0});
    MemoryStream in(Hex("0F 00 00 00 00 00 00 00 00 01 01 11 12 13"));
    object->LoadFromStream(in);
    EXPECT_TRUE(object->Mirrored());
    EXPECT_TRUE(object->Half()); // only stored: the picture applies it
    EXPECT_EQ(object->Surface().GetPixel({92 - 5, 5}), 0x11);
    EXPECT_EQ(object->Surface().GetPixel({92 - 60, 5}), 0x12);
}

TEST_F(DrawingObjectTest, WrongClassIdIsADamagedSavedGame) {
    auto object = MakeObject({0, 0});
    MemoryStream in(Hex("0E 00 00 00 00 00 00 00 00 00 00 11 12 13"));
    EXPECT_EQ(KelMessage([&] { object->LoadFromStream(in); }), "Saved game is damaged.");
    EXPECT_EQ(in.Position(), 1);
    EXPECT_EQ(object->Position(), (TPoint{0, 0}));
    MemoryStream truncated(Hex("0F 00 00 00 00 00 00 00 00 00 00 11"));
    EXPECT_THROW(object->LoadFromStream(truncated), KelException);
}

TEST_F(DrawingObjectTest, SeedsOutsideTheImageAreNeverTouched) {
    auto entry = EntryOf(8);
    entry->Regions[0].Seed = {-4, 5000};
    entry->Regions[1].Seed = {93, 0};
    RandomSequence sequence({30});
    auto object = MakeObject({0, 0}, true, std::move(entry));
    MemoryStream in(Hex("0F 00 00 00 00 00 00 00 00 01 00 11 12 13"));
    object->LoadFromStream(in);
    EXPECT_EQ(object->Entry().Regions[2].Colour, 0x13);
    TRect none = object->FillRegion({50, 100}, 1);
    EXPECT_FALSE(IsRectEmpty(none));
}

TEST_F(DrawingObjectTest, BackgroundsStartBlankOrRandomAndRefuseIndicesAboveSeven) {
    auto blank = std::make_unique<TVorelBG>(2, EntryOf(2), true);
    EXPECT_EQ(blank->Position(), (TPoint{0, 0}));
    EXPECT_EQ(blank->Bounds(), (TRect{0, 0, 376, 225}));
    for (const TRegion& region : blank->Entry().Regions) {
        EXPECT_EQ(region.Colour, BlankBackgroundColour);
        EXPECT_EQ(blank->Surface().GetPixel(region.Seed), BlankBackgroundColour);
    }
    RandomSequence sequence({1, 2, 3});
    auto coloured = std::make_unique<TVorelBG>(2, EntryOf(2), false);
    EXPECT_EQ(coloured->Entry().Regions[2].Colour, 3);
    EXPECT_EQ(coloured->Surface().GetPixel(ActivityArt::BackgroundSeeds()[2]), 3);
    EXPECT_EQ(coloured->Surface().TransparentOrNone(), -1);

    try {
        TVorelBG bad(8, EntryOf(0), true);
        FAIL();
    } catch (const SHException& error) {
        EXPECT_STREQ(error.what(), "Vorel background range error");
    }
}

// --- Chart -------------------------------------------------------------------

using ChartTest = ActivityTest;

TEST_F(ChartTest, NamesTheItemUnderAPointAndNothingOnLines) {
    TVorelDrawingChart chart(PictureWidth, PictureHeight);
    auto background = std::make_unique<TVorelBG>(0, EntryOf(0), true);
    auto object = MakeObject({100, 50});
    chart.Add(*background);
    chart.Add(*object);
    EXPECT_EQ(chart.ItemAt({10, 10}), 0);
    EXPECT_EQ(chart.ItemAt({105, 55}), 1);
    EXPECT_EQ(chart.ItemAt({100, 50}), -1); // the object's outline
    EXPECT_EQ(chart.ItemAt({125, 10}), -1); // a line of the background
    EXPECT_EQ(chart.ItemAt({-1, 10}), -1);
    EXPECT_EQ(chart.ItemAt({376, 10}), -1);
    auto free = chart.FreeSlot();
    EXPECT_EQ(free.Slot, 2);
    EXPECT_EQ(free.Used, 2);
    chart.Reset();
    EXPECT_EQ(chart.ItemAt({10, 10}), -1);
}

TEST_F(ChartTest, AnItemPartlyOutsideIsFoundWhereItIsInside) {
    TVorelDrawingChart chart(PictureWidth, PictureHeight);
    auto background = std::make_unique<TVorelBG>(0, EntryOf(0), true);
    auto object = MakeObject({-10, 150}); // 93 x 129: reaches below and left of the picture
    chart.Add(*background);
    chart.Add(*object);
    EXPECT_EQ(chart.ItemAt({0, 160}), 1);         // upper-left cell, seen through the picture's edge
    EXPECT_EQ(chart.ItemAt({40, 160}), 1);        // upper-right cell
    EXPECT_EQ(chart.ItemAt({40, 224}), 1);        // lower cell, its seed outside the picture
    EXPECT_EQ(chart.ItemAt({-10 + 23, 160}), -1); // the dividing line
    EXPECT_EQ(chart.ItemAt({90, 160}), 0);
}

TEST_F(ChartTest, ALaterItemOwnsTheRegionsItCoversAndSurplusItemsAreNotFound) {
    TVorelDrawingChart chart(PictureWidth, PictureHeight);
    auto background = std::make_unique<TVorelBG>(0, EntryOf(0), true);
    chart.Add(*background);
    std::vector<std::unique_ptr<TVorelDrawingObject>> objects;
    for (int i = 0; i < 15; ++i) {
        objects.push_back(MakeObject({100, 50}));
        chart.Add(*objects.back());
    }
    EXPECT_EQ(chart.FreeSlot().Slot, TVorelDrawingChart::NoSlot);
    EXPECT_EQ(chart.ItemAt({105, 55}), 15);
    // A seventeenth item is painted with 255: nothing is found on it.
    objects.push_back(MakeObject({100, 50}));
    chart.Add(*objects.back());
    EXPECT_EQ(chart.ItemAt({105, 55}), -1);
    EXPECT_EQ(chart.ItemAt({10, 10}), 0);
}
