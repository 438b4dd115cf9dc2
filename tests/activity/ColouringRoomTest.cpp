#include "RoomTestSupport.h"

#include "activity/ObjectTable.h"
#include "activity/RandomColour.h"
#include "activity/VorelDrawing.h"
#include "activity/VorelDrawingChart.h"
#include "foundation/LoadSave.h"

#include <algorithm>
#include <functional>

namespace {

std::vector<uint8_t> IconSlots(const TIconMap& map, int count) {
    std::vector<uint8_t> slots;
    for (int slot = 1; slot <= count; ++slot)
        slots.push_back(map[slot]);
    return slots;
}

// The pixel value a face of bank 1 shows at button n (up).
uint8_t FaceValue(int n) {
    int k = n - 1;
    return static_cast<uint8_t>(24 + k % 2 + 4 * (k / 2));
}

TPoint FacePoint(int n) {
    int k = n - 1;
    constexpr std::array<int32_t, 12> tops{19, 19, 62, 62, 112, 112, 155, 155, 198, 198, 241, 241};
    return {(k % 2 == 0 ? 405 : 451) + 6 + 3, tops[static_cast<size_t>(k)] + 6 + 3};
}

} // namespace

TEST_F(RoomTest, AFreshRoomSavesItsBlankPictureAndTwentyBytes) {
    std::vector<uint8_t> state = SavedState(*Room);
    ASSERT_GE(state.size(), 37u);
    std::vector<uint8_t> tail(state.end() - 37, state.end());
    EXPECT_EQ(tail, Hex("00 01 0F 00 00 00 00 00 00 00 00 00 00 D9 D9 D9 00 "
                        "00 01 01 01 00 FF FF FF FF FF FF FF FF FF FF FF FF FF FF FF"));
    // VOREL2 starts on background 1.
    std::vector<uint8_t> second = SavedState(*TheWorld->FindRoom("VOREL2"));
    EXPECT_EQ(second[second.size() - 37], 1);
}

TEST_F(RoomTest, EnteringDrawsTheControlsAndWantsShiftNotices) {
    EXPECT_TRUE(Room->HasFlag(rfWantsShift));
    EXPECT_TRUE(Room->HasFlag(rfDrawn));
    EXPECT_EQ(ScreenAt({15 + 5, 15 + 5}), BlankBackgroundColour);
    EXPECT_EQ(ScreenAt({405, 19}), ActivityArt::ButtonDownValue); // background button 1 is in use
    EXPECT_EQ(ScreenAt({451, 19}), ActivityArt::ButtonUpValue);
    EXPECT_EQ(ScreenAt(FacePoint(6)), FaceValue(6));
    EXPECT_EQ(ScreenAt({50, 277}), ActivityArt::ColourButtonValue(0, 3)); // set 0, current
    EXPECT_EQ(ScreenAt({93, 277}), ActivityArt::ColourButtonValue(1, 2));
    EXPECT_TRUE(Box("ERASER").Disabled);
    EXPECT_TRUE(Box("FLOP").Disabled);
    EXPECT_EQ(ScreenAt({0, 280}), ActivityArt::FrameValue(2));   // eraser off: frame 2
    EXPECT_EQ(ScreenAt({400, 285}), ActivityArt::FrameValue(2)); // flop disabled: frame 2
    EXPECT_EQ(ScreenAt({0, 0}), ActivityArt::FrameValue(1));     // set 0: "BRIGHT" frame 1
}

TEST_F(RoomTest, AClickFillsWithTheCurrentColourAndRefreshesTheThumbnail) {
    Window.DrawnThumbnails.clear();
    ClickPicture({5, 5});
    EXPECT_EQ(ScreenAt({20, 20}), TVorelRoom::ColourOf(false, 1));
    EXPECT_EQ(Window.DrawnThumbnails, std::vector<int>{1});
    EXPECT_EQ(Thumbs[1]->ImageData().GetPixel({2 + 1, 2 + 1}), TVorelRoom::ColourOf(false, 1));
    // The picture is back on the screen after the miniature.
    Click(93 + 10, 277 + 10); // colour button 2
    Room->RunScript("BRIGHT", "BRIGHT");
    EXPECT_TRUE(Room->GetBrightSet());
    ClickPicture({130, 5});
    EXPECT_EQ(ScreenAt({15 + 130, 20}), TVorelRoom::ColourOf(true, 2));
    EXPECT_EQ(TVorelRoom::ColourOf(true, 2), 242);
    // A line is no region: nothing changes, but the thumbnail is still refreshed.
    Window.DrawnThumbnails.clear();
    ClickPicture({125, 5});
    EXPECT_EQ(ScreenAt({15 + 125, 20}), OutlineInk);
    EXPECT_EQ(Window.DrawnThumbnails, std::vector<int>{1});
    EXPECT_TRUE(Platform.Messages.empty());
}

TEST_F(RoomTest, ShiftGivesRandomColoursThatAreNeverReserved) {
    std::vector<uint8_t> draws{40, 125, 217, 255, 77, 40, 78, 217, 79, 255, 80, 125, 81};
    size_t next = 0;
    SetRandomByteSource([&] { return draws.at(next++); });
    Keys(true, false);
    ClickPicture({5, 5}, ssShift | ssLeft);
    EXPECT_EQ(ScreenAt({20, 20}), 77);
    PressButton(5);
    const auto& regions = Room->Picture().Object(1)->Entry().Regions;
    EXPECT_EQ(regions[0].Colour, 78);
    EXPECT_EQ(regions[1].Colour, 79);
    EXPECT_EQ(regions[2].Colour, 80);
    EXPECT_EQ(next, draws.size() - 2);
}

TEST_F(RoomTest, AnObjectButtonPressedTwiceWithinFiveTicksAddsOneObject) {
    PressButton(5);
    EXPECT_EQ(Room->GetObjectCount(), 1);
    EXPECT_EQ(Room->GetButtonState(5), 1);
    EXPECT_EQ(ScreenAt({405, 112}), ActivityArt::ButtonDownValue);
    Ticks(2);
    PressButton(5); // only lets the button up
    EXPECT_EQ(Room->GetObjectCount(), 1);
    EXPECT_EQ(Room->GetButtonState(5), 0);
    EXPECT_EQ(ScreenAt({405, 112}), ActivityArt::ButtonUpValue);
    PressButton(6);
    Ticks(5);
    EXPECT_EQ(Room->GetButtonState(6), 1);
    Ticks(1); // the release timer, 5 ticks after the press
    EXPECT_EQ(Room->GetButtonState(6), 0);
    PressButton(5);
    EXPECT_EQ(Room->GetObjectCount(), 3);
    EXPECT_EQ(Room->Picture().ObjectMapIndex(3), 8);
    EXPECT_EQ(Room->Picture().ObjectMapIndex(2), 9);
    EXPECT_EQ(IconSlots(Room->GetIconMap(), 3), (std::vector<uint8_t>{1, 2, 3}));
    EXPECT_EQ(Room->GetSelectedIcon(), 3);
}

TEST_F(RoomTest, FifteenObjectsDisableTheObjectButtonsUntilOneIsDeleted) {
    AddObjects(15);
    ASSERT_EQ(Room->GetObjectCount(), 15);
    for (int n = 5; n <= 12; ++n) {
        EXPECT_TRUE(Box(std::to_string(n)).Disabled) << n;
        EXPECT_EQ(ScreenAt(FacePoint(n)), ActivityArt::ButtonUpValue) << n; // no face
    }
    EXPECT_EQ(ScreenAt(FacePoint(2)), FaceValue(2));
    PressButton(6);
    Room->RunScript("BTN", "7"); // a press that reaches the room anyway
    EXPECT_EQ(Room->GetObjectCount(), 15);
    EXPECT_EQ(Room->Picture().ObjectCount(), 15);

    ClickIcon(15);
    ClickTool("ERASER");
    EXPECT_EQ(Room->GetObjectCount(), 14);
    EXPECT_EQ(Room->Picture().ObjectCount(), 14);
    for (int n = 5; n <= 12; ++n) {
        EXPECT_FALSE(Box(std::to_string(n)).Disabled) << n;
        EXPECT_EQ(ScreenAt(FacePoint(n)), FaceValue(n)) << n;
    }
    EXPECT_EQ(ScreenAt({108 + 14 * 19, 252}), ActivityArt::RoomPictureValue) << "the emptied slot looks empty";
}

TEST_F(RoomTest, SelectingAnIconBringsItsObjectToTheTop) {
    AddObjects(3);
    TVorelDrawingObject* second = Room->Picture().Object(2);
    ClickIcon(2);
    EXPECT_EQ(IconSlots(Room->GetIconMap(), 3), (std::vector<uint8_t>{1, 3, 2}));
    EXPECT_EQ(Room->GetSelectedIcon(), 2);
    EXPECT_EQ(Room->Picture().Object(3), second);
    EXPECT_TRUE(second->Selected());
    EXPECT_FALSE(Room->Picture().Object(2)->Selected());
    // The selected icon shows its selected variant, the others the plain one.
    EXPECT_EQ(ScreenAt({108 + 19, 252}), ActivityArt::IconValue(1 + 32));
    EXPECT_EQ(ScreenAt({108 + 38, 252}), ActivityArt::IconValue(2));
    ClickIcon(2); // already selected: nothing
    ClickIcon(5); // no object
    EXPECT_EQ(IconSlots(Room->GetIconMap(), 3), (std::vector<uint8_t>{1, 3, 2}));
}

TEST_F(RoomTest, DeletingAnObjectRenumbersTheIconMap) {
    AddObjects(3);
    ClickIcon(1);
    ASSERT_EQ(IconSlots(Room->GetIconMap(), 3), (std::vector<uint8_t>{3, 1, 2}));
    uint8_t deleted = *Room->Picture().ObjectMapIndex(3);
    ClickTool("ERASER");
    EXPECT_EQ(Room->GetObjectCount(), 2);
    EXPECT_EQ(IconSlots(Room->GetIconMap(), 15)[0], 1);
    EXPECT_EQ(IconSlots(Room->GetIconMap(), 3), (std::vector<uint8_t>{1, 2, 255}));
    EXPECT_TRUE(Room->GetIconMap().IsValid(2));
    EXPECT_EQ(Room->GetSelectedIcon(), 0);
    EXPECT_NE(Room->Picture().ObjectMapIndex(1), deleted);
    EXPECT_NE(Room->Picture().ObjectMapIndex(2), deleted);
    EXPECT_TRUE(Box("ERASER").Disabled);
    EXPECT_EQ(ScreenAt({108 + 2 * 19, 252}), ActivityArt::RoomPictureValue) << "the emptied slot looks empty";
}

TEST_F(RoomTest, DeclinedEraserConfirmationsChangeNothing) {
    AddObjects(2);
    ClickPicture({5, 5});
    std::vector<uint8_t> before = ActivityState(*Room);
    Window.DrawnThumbnails.clear();
    Keys(true, true);
    ClickTool("ERASER");
    Keys(true, false);
    ClickTool("ERASER");
    EXPECT_EQ(Platform.MessageTexts(),
              (std::vector<std::string>{"Remove all coloring in scene?", "Delete all objects in scene?"}));
    EXPECT_EQ(Platform.Messages[0].Buttons, MessageButtons::YesNo);
    EXPECT_EQ(ActivityState(*Room), before);
    EXPECT_TRUE(Window.DrawnThumbnails.empty());
    EXPECT_EQ(Room->GetObjectCount(), 2);
}

TEST_F(RoomTest, ShiftAndCtrlEraserRemovesAllColouring) {
    SetRandomByteSource([] { return uint8_t{66}; });
    Keys(true, false);
    PressButton(5);
    ClickPicture({5, 5}, ssShift | ssLeft);
    Keys(true, true);
    Platform.Answers.push_back(MessageResult::Yes);
    ClickTool("ERASER");
    EXPECT_EQ(Platform.ScreenCursors.back(), ScreenCursor::Default);
    EXPECT_NE(
        std::find(Platform.ScreenCursors.begin(), Platform.ScreenCursors.end(), ScreenCursor::Hourglass),
        Platform.ScreenCursors.end());
    for (const TRegion& region : Room->Picture().Background()->Entry().Regions)
        EXPECT_EQ(region.Colour, BlankBackgroundColour);
    for (const TRegion& region : Room->Picture().Object(1)->Entry().Regions)
        EXPECT_EQ(region.Colour, BlankObjectColour);
    EXPECT_EQ(ScreenAt({20, 20}), BlankBackgroundColour);
    EXPECT_EQ(Room->GetObjectCount(), 1);
}

TEST_F(RoomTest, ShiftEraserDeletesAllObjectsAndTheSelectionWithThem) {
    AddObjects(3);
    ASSERT_EQ(Room->GetSelectedIcon(), 3);
    Keys(true, false);
    EXPECT_FALSE(Box("ERASER").Disabled);
    Platform.Answers.push_back(MessageResult::Yes);
    ClickTool("ERASER");
    EXPECT_EQ(Room->GetObjectCount(), 0);
    EXPECT_EQ(Room->Picture().ObjectCount(), 0);
    EXPECT_EQ(Room->GetSelectedIcon(), 0);
    EXPECT_TRUE(Room->GetIconMap().IsValid(0));
    EXPECT_TRUE(Box("ERASER").Disabled);
    EXPECT_TRUE(Box("FLOP").Disabled);
    for (int slot = 1; slot <= 3; ++slot)
        for (TPoint p : {TPoint{0, 0}, TPoint{18, 18}})
            EXPECT_EQ(ScreenAt(PtAdd({108 + (slot - 1) * 19, 252}, p)), ActivityArt::RoomPictureValue)
                << "slot " << slot << " must look as empty as before any object was added";
    EXPECT_EQ(ScreenAt({15 + 141 + 1, 15 + 48 + 1}), BlankBackgroundColour);
    // Tools that reach the room anyway find nothing to work on.
    Room->RunScript("FLOP", "FLOP");
    Room->RunScript("HALF", "HALF");
    Keys(false, false);
    Room->RunScript("ERASER", "ERASER");
    EXPECT_EQ(Room->GetObjectCount(), 0);
}

TEST_F(RoomTest, TheEraserNeedsASelectionOrShiftWithObjects) {
    Keys(true, false);
    EXPECT_TRUE(Box("ERASER").Disabled); // Shift without objects
    Keys(false, false);
    AddObjects(1);
    EXPECT_FALSE(Box("ERASER").Disabled);
    ClickPicture({5, 5}); // clears the selection
    EXPECT_TRUE(Box("ERASER").Disabled);
    Keys(true, false);
    EXPECT_FALSE(Box("ERASER").Disabled);
    EXPECT_EQ(ScreenAt({0, 280}), ActivityArt::FrameValue(0));
    Keys(false, true);
    EXPECT_TRUE(Box("ERASER").Disabled);
}

TEST_F(RoomTest, CtrlEraserUncoloursTheSelectedObject) {
    SetRandomByteSource([] { return uint8_t{66}; });
    Keys(true, false);
    PressButton(5);
    Keys(false, true);
    ClickTool("ERASER");
    for (const TRegion& region : Room->Picture().Object(1)->Entry().Regions)
        EXPECT_EQ(region.Colour, BlankObjectColour);
    EXPECT_EQ(Room->GetObjectCount(), 1);
    EXPECT_TRUE(Platform.Messages.empty());
}

TEST_F(RoomTest, MirrorAndHalfToolsActOnTheSelectedObject) {
    AddObjects(1);
    EXPECT_EQ(Room->GetFlopState(), 1);
    EXPECT_EQ(Room->GetHalfState(), 1);
    EXPECT_EQ(ScreenAt({400, 285}), ActivityArt::FrameValue(0));
    ClickTool("FLOP");
    EXPECT_TRUE(Room->Picture().IsMirrored(1));
    EXPECT_EQ(Room->GetFlopState(), 2);
    EXPECT_EQ(ScreenAt({400, 285}), ActivityArt::FrameValue(1));
    ClickTool("HALF");
    EXPECT_TRUE(Room->Picture().IsHalf(1));
    EXPECT_EQ(Room->GetHalfState(), 2);
    EXPECT_EQ(Room->Picture().Object(1)->Bounds(), (TRect{141 + 23, 48 + 32, 141 + 23 + 46, 48 + 32 + 65}));
    EXPECT_TRUE(Room->Picture().Object(1)->Selected());
    EXPECT_EQ(ScreenAt({15 + 141 + 23, 15 + 48 + 32}), SelectionColour);
}

TEST_F(RoomTest, DraggingTheSelectedObjectMovesItAndStopsAtTheEdges) {
    AddObjects(1);
    TheWorld->ViewMouseMove({}, 15 + 141 + 10, 15 + 48 + 10);
    EXPECT_EQ(Box("VOREL").CursorKind, ckTake);
    TheWorld->ViewMouseMove({}, 15 + 5, 15 + 5);
    EXPECT_EQ(Box("VOREL").CursorKind, ckBrush);

    TheWorld->ViewMouseDown(0, ssLeft, 15 + 141 + 10, 15 + 48 + 10);
    EXPECT_EQ(TheWorld->CapturedBox(), &Box("VOREL"));
    TheWorld->ViewMouseMove(ssLeft, 15 + 141 + 30, 15 + 48 + 20);
    EXPECT_EQ(Room->Picture().Object(1)->Position(), (TPoint{161, 58}));
    Window.DrawnThumbnails.clear();
    TheWorld->ViewMouseMove(ssLeft, 500, 319);
    TheWorld->ViewMouseUp(0, ssLeft, 500, 319);
    EXPECT_EQ(TheWorld->CapturedBox(), nullptr);
    EXPECT_EQ(Room->Picture().Object(1)->Position(), (TPoint{376 - 16, 225 - 16}));
    EXPECT_EQ(Window.DrawnThumbnails, std::vector<int>{1});
    EXPECT_EQ(Room->Picture().Chart().ItemAt({370, 220}), 1);
    EXPECT_EQ(ScreenAt({15 + 141 + 10, 15 + 48 + 10}), BlankBackgroundColour);
}

TEST_F(RoomTest, ADragCutShortStillLeavesTheChartInStep) {
    AddObjects(1);
    TheWorld->ViewMouseDown(0, ssLeft, 15 + 141 + 10, 15 + 48 + 10);
    TheWorld->ViewMouseMove(ssLeft, 15 + 10, 15 + 10); // the object now starts at (10 - 10, 10 - 10)
    // A new press takes the capture away before any release: where the object
    // was grabbed, the background is found again.
    ClickPicture({141 + 50, 48 + 100});
    EXPECT_EQ(Room->Picture().Background()->Entry().Regions[1].Colour, TVorelRoom::ColourOf(false, 1));
    EXPECT_EQ(Room->Picture().Chart().ItemAt({50, 100}), 1);
}

TEST_F(RoomTest, BackgroundButtonsFollowTheBank) {
    Room->RunScript("XPANEL2", "XPANEL2");
    EXPECT_EQ(Room->GetBank(), 2);
    EXPECT_EQ(ScreenAt({500, 0}), ActivityArt::FrameValue(1));
    EXPECT_EQ(Room->GetButtonState(1), 0); // background button 1 belongs to bank 1
    PressButton(1);
    EXPECT_EQ(Room->Picture().Background()->MapIndex(), 2);
    EXPECT_TRUE(Room->Picture().BackgroundBlank());
    EXPECT_EQ(Room->GetBackgroundButton(), 5);
    EXPECT_EQ(Room->GetButtonState(1), 1);
    PressButton(2);
    EXPECT_EQ(Room->Picture().Background()->MapIndex(), 2);
    EXPECT_FALSE(Room->Picture().BackgroundBlank());
    EXPECT_EQ(Room->GetButtonState(1), 0);
    EXPECT_EQ(Room->GetButtonState(2), 1);
    PressButton(5); // bank 2's first object
    EXPECT_EQ(Room->Picture().ObjectMapIndex(1), 16);
    Room->RunScript("XPANEL1", "XPANEL1");
    Room->RunScript("XPANEL1", "XPANEL1");
    EXPECT_EQ(Room->GetBank(), 1);
    EXPECT_EQ(Room->GetButtonState(2), 0);
}

TEST_F(RoomTest, ColourButtonsChooseTheColour) {
    Click(50 + 3 * 43 + 5, 280); // colour 4
    EXPECT_EQ(Room->GetColour(), 4);
    EXPECT_EQ(ScreenAt({50 + 3 * 43, 277}), ActivityArt::ColourButtonValue(3, 3));
    EXPECT_EQ(ScreenAt({50, 277}), ActivityArt::ColourButtonValue(0, 2));
    Room->RunScript("COLOR", "9C");
    Room->RunScript("COLOR", "");
    EXPECT_EQ(Room->GetColour(), 4);
    EXPECT_THROW(Room->RunScript("NOSUCH", "X"), StdException);
}

TEST_F(RoomTest, LeavingClearsTheSelectionAndRefreshesTheThumbnail) {
    AddObjects(1);
    Window.DrawnThumbnails.clear();
    TheWorld->GoRoom("VOREL2");
    EXPECT_EQ(Room->GetSelectedIcon(), 0);
    EXPECT_FALSE(Room->Picture().Object(1)->Selected());
    EXPECT_EQ(Window.DrawnThumbnails, std::vector<int>{1});
    EXPECT_EQ(Room->Picture().Target(), nullptr);
    // VOREL2's picture is on the screen, VOREL1's own drawing does not reach it.
    EXPECT_EQ(ScreenAt({15 + 141 + 1, 15 + 48 + 1}), BlankBackgroundColour);
    TheWorld->GoRoom("VOREL1");
    EXPECT_EQ(ScreenAt({15 + 141 + 1, 15 + 48 + 1}), BlankObjectColour);
    EXPECT_TRUE(Platform.Messages.empty());
}

TEST_F(RoomTest, SavedGamesKeepThePictureAndTheRoomFields) {
    AddObjects(3);
    ClickIcon(1);
    Room->RunScript("BRIGHT", "BRIGHT");
    Click(50 + 6 * 43 + 5, 280);
    ClickPicture({5, 5});
    std::vector<uint8_t> before = ActivityState(*Room);
    TheWorld->SaveGame('1');
    ASSERT_TRUE(TheWorld->LoadGame('1'));
    EXPECT_EQ(ActivityState(*Room), before);
    EXPECT_EQ(IconSlots(Room->GetIconMap(), 3), (std::vector<uint8_t>{3, 1, 2}));
    EXPECT_TRUE(Room->GetBrightSet());
    EXPECT_EQ(Room->GetColour(), 7);
    EXPECT_EQ(Room->GetObjectCount(), 3);
    EXPECT_TRUE(Platform.Messages.empty());
}

TEST_F(RoomTest, DamagedRoomFieldsAreRefusedAndTheRoomStartsAfresh) {
    AddObjects(2);
    std::vector<uint8_t> good = SavedState(*Room);
    auto refuse = [&](size_t fromEnd, uint8_t value) {
        std::vector<uint8_t> bad = good;
        bad.at(bad.size() - fromEnd) = value;
        MemoryStream in(bad);
        EXPECT_EQ(KelMessage([&] { Room->LoadState(in); }), "Saved game is damaged.") << fromEnd;
        EXPECT_EQ(Room->GetObjectCount(), 0);
        EXPECT_EQ(Room->Picture().ObjectCount(), 0);
        EXPECT_TRUE(Room->GetIconMap().IsValid(0));
    };
    refuse(20 - 1, 0);   // background button
    refuse(20 - 2, 5);   // bank
    refuse(20 - 3, 9);   // colour
    refuse(20 - 4, 200); // object count
    refuse(20 - 4, 1);   // object count differing from the picture's
    refuse(20 - 5, 2);   // icon map: 2, 2
    refuse(20 - 7, 1);   // icon map: a third entry
    MemoryStream in(good);
    Room->LoadState(in);
    EXPECT_EQ(Room->GetObjectCount(), 2);
}

TEST_F(RoomTest, RoomsBeyondTheFourPicturesHaveNoThumbnail) {
    TVorelRoom seventh("VOREL7");
    EXPECT_EQ(seventh.Picture().Background()->MapIndex(), 6);
    TVorelRoom other("VORELX");
    EXPECT_EQ(other.Picture().Background()->MapIndex(), 0);
    TVorelRoom ninth("VOREL9");
    EXPECT_EQ(ninth.Picture().Background()->MapIndex(), 0);
    Window.DrawnThumbnails.clear();
    for (TVorelRoom* room : {&seventh, &other, &ninth}) {
        room->RunScript("COLOR", "3C");
        room->RefreshThumbnail();
    }
    EXPECT_TRUE(Window.DrawnThumbnails.empty());
    EXPECT_EQ(seventh.Picture().Target(), nullptr);
}

TEST_F(RoomTest, EnteringShowsThePicturesOwnBackgroundButtonAndHighlightsItsThumbnail) {
    // VOREL2 starts on background 1, blank: bank 1, button 3.
    Window.Highlights.clear();
    TheWorld->GoRoom("VOREL2");
    EXPECT_EQ(ScreenAt({405, 62}), ActivityArt::ButtonDownValue);
    EXPECT_EQ(ScreenAt({405, 19}), ActivityArt::ButtonUpValue) << "bank 1's first is not VOREL2's background";
    ASSERT_FALSE(Window.Highlights.empty());
    EXPECT_EQ(Window.Highlights.back(), std::make_pair(2, true));

    // Back in VOREL1 after a load: its thumbnail is the highlighted one again.
    TheWorld->SaveGame('3', false);
    TheWorld->GoRoom("TITLE");
    ASSERT_TRUE(TheWorld->LoadGame('3'));
    Window.Highlights.clear();
    TheWorld->GoRoom("VOREL1");
    ASSERT_FALSE(Window.Highlights.empty());
    EXPECT_EQ(Window.Highlights.back(), std::make_pair(1, true));
    EXPECT_EQ(ScreenAt({405, 19}), ActivityArt::ButtonDownValue);
}

TEST_F(RoomTest, ABackgroundOfAnotherBankLeavesEveryButtonUp) {
    Click(405 + 5, 19 + 5); // a plain button press: background 0, blank
    Room->RunScript("XPANEL2", "XPANEL2");
    Click(405 + 5, 19 + 5); // bank 2, button 1: background 2, blank
    Room->RunScript("XPANEL1", "XPANEL1");
    TheWorld->GoRoom("VOREL2");
    TheWorld->GoRoom("VOREL1");
    for (TPoint p : {TPoint{405, 19}, TPoint{451, 19}, TPoint{405, 62}, TPoint{451, 62}})
        EXPECT_EQ(ScreenAt(p), ActivityArt::ButtonUpValue) << p.X << "," << p.Y;
}

TEST_F(RoomTest, ThumbnailsNeverShowTheSelectionOutline) {
    auto outlinePixels = [&] {
        int count = 0;
        for (int32_t y = 0; y < 79; ++y)
            for (int32_t x = 0; x < 129; ++x)
                count += Thumbs[1]->ImageData().GetPixel({x, y}) == SelectionColour;
        return count;
    };
    // Each change below leaves an object selected on the screen.
    const std::vector<std::pair<const char*, std::function<void()>>> changes = {
        {"add", [&] { PressButton(5); }},
        {"add another", [&] { PressButton(6); }},
        {"select", [&] { ClickIcon(1); }},
        {"mirror", [&] { ClickTool("FLOP"); }},
        {"halve", [&] { ClickTool("HALF"); }},
        {"let the button up", [&] { Ticks(6); }},
    };
    for (const auto& [name, change] : changes) {
        change();
        ASSERT_NE(Room->GetSelectedIcon(), 0) << name;
        EXPECT_EQ(outlinePixels(), 0) << "after " << name;
    }
}
