#include "ActivityTestSupport.h"

#include "activity/ObjectTable.h"
#include "activity/RandomColour.h"
#include "activity/VorelDrawing.h"
#include "activity/VorelDrawingChart.h"
#include "foundation/LoadSave.h"
#include "image/HotImage.h"
#include "support/TestFiles.h"

#include <algorithm>
#include <functional>
#include <optional>
#include <random>

namespace {

constexpr TPoint Origin{15, 15};
// Object 8 is 93 x 129; centred in the picture its top-left is (141, 48).
constexpr TPoint Centred8{141, 48};

class PictureTest : public ActivityTest {
protected:
    void SetUp() override {
        ActivityTest::SetUp();
        SeedRandomColours(7);
        Screen = THotImage::CreateBlank(512, 320);
        Surface().FillRect(Surface().BoundsRect(), 3);
        Surface().ClearDamage();
        Picture = std::make_unique<TVorelDrawing>();
        Picture->Attach(&Surface(), Origin);
        Picture->SetBackground(0, true);
    }
    void TearDown() override {
        Picture.reset();
        Screen.reset();
        ActivityTest::TearDown();
    }

    TZQ5ImageData& Surface() { return Screen->ImageData(); }
    uint8_t At(TPoint picturePoint) { return Surface().GetPixel(PtAdd(picturePoint, Origin)); }

    std::unique_ptr<THotImage> Screen;
    std::unique_ptr<TVorelDrawing> Picture;
};

std::vector<uint8_t> Saved(const TVorelDrawing& picture) {
    MemoryStream out;
    picture.SaveToStream(out);
    return out.Data();
}

} // namespace

TEST_F(PictureTest, NewObjectsCascadeFromTheCentreUntilAFillMoveOrDeletion) {
    for (int i = 0; i < 3; ++i)
        ASSERT_TRUE(Picture->AddObject(8, false));
    EXPECT_EQ(Picture->Object(1)->Position(), Centred8);
    EXPECT_EQ(Picture->Object(2)->Position(), PtAdd(Centred8, {5, 3}));
    EXPECT_EQ(Picture->Object(3)->Position(), PtAdd(Centred8, {10, 6}));
    EXPECT_EQ(Picture->NextPlacement(), (TPoint{15, 9}));
    Picture->FillAt({5, 5}, 30);
    EXPECT_EQ(Picture->NextPlacement(), (TPoint{0, 0}));
    Picture->AddObject(9, false);
    EXPECT_EQ(Picture->Object(4)->Position(), (TPoint{(376 - 93) / 2, (225 - 131) / 2}));
    EXPECT_EQ(Picture->Object(4)->MapIndex(), 9);
    EXPECT_FALSE(Picture->AddObject(7, false));
    EXPECT_FALSE(Picture->AddObject(40, false));
    EXPECT_EQ(Picture->ObjectCount(), 4);
}

TEST_F(PictureTest, AFillOnALineChangesNothingAndKeepsThePlacement) {
    Picture->AddObject(8, false);
    Surface().ClearDamage();
    Picture->FillAt(Centred8, 30);  // the object's outline
    Picture->FillAt({125, 10}, 30); // a line of the background
    EXPECT_EQ(At(Centred8), OutlineInk);
    EXPECT_FALSE(Surface().IsDirty());
    EXPECT_EQ(Picture->NextPlacement(), (TPoint{5, 3}));
}

TEST_F(PictureTest, AFillColoursTheRegionOnTheTargetAndInTheRecord) {
    Picture->AddObject(8, false);
    Surface().ClearDamage();
    TPoint inside = PtAdd(Centred8, {50, 100}); // the lower region
    Picture->FillAt(inside, 30);
    EXPECT_EQ(At(inside), 30);
    EXPECT_EQ(Picture->Object(1)->Entry().Regions[2].Colour, 30);
    EXPECT_EQ(At({5, 5}), BlankBackgroundColour);
    ASSERT_TRUE(Surface().IsDirty());
    // Only the filled part was drawn again.
    for (TDamageNode* node : Surface().DamageList())
        EXPECT_EQ(IntersectRect(node->Rect, RectAddPt(Picture->Object(1)->Bounds(), Origin)), node->Rect);
    Picture->FillAt({5, 5}, 31);
    EXPECT_EQ(At({5, 5}), 31);
    EXPECT_EQ(Picture->Background()->Entry().Regions[0].Colour, 31);
}

TEST_F(PictureTest, MovesKeepSixteenDrawnPixelsInsideAndRedrawWhatWasUncovered) {
    EXPECT_EQ(ClampObjectPlacement({-500, 0}, {0, 0, 376, 100}), (TPoint{16 - 376, 0}));
    EXPECT_EQ(ClampObjectPlacement({500, 500}, {0, 0, 20, 20}), (TPoint{376 - 16, 225 - 16}));
    EXPECT_EQ(ClampObjectPlacement({-5, -5}, {0, 0, 20, 20}), (TPoint{-4, -4}));
    // Smaller than 16: all of it stays inside.
    EXPECT_EQ(ClampObjectPlacement({-5, 400}, {0, 0, 8, 12}), (TPoint{0, 225 - 12}));
    // Transparent margins do not count: the drawn box keeps 16 pixels inside.
    EXPECT_EQ(ClampObjectPlacement({-500, -500}, {30, 40, 60, 90}), (TPoint{16 - 60, 16 - 90}));
    EXPECT_EQ(ClampObjectPlacement({500, 500}, {30, 40, 60, 90}), (TPoint{376 - 16 - 30, 225 - 16 - 40}));
    Picture->AddObject(8, false);
    Picture->MoveObject(1, {-500, 1000}, true);
    EXPECT_EQ(Picture->Object(1)->Position(), (TPoint{16 - 93, 225 - 16}));
    EXPECT_EQ(At(PtAdd(Centred8, {5, 5})), BlankBackgroundColour);
    EXPECT_EQ(At({0, 225 - 16}), OutlineInk);
    EXPECT_EQ(At({15, 224}), OutlineInk) << "the object's right edge is the last of its 16 columns";
    // Nothing of the object spills over the picture's edges on the target.
    EXPECT_EQ(Surface().GetPixel({14, 240}), 3);
    EXPECT_EQ(Picture->Chart().ItemAt({5, 220}), 1);
    EXPECT_EQ(Picture->NextPlacement(), (TPoint{0, 0}));
}

TEST_F(PictureTest, AnObjectWithTransparentMarginsCannotHideBehindThem) {
    // A 100 x 100 cut whose only drawn pixels are a 20 x 20 square at (70, 70).
    auto sheet = THotImage::CreateBlank(100, 100);
    sheet->ImageData().FillRect(sheet->ImageData().BoundsRect(), BlankBackgroundColour);
    sheet->ImageData().FillRect({70, 70, 90, 90}, OutlineInk);
    TVorelDrawingObject object(sheet->ImageData(), false, Picture->GetEntry(8), {0, 0}, {0, 0, 100, 100});
    EXPECT_EQ(object.DrawnBox(), (TRect{70, 70, 90, 90}));
    EXPECT_EQ(ReachBox(object), (TRect{70, 70, 90, 90}));
    TPoint far = ClampObjectPlacement({1000, 1000}, ReachBox(object));
    // The square's 16 first columns and lines are still in the picture.
    EXPECT_EQ(far, (TPoint{376 - 16 - 70, 225 - 16 - 70}));
    object.SetMirrored(true);
    EXPECT_EQ(object.DrawnBox(), (TRect{10, 70, 30, 90}));
    TPoint left = ClampObjectPlacement({-1000, 0}, ReachBox(object));
    EXPECT_EQ(left.X, 16 - 30);
}

TEST_F(PictureTest, AShapeWithEmptyCornersStillShowsSixteenBySixteenOfItsDrawing) {
    // Two 20 x 20 squares in opposite corners of a 100 x 100 cut: the box's
    // other two corners hold nothing.
    auto sheet = THotImage::CreateBlank(100, 100);
    sheet->ImageData().FillRect(sheet->ImageData().BoundsRect(), BlankBackgroundColour);
    sheet->ImageData().FillRect({0, 0, 20, 20}, OutlineInk);
    sheet->ImageData().FillRect({80, 80, 100, 100}, OutlineInk);
    TVorelDrawingObject object(sheet->ImageData(), false, Picture->GetEntry(8), {100, 60}, {0, 0, 100, 100});
    EXPECT_EQ(object.DrawnPixelCount(), 800);
    EXPECT_EQ(object.DrawnPixelsIn({10, 10, 90, 90}), 200);
    const TRect picture{0, 0, 376, 225};

    TPoint boxOnly = ClampObjectPlacement({1000, -1000}, ReachBox(object));
    EXPECT_EQ(object.DrawnPixelsIn(RectSubPt(picture, boxOnly)), 0) << "the box rule alone loses the drawing";
    TPoint kept = KeepInSight(object, {100, 60}, boxOnly);
    int32_t shown = object.DrawnPixelsIn(RectSubPt(picture, kept));
    EXPECT_GE(shown, 16 * 16) << kept.X << "," << kept.Y;
    EXPECT_LT(shown, 16 * 16 + 2 * 20) << "it stops at the last place that shows enough, not earlier";
    // Where enough shows, the wanted place stands.
    EXPECT_EQ(KeepInSight(object, {100, 60}, {150, 80}), (TPoint{150, 80}));
    TPoint corner = ClampObjectPlacement({-1000, -1000}, ReachBox(object));
    EXPECT_EQ(KeepInSight(object, {100, 60}, corner), corner);
}

TEST_F(PictureTest, HalvingShrinksAboutTheCentreAndKeepsColours) {
    Picture->AddObject(8, false);
    Picture->MoveObject(1, {100, 50}, true);
    Picture->FillAt({100 + 50, 50 + 100}, 30);
    Picture->ToggleHalf(1, false);
    TVorelDrawingObject* object = Picture->Object(1);
    EXPECT_TRUE(Picture->IsHalf(1));
    EXPECT_EQ(object->Bounds(), (TRect{123, 82, 123 + 46, 82 + 65}));
    EXPECT_EQ(object->Entry().Regions[2].Seed, (TPoint{46 / 2, 96 / 2}));
    EXPECT_EQ(At(PtAdd({123, 82}, object->Entry().Regions[2].Seed)), 30);
    EXPECT_EQ(At({100 + 5, 50 + 5}), BlankBackgroundColour); // the old area is redrawn
    EXPECT_EQ(Picture->Chart().ItemAt({123 + 23, 82 + 48}), 1);
    Picture->ToggleHalf(1, false);
    EXPECT_FALSE(Picture->IsHalf(1));
    EXPECT_EQ(Picture->Object(1)->Bounds(), (TRect{100, 50, 193, 179}));
    EXPECT_EQ(At({100 + 50, 50 + 100}), 30);
}

TEST_F(PictureTest, HalvingAMirroredObjectMirrorsTheHalfImage) {
    Picture->AddObject(8, false);
    Picture->FillAt(PtAdd(Centred8, {5, 5}), 30); // the narrow upper-left cell
    Picture->ToggleMirror(1);
    EXPECT_TRUE(Picture->IsMirrored(1));
    EXPECT_EQ(At(PtAdd(Centred8, {92 - 5, 5})), 30);
    Picture->ToggleHalf(1, false);
    TVorelDrawingObject* object = Picture->Object(1);
    EXPECT_TRUE(object->Mirrored());
    EXPECT_EQ(object->Entry().Regions[0].Seed, (TPoint{46 - 93 / 8 / 2 - 1, 129 / 4 / 2}));
    EXPECT_EQ(At(PtAdd(object->Position(), {44, 3})), 30);
}

TEST_F(PictureTest, RemoveColouringBlanksTheBackgroundTo217AndObjectsTo255) {
    Picture->SetBackground(1, false);
    Picture->AddObject(12, true);
    Picture->RemoveColouring(0);
    for (const TRegion& region : Picture->Background()->Entry().Regions) {
        EXPECT_EQ(region.Colour, BlankBackgroundColour);
        EXPECT_EQ(Picture->Background()->Surface().GetPixel(region.Seed), BlankBackgroundColour);
    }
    EXPECT_EQ(At({5, 5}), BlankBackgroundColour);
    TVorelDrawingObject* object = Picture->Object(1);
    for (const TRegion& region : object->Entry().Regions)
        EXPECT_NE(region.Colour, BlankObjectColour);
    Picture->RemoveColouring(1);
    for (const TRegion& region : object->Entry().Regions) {
        EXPECT_EQ(region.Colour, BlankObjectColour);
        EXPECT_EQ(At(PtAdd(object->Position(), region.Seed)), BlankObjectColour);
    }
    Picture->RemoveColouring(2);
    Picture->RemoveColouring(-1);
}

TEST_F(PictureTest, BlankPictureRecordIsSeventeenBytes) {
    EXPECT_EQ(Saved(*Picture), Hex("00 01 0F 00 00 00 00 00 00 00 00 00 00 D9 D9 D9 00"));
}

// What a picture keeps for going back (the background it replaced, the
// canvas showing an earlier picture) belongs to the picture a load replaces:
// after a load, a picture that went through other backgrounds holds no more
// images than one that did not.
TEST_F(PictureTest, ALoadKeepsNothingOfThePictureItReplaces) {
    Picture.reset();
    auto imagesHeldAfterLoading = [this](bool throughOtherBackgrounds) {
        auto drawing = std::make_unique<TVorelDrawing>();
        drawing->Attach(&Surface(), Origin);
        drawing->SetBackground(3, false);
        drawing->AddObject(8, true);
        const std::vector<uint8_t> bytes = Saved(*drawing);
        if (throughOtherBackgrounds) {
            drawing->SetBackground(5, false);
            drawing->SetBackground(2, true);
        }
        MemoryStream in(bytes);
        drawing->LoadFromStream(in);
        const size_t with = SharedArt().Lib().Images().Count();
        drawing.reset();
        return with - SharedArt().Lib().Images().Count();
    };
    EXPECT_EQ(imagesHeldAfterLoading(true), imagesHeldAfterLoading(false));
}

TEST_F(PictureTest, SavingAndReloadingKeepsColoursFlagsAndStacking) {
    Picture->SetBackground(3, false);
    Picture->AddObject(8, true);
    Picture->AddObject(20, false);
    Picture->AddObject(33, false);
    Picture->FillAt(PtAdd(Picture->Object(2)->Position(), {80, 10}), 99);
    Picture->ToggleMirror(1);
    Picture->ToggleHalf(2, false);
    Picture->MoveObject(3, {-20, 200}, true);
    Picture->BringToFront(1);
    Picture->SetSelected(2, true);
    std::vector<uint8_t> bytes = Saved(*Picture);

    TVorelDrawing copy;
    MemoryStream in(bytes);
    copy.LoadFromStream(in);
    EXPECT_EQ(in.Remaining(), 0);
    EXPECT_EQ(copy.Target(), nullptr);
    ASSERT_EQ(copy.ObjectCount(), 3);
    EXPECT_EQ(copy.Background()->MapIndex(), 3);
    EXPECT_FALSE(copy.BackgroundBlank());
    for (int n = 1; n <= 3; ++n) {
        TVorelDrawingObject* a = Picture->Object(n);
        TVorelDrawingObject* b = copy.Object(n);
        EXPECT_EQ(b->MapIndex(), a->MapIndex()) << n;
        EXPECT_EQ(b->Bounds(), a->Bounds()) << n;
        EXPECT_EQ(b->Mirrored(), a->Mirrored()) << n;
        EXPECT_EQ(b->Half(), a->Half()) << n;
        EXPECT_FALSE(b->Selected());
        for (size_t r = 0; r < a->Entry().Regions.size(); ++r) {
            EXPECT_EQ(b->Entry().Regions[r].Colour, a->Entry().Regions[r].Colour) << n << "/" << r;
            EXPECT_EQ(b->Entry().Regions[r].Seed, a->Entry().Regions[r].Seed) << n << "/" << r;
        }
    }
    EXPECT_EQ(copy.Object(3)->MapIndex(), 8);
    EXPECT_TRUE(copy.IsMirrored(3));
    EXPECT_TRUE(copy.IsHalf(1));
    for (const TRegion& region : copy.Background()->Entry().Regions)
        EXPECT_EQ(copy.Background()->Surface().GetPixel(region.Seed), region.Colour);
    // Loading added the objects through the cascade.
    EXPECT_EQ(copy.NextPlacement(), (TPoint{15, 9}));
    EXPECT_EQ(Saved(copy), bytes);
    // The chart was rebuilt: the item under a point is the same in both.
    for (TPoint p : {TPoint{150, 100}, TPoint{5, 210}, TPoint{200, 60}, TPoint{300, 200}})
        EXPECT_EQ(copy.Chart().ItemAt(p), Picture->Chart().ItemAt(p));
}

TEST_F(PictureTest, DamagedPictureRecordsAreRefused) {
    EXPECT_EQ(KelMessage([&] {
                  MemoryStream in(Hex("00 01 0F 00 00 00 00 00 00 00 00 00 00 D9 D9 D9 10"));
                  Picture->LoadFromStream(in);
              }),
              "Saved game is damaged.");
    EXPECT_EQ(KelMessage([&] {
                  MemoryStream in(Hex("00 01 0F 00 00 00 00 00 00 00 00 00 00 D9 D9 D9 01 05"));
                  Picture->LoadFromStream(in);
              }),
              "Saved game is damaged.");
    EXPECT_EQ(KelMessage([&] {
                  MemoryStream in(Hex("09 01"));
                  Picture->LoadFromStream(in);
              }),
              "Vorel background range error");
    // The failed background change left the picture its background.
    ASSERT_NE(Picture->Background(), nullptr);
    EXPECT_EQ(Picture->Background()->MapIndex(), 0);
    EXPECT_THROW(
        {
            MemoryStream in(Hex("00 01 0F 00 00 00 00 00 00 00 00 00 00 D9 D9"));
            Picture->LoadFromStream(in);
        },
        KelException);
}

TEST_F(PictureTest, RandomlyDamagedRecordsFailCleanly) {
    Picture->SetBackground(5, false);
    Picture->AddObject(8, true);
    Picture->AddObject(39, true);
    Picture->ToggleMirror(2);
    Picture->ToggleHalf(1, false);
    const std::vector<uint8_t> good = Saved(*Picture);
    std::mt19937 random(99);
    for (int round = 0; round < 300; ++round) {
        std::vector<uint8_t> bytes = good;
        for (int flips = 1 + round % 3; flips > 0; --flips)
            bytes[random() % bytes.size()] = static_cast<uint8_t>(random());
        if (round % 5 == 0) bytes.resize(random() % bytes.size());
        TVorelDrawing copy;
        MemoryStream in(bytes);
        try {
            copy.LoadFromStream(in);
        } catch (const KelException&) {
            continue;
        }
        EXPECT_LE(copy.ObjectCount(), TVorelDrawing::MaxObjects);
        copy.Attach(&Surface(), Origin);
        copy.DrawAll();
    }
    MemoryStream far(Hex("00 01 0F 00 00 00 80 00 00 00 00 00 00 D9 D9 D9 00"));
    EXPECT_EQ(KelMessage([&] { Picture->LoadFromStream(far); }), "Saved game is damaged.");
}

TEST_F(PictureTest, NewObjectsStayInReachHoweverFarTheCascadeRan) {
    for (int round = 0; round < 6; ++round) {
        for (int i = 0; i < 15; ++i)
            Picture->AddObject(15, false); // 168 x 206
        Picture->Clear();
    }
    Picture->AddObject(15, false);
    EXPECT_EQ(Picture->Object(1)->Position(), (TPoint{376 - 16, 225 - 16}));
}

TEST_F(PictureTest, StackingOperationsKeepTheChartInStep) {
    Picture->AddObject(8, false);
    Picture->AddObject(8, false);
    TPoint overlap = PtAdd(Centred8, {50, 100});
    EXPECT_EQ(Picture->Chart().ItemAt(overlap), 2);
    TVorelDrawingObject* first = Picture->Object(1);
    Picture->BringToFront(1);
    EXPECT_EQ(Picture->Object(2), first);
    EXPECT_EQ(Picture->Chart().ItemAt(overlap), 2);
    EXPECT_EQ(Picture->Chart().ItemAt(PtAdd(Centred8, {55, 130})), 1);
    Picture->DeleteObject(2);
    EXPECT_EQ(Picture->ObjectCount(), 1);
    EXPECT_EQ(Picture->NextPlacement(), (TPoint{0, 0}));
    EXPECT_EQ(At(PtAdd(Centred8, {1, 1})), BlankBackgroundColour);
    EXPECT_EQ(Picture->Chart().ItemAt(PtAdd(Centred8, {1, 1})), 0);
    Picture->Clear();
    EXPECT_EQ(Picture->ObjectCount(), 0);
    EXPECT_EQ(Picture->Chart().ItemAt(overlap), 0);
}

TEST_F(PictureTest, NumbersOutsideTheObjectsDoNothing) {
    Picture->AddObject(8, false);
    std::vector<uint8_t> before = Saved(*Picture);
    for (int n : {0, 2, 255}) {
        Picture->MoveObject(n, {0, 0}, true);
        Picture->ToggleMirror(n);
        Picture->ToggleHalf(n, false);
        Picture->BringToFront(n);
        Picture->DeleteObject(n);
        Picture->SetSelected(n, true);
        EXPECT_FALSE(Picture->IsMirrored(n));
        EXPECT_FALSE(Picture->IsHalf(n));
        EXPECT_FALSE(Picture->ObjectMapIndex(n).has_value());
        EXPECT_FALSE(Picture->HitSelected({150, 100}, n).has_value());
    }
    EXPECT_EQ(Saved(*Picture), before);
    EXPECT_EQ(Picture->ObjectMapIndex(1), 8);
    EXPECT_EQ(Picture->HitSelected(PtAdd(Centred8, {3, 4}), 1), (TPoint{3, 4}));
}

TEST_F(PictureTest, SelectionOutlinesTheObjectAndClearingItRedraws) {
    Picture->AddObject(8, false);
    Picture->SetSelected(1, true);
    EXPECT_EQ(At(PtAdd(Centred8, {1, 0})), SelectionColour);
    Picture->SetSelected(1, false);
    EXPECT_EQ(At(PtAdd(Centred8, {1, 0})), OutlineInk);
}

TEST_F(PictureTest, RedrawTouchesOnlyItsRectangle) {
    Picture->AddObject(8, false);
    Surface().FillRect(Surface().BoundsRect(), 4);
    Surface().ClearDamage();
    Picture->Redraw({10, 20, 30, 40});
    EXPECT_EQ(At({10, 20}), BlankBackgroundColour);
    EXPECT_EQ(At({29, 39}), BlankBackgroundColour);
    EXPECT_EQ(At({30, 39}), 4);
    EXPECT_EQ(At({9, 20}), 4);
    EXPECT_EQ(Surface().ClipRect, Surface().BoundsRect());
    Picture->Redraw({30, 40, 10, 20}); // an inverted rectangle draws nothing
    EXPECT_EQ(At({30, 39}), 4);
    Picture->Attach(&Surface(), {600, 0}); // nothing of the picture on the target
    Picture->DrawAll();
    EXPECT_EQ(Surface().GetPixel({511, 100}), 4);
}

TEST_F(PictureTest, MiniatureKeepsEveryOutlineAndLeavesOutTheSelection) {
    Picture->AddObject(8, false);
    Picture->FillAt(PtAdd(Centred8, {50, 100}), 30);
    auto thumb = THotImage::CreateBlank(129, 79);
    TZQ5ImageData& small = thumb->ImageData();
    small.FillRect(small.BoundsRect(), 9);
    small.ClearDamage();
    Picture->SetSelected(1, true);
    Picture->DrawMiniature(small, {2, 2});
    EXPECT_EQ(Picture->Target(), &Surface());
    EXPECT_EQ(small.GetPixel({1, 1}), 9);
    EXPECT_EQ(small.GetPixel({127, 77}), 9);
    ASSERT_EQ(small.DamageList().Count(), 1);
    EXPECT_EQ(small.DamageList().Head()->Rect, (TRect{2, 2, 127, 77}));

    // The picture as the child sees it without the selection outline.
    Picture->SetSelected(1, false);
    int inkPixels = 0;
    for (int32_t y = 0; y < 225; ++y)
        for (int32_t x = 0; x < 376; ++x) {
            if (At({x, y}) != OutlineInk) continue;
            ++inkPixels;
            // Every outline pixel leaves ink in the miniature where it falls.
            TPoint m{x * 125 / 376, y * 75 / 225};
            bool inkNear = false;
            for (int32_t dy = -1; dy <= 1; ++dy)
                for (int32_t dx = -1; dx <= 1; ++dx) {
                    TPoint p{std::clamp(m.X + dx, 0, 124), std::clamp(m.Y + dy, 0, 74)};
                    inkNear = inkNear || small.GetPixel(PtAdd(p, {2, 2})) == OutlineInk;
                }
            ASSERT_TRUE(inkNear) << "outline pixel " << x << "," << y << " lost";
        }
    EXPECT_GT(inkPixels, 500);
    int selection = 0;
    for (int32_t y = 0; y < 75; ++y)
        for (int32_t x = 0; x < 125; ++x)
            selection += small.GetPixel({x + 2, y + 2}) == SelectionColour;
    EXPECT_EQ(selection, 0);
    // Regions keep their colours.
    EXPECT_EQ(small.GetPixel(PtAdd({(141 + 50) / 3, (48 + 100) / 3}, {2, 2})), 30);
    EXPECT_EQ(small.GetPixel({2 + 5, 2 + 5}), BlankBackgroundColour);
}

TEST_F(PictureTest, MiniatureOfAPictureChangedWhileDetachedShowsTheChanges) {
    Picture->AddObject(8, false);
    std::vector<uint8_t> bytes = Saved(*Picture);
    TVorelDrawing loaded;
    MemoryStream in(bytes);
    loaded.LoadFromStream(in);
    loaded.FillAt(PtAdd(Centred8, {50, 100}), 30); // detached: drawn nowhere
    loaded.MoveObject(1, {0, 0}, true);
    auto thumb = THotImage::CreateBlank(125, 75);
    loaded.DrawMiniature(thumb->ImageData(), {0, 0});
    EXPECT_EQ(thumb->ImageData().GetPixel({50 / 3, 100 / 3}), 30);
    EXPECT_EQ(thumb->ImageData().GetPixel({0, 0}), OutlineInk);
    EXPECT_EQ(thumb->ImageData().GetPixel({(141 + 50) / 3, (48 + 100) / 3}), BlankBackgroundColour);
    // Once attached again, drawing shows the same picture on the target.
    loaded.Attach(&Surface(), Origin);
    loaded.DrawAll();
    EXPECT_EQ(At({51, 99}), 30);
    EXPECT_EQ(At({141 + 50, 48 + 100}), BlankBackgroundColour);
}

// Going back to any earlier record keeps what it can and draws only what
// changed: the picture must end as reading that record afresh would leave it,
// on the target, in the miniature, in the chart and in its bytes.
TEST_F(PictureTest, RestoringAnyEarlierRecordEndsAsReadingItAfresh) {
    std::mt19937 random(23);
    auto pick = [&](int count) { return static_cast<int>(random() % static_cast<uint32_t>(count)); };
    auto anyObject = [&] { return Picture->ObjectCount() == 0 ? 0 : 1 + pick(Picture->ObjectCount()); };
    auto anyPoint = [&] { return TPoint{pick(PictureWidth), pick(PictureHeight)}; };
    const std::vector<std::function<void()>> changes = {
        [&] { Picture->AddObject(static_cast<uint8_t>(8 + pick(32)), pick(2) == 0); },
        [&] { Picture->AddObject(static_cast<uint8_t>(8 + pick(32)), false); },
        [&] { Picture->FillAt(anyPoint(), RandomColour()); },
        [&] { Picture->FillAt(anyPoint(), RandomColour()); },
        [&] { Picture->ToggleMirror(anyObject()); },
        [&] { Picture->ToggleHalf(anyObject(), pick(2) == 0); },
        [&] { Picture->MoveObject(anyObject(), {pick(500) - 100, pick(350) - 100}, true); },
        [&] { Picture->BringToFront(anyObject()); },
        [&] { Picture->DeleteObject(anyObject()); },
        [&] { Picture->RemoveColouring(pick(Picture->ObjectCount() + 1)); },
        [&] { Picture->SetBackground(static_cast<uint8_t>(pick(8)), pick(2) == 0); },
        [&] { Picture->SetSelected(anyObject(), true); },
    };
    auto thumb = THotImage::CreateBlank(125, 75);
    auto freshThumb = THotImage::CreateBlank(125, 75);
    auto freshScreen = THotImage::CreateBlank(512, 320);
    std::vector<std::vector<uint8_t>> records{Saved(*Picture)};
    for (int round = 0; round < 200; ++round) {
        changes[static_cast<size_t>(pick(static_cast<int>(changes.size())))]();
        records.push_back(Saved(*Picture));
        // Refreshing the miniature now and then, as the room does after changes.
        if (pick(2) == 0) Picture->DrawMiniature(thumb->ImageData(), {0, 0});
        if (round % 2 != 1) continue;

        // Mostly one change back, as an undo goes; sometimes any way back.
        const size_t back = pick(3) != 0 ? records.size() - 2 : static_cast<size_t>(pick(static_cast<int>(records.size())));
        const std::vector<uint8_t>& wanted = records[back];
        MemoryStream in(wanted);
        Picture->RestoreFromStream(in);
        ASSERT_EQ(in.Remaining(), 0);
        ASSERT_EQ(Saved(*Picture), wanted) << "round " << round;
        for (int n = 1; n <= Picture->ObjectCount(); ++n)
            EXPECT_FALSE(Picture->Object(n)->Selected());

        TVorelDrawing fresh;
        MemoryStream again(wanted);
        fresh.LoadFromStream(again);
        fresh.Attach(&freshScreen->ImageData(), Origin);
        fresh.DrawAll();
        for (int32_t y = 0; y < PictureHeight; ++y)
            for (int32_t x = 0; x < PictureWidth; ++x)
                ASSERT_EQ(At({x, y}), freshScreen->ImageData().GetPixel(PtAdd({x, y}, Origin)))
                    << "round " << round << " at " << x << "," << y;
        Picture->DrawMiniature(thumb->ImageData(), {0, 0});
        fresh.DrawMiniature(freshThumb->ImageData(), {0, 0});
        for (int32_t y = 0; y < 75; ++y)
            for (int32_t x = 0; x < 125; ++x)
                ASSERT_EQ(thumb->ImageData().GetPixel({x, y}), freshThumb->ImageData().GetPixel({x, y}))
                    << "miniature, round " << round << " at " << x << "," << y;
        for (int32_t y = 0; y < PictureHeight; y += 3)
            for (int32_t x = 0; x < PictureWidth; x += 3)
                ASSERT_EQ(Picture->Chart().ItemAt({x, y}), fresh.Chart().ItemAt({x, y}))
                    << "chart, round " << round << " at " << x << "," << y;
    }
}

// Whole-picture changes (a background, colours taken out everywhere) taken
// back and forth, with small changes and selections in between: each time the
// target and a miniature that gets only the changes, as the room's
// thumbnail does, must show what a fresh reading shows.
TEST_F(PictureTest, GoingBackAndForthOverWholePictureChangesShowsEachPictureWhole) {
    for (uint8_t index : {8, 9, 10})
        Picture->AddObject(index, true);
    Picture->FillAt({5, 5}, 40);
    auto thumb = THotImage::CreateBlank(125, 75);
    auto freshThumb = THotImage::CreateBlank(125, 75);
    auto freshScreen = THotImage::CreateBlank(512, 320);
    Picture->DrawMiniature(thumb->ImageData(), {0, 0});
    std::vector<std::vector<uint8_t>> records{Saved(*Picture)};
    Picture->SetSelected(3, true); // the outline is no part of what is kept
    Picture->SetBackground(3, false);
    records.push_back(Saved(*Picture));
    Picture->SetSelected(3, false);
    for (int n = 0; n <= Picture->ObjectCount(); ++n)
        Picture->RemoveColouring(n);
    records.push_back(Saved(*Picture));
    Picture->FillAt({5, 5}, 41);
    records.push_back(Saved(*Picture));
    const int order[] = {2, 1, 2, 1, 0, 1, 0, 3, 2, 3, 0, 1, 2, 2, 0};
    for (size_t step = 0; step < std::size(order); ++step) {
        const std::vector<uint8_t>& wanted = records[static_cast<size_t>(order[step])];
        MemoryStream in(wanted);
        Picture->RestoreFromStream(in);
        Picture->DrawMiniature(thumb->ImageData(), {0, 0}, true);
        TVorelDrawing fresh;
        MemoryStream again(wanted);
        fresh.LoadFromStream(again);
        fresh.Attach(&freshScreen->ImageData(), Origin);
        fresh.DrawAll();
        fresh.DrawMiniature(freshThumb->ImageData(), {0, 0});
        for (int32_t y = 0; y < PictureHeight; ++y)
            for (int32_t x = 0; x < PictureWidth; ++x)
                ASSERT_EQ(At({x, y}), freshScreen->ImageData().GetPixel(PtAdd({x, y}, Origin)))
                    << "step " << step << " at " << x << "," << y;
        for (int32_t y = 0; y < 75; ++y)
            for (int32_t x = 0; x < 125; ++x)
                ASSERT_EQ(thumb->ImageData().GetPixel({x, y}), freshThumb->ImageData().GetPixel({x, y}))
                    << "miniature, step " << step << " at " << x << "," << y;
        if (step == 6) Picture->SetSelected(2, true); // the next restoring takes it away again
    }
}

// Taking the top object away uncovers the canvas it was drawn over, as it
// was kept then; a fill of the object under it since must not be lost.
TEST_F(PictureTest, TakingTheTopObjectAwayShowsWhatIsUnderItNow) {
    Picture->AddObject(8, false);
    Picture->AddObject(8, false);
    Picture->MoveObject(2, PtAdd(Picture->Object(1)->Position(), {10, 10}), true);
    const TRect top = Picture->Object(2)->Bounds();
    // A point of the lower object left of the top one: its region reaches under it.
    std::optional<TPoint> lower;
    for (int32_t y = top.Top; y < top.Bottom && !lower; ++y)
        if (Picture->Chart().ItemAt({top.Left - 5, y}) == 1) lower = TPoint{top.Left - 5, y};
    ASSERT_TRUE(lower);
    const std::vector<uint8_t> both = Saved(*Picture);
    Picture->FillAt(*lower, 30);
    Picture->DeleteObject(2);
    const std::vector<uint8_t> lowerFilled = Saved(*Picture);
    MemoryStream in(both);
    Picture->RestoreFromStream(in); // the top object comes back over the unfilled lower one
    Picture->FillAt(*lower, 30);
    MemoryStream back(lowerFilled);
    Picture->RestoreFromStream(back);

    TVorelDrawing fresh;
    MemoryStream again(lowerFilled);
    fresh.LoadFromStream(again);
    auto freshScreen = THotImage::CreateBlank(512, 320);
    fresh.Attach(&freshScreen->ImageData(), Origin);
    fresh.DrawAll();
    int filledUnderTop = 0;
    for (int32_t y = 0; y < PictureHeight; ++y)
        for (int32_t x = 0; x < PictureWidth; ++x) {
            const uint8_t expected = freshScreen->ImageData().GetPixel(PtAdd({x, y}, Origin));
            ASSERT_EQ(At({x, y}), expected) << x << "," << y;
            filledUnderTop += PtInRect(top, {x, y}) && expected == 30;
        }
    EXPECT_GT(filledUnderTop, 0) << "the fill must reach under the top object for this to tell anything";
}

// The miniature around the top object goes back with the canvas under it when
// the object goes, unless something around it was painted since: an object
// moved right up to it must show in the miniature, as after reading afresh.
TEST_F(PictureTest, TakingTheTopObjectAwayShowsTheMiniatureAroundItAsItIsNow) {
    TVorelDrawing twin; // the same changes without the top object
    twin.SetBackground(0, true);
    auto thumb = THotImage::CreateBlank(125, 75);
    for (TVorelDrawing* picture : {Picture.get(), &twin}) {
        picture->AddObject(8, false);
        picture->MoveObject(1, {10, 48}, true);
    }
    Picture->DrawMiniature(thumb->ImageData(), {0, 0}, true);
    Picture->AddObject(8, false);
    Picture->DrawMiniature(thumb->ImageData(), {0, 0}, true);
    const TRect top = Picture->Object(2)->Bounds();
    ASSERT_GT(top.Left, 10 + 93 + 8) << "the moved object must start away from the top one";
    // Right up to the top object's left edge, without touching it.
    const TPoint beside{top.Left - 93, 48};
    for (TVorelDrawing* picture : {Picture.get(), &twin})
        picture->MoveObject(1, beside, true);
    ASSERT_EQ(Picture->Object(1)->Bounds().Right, top.Left);
    Picture->DrawMiniature(thumb->ImageData(), {0, 0}, true);
    MemoryStream in(Saved(twin));
    Picture->RestoreFromStream(in);
    Picture->DrawMiniature(thumb->ImageData(), {0, 0}, true);

    auto freshThumb = THotImage::CreateBlank(125, 75);
    twin.DrawMiniature(freshThumb->ImageData(), {0, 0});
    for (int32_t y = 0; y < 75; ++y)
        for (int32_t x = 0; x < 125; ++x)
            ASSERT_EQ(thumb->ImageData().GetPixel({x, y}), freshThumb->ImageData().GetPixel({x, y})) << x << "," << y;
}

TEST_F(PictureTest, ADamagedRecordRestoresNothing) {
    Picture->AddObject(8, true);
    const std::vector<uint8_t> before = Saved(*Picture);
    std::vector<uint8_t> damaged = before;
    damaged.resize(damaged.size() - 1);
    MemoryStream in(damaged);
    EXPECT_THROW(Picture->RestoreFromStream(in), KelException);
    EXPECT_EQ(Saved(*Picture), before);
    EXPECT_EQ(Picture->Target(), &Surface());
}

// Going back charts again only where the stacking changed; an object that
// took another number because one below it came or went must be found under
// its new number everywhere, also far away from the one that came or went.
TEST_F(PictureTest, RestoringRenumbersObjectsFarFromTheOneThatCameOrWent) {
    for (int n = 1; n <= 3; ++n) {
        Picture->AddObject(8, false);
        Picture->MoveObject(n, {(n - 1) * 140, 40}, true);
    }
    ASSERT_FALSE(RectsIntersect(Picture->Object(1)->Bounds(), Picture->Object(3)->Bounds()));
    const std::vector<uint8_t> three = Saved(*Picture);
    Picture->DeleteObject(1);
    const std::vector<uint8_t> two = Saved(*Picture);
    for (const std::vector<uint8_t>* wanted : {&three, &two, &three}) {
        MemoryStream in(*wanted);
        Picture->RestoreFromStream(in);
        TVorelDrawing fresh;
        MemoryStream again(*wanted);
        fresh.LoadFromStream(again);
        const TVorelDrawingObject& top = *Picture->Object(Picture->ObjectCount());
        EXPECT_EQ(Picture->Chart().ItemAt(PtAdd(top.Position(), top.Entry().Regions[0].Seed)), Picture->ObjectCount());
        for (int32_t y = 0; y < PictureHeight; ++y)
            for (int32_t x = 0; x < PictureWidth; ++x)
                ASSERT_EQ(Picture->Chart().ItemAt({x, y}), fresh.Chart().ItemAt({x, y})) << "at " << x << "," << y;
    }
}

// The chart is read only by a fill: going back several steps before one
// leaves what each step changed to be charted then, together, and the
// chart must still answer as a fresh reading of the last record would.
TEST_F(PictureTest, SeveralRestoresBeforeTheChartIsReadChartAsReadingTheLastAfresh) {
    std::mt19937 random(31);
    auto pick = [&](int count) { return static_cast<int>(random() % static_cast<uint32_t>(count)); };
    auto anyObject = [&] { return Picture->ObjectCount() == 0 ? 0 : 1 + pick(Picture->ObjectCount()); };
    const std::vector<std::function<void()>> changes = {
        [&] { Picture->AddObject(static_cast<uint8_t>(8 + pick(32)), false); },
        [&] { Picture->AddObject(static_cast<uint8_t>(8 + pick(32)), false); },
        [&] { Picture->MoveObject(anyObject(), {pick(400) - 50, pick(250) - 50}, true); },
        [&] { Picture->ToggleMirror(anyObject()); },
        [&] { Picture->ToggleHalf(anyObject(), pick(2) == 0); },
        [&] { Picture->BringToFront(anyObject()); },
        [&] { Picture->DeleteObject(anyObject()); },
        [&] { Picture->SetBackground(static_cast<uint8_t>(pick(8)), true); },
    };
    std::vector<std::vector<uint8_t>> records;
    for (int change = 0; change < 40; ++change) {
        changes[static_cast<size_t>(pick(static_cast<int>(changes.size())))]();
        records.push_back(Saved(*Picture));
    }
    for (int round = 0; round < 25; ++round) {
        const std::vector<uint8_t>* wanted = nullptr;
        for (int steps = 1 + pick(4); steps > 0; --steps) {
            wanted = &records[static_cast<size_t>(pick(static_cast<int>(records.size())))];
            MemoryStream in(*wanted);
            Picture->RestoreFromStream(in);
        }
        TVorelDrawing fresh;
        MemoryStream again(*wanted);
        fresh.LoadFromStream(again);
        for (int32_t y = 0; y < PictureHeight; y += 2)
            for (int32_t x = 0; x < PictureWidth; x += 2)
                ASSERT_EQ(Picture->Chart().ItemAt({x, y}), fresh.Chart().ItemAt({x, y}))
                    << "round " << round << " at " << x << "," << y;
    }
}

// Mirroring turns the image and what is known of its drawn pixels without
// looking at them again: both must agree with the pixels, turn after turn.
TEST_F(PictureTest, MirroringTurnsTheDrawnPixelsWithTheImage) {
    std::mt19937 random(41);
    auto sheet = THotImage::CreateBlank(57, 33);
    TZQ5ImageData& pixels = sheet->ImageData();
    pixels.FillRect(pixels.BoundsRect(), BlankBackgroundColour);
    for (int blot = 0; blot < 12; ++blot) {
        const int32_t x = static_cast<int32_t>(random() % 50), y = static_cast<int32_t>(random() % 28);
        pixels.FillRect({x, y, x + 1 + static_cast<int32_t>(random() % 9), y + 1 + static_cast<int32_t>(random() % 6)},
                        static_cast<uint8_t>(random() % 200));
    }
    TVorelDrawingObject object(pixels, false, Picture->GetEntry(8), {0, 0}, {3, 0, 57, 33});
    std::vector<uint8_t> unmirrored;
    for (int32_t y = 0; y < 33; ++y)
        for (int32_t x = 0; x < 54; ++x)
            unmirrored.push_back(object.Surface().GetPixel({x, y}));
    for (int turn = 1; turn <= 3; ++turn) {
        object.SetMirrored(turn % 2 == 1);
        TRect box{54, 33, 0, 0};
        for (int32_t y = 0; y < 33; ++y)
            for (int32_t x = 0; x < 54; ++x) {
                const uint8_t pixel = object.Surface().GetPixel({x, y});
                ASSERT_EQ(pixel, unmirrored[static_cast<size_t>(y * 54 + (turn % 2 == 1 ? 53 - x : x))]);
                if (pixel != BlankBackgroundColour) box = UnionRect(box, {x, y, x + 1, y + 1});
            }
        EXPECT_EQ(object.DrawnBox(), box) << "turn " << turn;
        for (int round = 0; round < 50; ++round) {
            const int32_t left = static_cast<int32_t>(random() % 60) - 3, top = static_cast<int32_t>(random() % 36) - 3;
            const TRect rect{left, top, left + static_cast<int32_t>(random() % 40), top + static_cast<int32_t>(random() % 20)};
            int32_t drawn = 0;
            for (int32_t y = std::max(rect.Top, 0); y < std::min(rect.Bottom, 33); ++y)
                for (int32_t x = std::max(rect.Left, 0); x < std::min(rect.Right, 54); ++x)
                    drawn += object.Surface().GetPixel({x, y}) != BlankBackgroundColour;
            ASSERT_EQ(object.DrawnPixelsIn(rect), drawn) << "turn " << turn << ", round " << round;
        }
    }
}
