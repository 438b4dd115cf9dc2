#include "EngineFixture.h"

#include "foundation/KelException.h"
#include "image/HotImage.h"

using ::testing::ElementsAre;

namespace {
const std::string QuitQuestion = "\r\n\r\nQuit game?";
}

class RoomChangeTest : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        MakeWorld(StandardRooms);
    }
};

TEST_F(RoomChangeTest, StartEntersTheStartRoomDrawsItAndSetsTheTitle) {
    Game->FindRoom("A")->SetCaption("Room A");
    Game->Start();
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("A"));
    EXPECT_THAT(Room("A").Log, ElementsAre("enter:"));
    EXPECT_THAT(Window.Titles, ElementsAre("Room A"));
    EXPECT_TRUE(Game->FindRoom("A")->HasFlag(rfDrawn));
    EXPECT_FALSE(Game->HasFlag(wfBusy));
    // The picture is on the screen: pixel (3,1) of the pattern is 3 + 512.
    EXPECT_EQ(Game->Screen()->GetPixel({3, 1}), static_cast<uint8_t>(3 + 512));
    EXPECT_TRUE(Platform.Messages.empty());
}

TEST_F(RoomChangeTest, UnknownRoomShowsA1ThenNilPointerAndTheGameStays) {
    Game->Start();
    Game->FindRoom("A")->AddTimer(tsFlash, 5);
    Game->GoRoom("NOWHERE");
    EXPECT_THAT(Texts(), ElementsAre("GoRoom: exception A1 caught", "NIL pointer detected" + QuitQuestion));
    EXPECT_EQ(Platform.Messages[0].Kind, MessageKind::Plain);
    EXPECT_EQ(Platform.Messages[1].Buttons, MessageButtons::YesNo);
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("A"));
    EXPECT_TRUE(Game->FindRoom("A")->Timers.IsEmpty());
    EXPECT_FALSE(Game->HasFlag(wfQuit));
    EXPECT_FALSE(Game->HasFlag(wfBusy));
    EXPECT_TRUE(Game->RoomStack.IsEmpty());
}

TEST_F(RoomChangeTest, AnsweringYesToTheReportQuits) {
    Platform.Answers.push_back(MessageResult::Yes);
    Game->GoRoom("NOWHERE");
    EXPECT_TRUE(Game->HasFlag(wfQuit));
}

TEST_F(RoomChangeTest, GoRoomToTheCurrentRoomLeavesPushesAndEntersAgain) {
    Game->Start();
    Game->GoRoom("a");
    EXPECT_THAT(Room("A").Log, ElementsAre("enter:", "leave", "enter:A"));
    EXPECT_THAT(StackIDs(), ElementsAre("A"));
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("A"));
}

TEST_F(RoomChangeTest, MarkedRoomSetsLeavingMarkedOnlyDuringTheChange) {
    Game->Start();
    Game->FindRoom("A")->Flags |= rfMarked;
    Game->GoRoom("B");
    EXPECT_THAT(Room("B").Log, ElementsAre("enter:A:marked"));
    EXPECT_FALSE(Game->HasFlag(wfLeavingMarked));
}

TEST_F(RoomChangeTest, RoomStackKeepsTheTenNewestEntries) {
    for (int i = 0; i < 12; ++i)
        Game->GoRoom(i % 2 ? "B" : "A");
    EXPECT_EQ(Game->RoomStack.Count(), TRoomStack::Limit);
    Game->RoomStack.Clear();
    Game->GoRoom("C");
    for (int i = 1; i <= 11; ++i)
        Game->GoRoom(i == 1 ? "A" : "B");
    // Left: C, A, then B nine times; C has dropped off the front.
    EXPECT_EQ(Game->RoomStack.Count(), 10);
    EXPECT_EQ(StackIDs().front(), "A");
}

TEST_F(RoomChangeTest, GoBackAfterABCLeavesOnlyAInB) {
    Game->GoRoom("A");
    Game->GoRoom("B");
    Game->GoRoom("C");
    Game->GoBack();
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("B"));
    EXPECT_THAT(StackIDs(), ElementsAre("A"));
}

TEST_F(RoomChangeTest, GoBackWithAnEmptyStackOrARoomlessEntryDoesNothing) {
    Game->GoRoom("A");
    Game->GoBack();
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("A"));
    Game->RoomStack.Push(nullptr);
    Game->GoBack();
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("A"));
    EXPECT_TRUE(Game->RoomStack.IsEmpty());
    EXPECT_TRUE(Platform.Messages.empty());
}

TEST_F(RoomChangeTest, GoBackIntoTheCurrentRoomDoesNotGrowTheStack) {
    Game->GoRoom("A");
    Game->GoRoom("A"); // stack [A], in A
    Game->GoBack();
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("A"));
    EXPECT_TRUE(Game->RoomStack.IsEmpty());
}

TEST_F(RoomChangeTest, KelErrorInEnterIsReportedAndTheRoomStillBecomesCurrent) {
    Game->GoRoom("A");
    Room("B").OnEnter = [] { throw StdException("Enter: broken"); };
    Game->GoRoom("B");
    EXPECT_THAT(Texts(), ElementsAre("Enter: broken" + QuitQuestion));
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("B"));
}

TEST_F(RoomChangeTest, OtherErrorInEnterIsAnnouncedAtCAndFAndPassedOn) {
    Game->GoRoom("A");
    Room("B").OnEnter = [] { throw std::runtime_error("boom"); };
    EXPECT_THROW(Game->GoRoom("B"), std::runtime_error);
    EXPECT_THAT(Texts(), ElementsAre("GoRoom: exception C caught", "GoRoom: exception F caught"));
    EXPECT_FALSE(Game->HasFlag(wfBusy));
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("A"));
}

TEST_F(RoomChangeTest, MissingPictureIsReportedAndTheRoomStillBecomesCurrent) {
    Game->FindRoom("B")->SetPictureName("nosuch");
    Game->GoRoom("B");
    ASSERT_EQ(Texts().size(), 1u);
    EXPECT_NE(Texts()[0].find("Quit game?"), std::string::npos);
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("B"));
}

TEST_F(RoomChangeTest, LeavingReleasesThePictureAndFrameSets) {
    Game->GoRoom("A");
    EXPECT_NE(Game->FindRoom("A")->GetPictureNode(), nullptr);
    Game->GoRoom("B");
    EXPECT_EQ(Game->FindRoom("A")->GetPictureNode(), nullptr);
    EXPECT_FALSE(Game->FindRoom("A")->HasFlag(rfDrawn));
}

TEST_F(RoomChangeTest, DrawWithoutScreenRaisesInvalidImageData) {
    TRoom room("X");
    try {
        room.Draw(nullptr);
        FAIL();
    } catch (const StdException& e) {
        EXPECT_STREQ(e.what(), "Display: invalid ImageData");
    }
}

TEST_F(RoomChangeTest, UnknownScriptNamesTheScript) {
    TRoom room("X");
    try {
        room.RunScript("FOO", "");
        FAIL();
    } catch (const StdException& e) {
        EXPECT_STREQ(e.what(), "Caught an attempt to run an unknown script called \"FOO\"");
    }
}

TEST_F(RoomChangeTest, BusyStateShowsTheHourglassAndIsIdempotent) {
    Platform.ScreenCursors.clear();
    Game->SetBusy(true);
    Game->SetBusy(true);
    Game->SetBusy(false);
    EXPECT_THAT(Platform.ScreenCursors, ElementsAre(ScreenCursor::Hourglass, ScreenCursor::Default));
}

// ---- The tick ----

class TickTest : public RoomChangeTest {};

TEST_F(TickTest, CountZeroStillRunsTimersAndFlushesButKeepsTheCount) {
    Game->Start();
    Game->FindRoom("A")->AddTimer(tsTimer, 0);
    View.Blits.clear();
    Game->Tick(0);
    EXPECT_EQ(Game->TickCount(), 0);
    EXPECT_THAT(Room("A").Log, ElementsAre("enter:", "script::TIMER"));
    EXPECT_FALSE(View.Blits.empty());
    EXPECT_FALSE(Game->Screen()->IsDirty());
    EXPECT_EQ(View.SelectedPalette(), nullptr); // put back after the flush
    // Shown through the library palette: grey level = index.
    EXPECT_EQ(View.Pixel(3, 0), 0xFF030303u);
}

TEST_F(TickTest, NestedTickIsIgnoredEntirely) {
    Game->Start();
    Room("A").OnScript = [this](const std::string&, const std::string&) { Game->Tick(5); };
    Game->FindRoom("A")->AddTimer(tsTimer, 0);
    Game->Tick(1);
    EXPECT_EQ(Game->TickCount(), 1);
}

TEST_F(TickTest, KelErrorInATimerIsReportedAndTheCountNotAdded) {
    Game->Start();
    Room("A").OnScript = [](const std::string&, const std::string&) { throw StdException("Timer: broken"); };
    Game->FindRoom("A")->AddTimer(tsTimer, 0);
    Game->FindRoom("A")->AddTimer(tsFlash, 0);
    Game->Tick(1);
    EXPECT_EQ(Game->TickCount(), 0);
    EXPECT_THAT(Texts(), ElementsAre("Timer: broken" + QuitQuestion));
    // The failing one is gone, the other still pending.
    ASSERT_EQ(Game->FindRoom("A")->Timers.Count(), 1);
    EXPECT_EQ(Game->FindRoom("A")->Timers.Head()->Kind, tsFlash);
    Room("A").OnScript = nullptr;
    Game->Tick(1); // the guard was released
    EXPECT_EQ(Game->TickCount(), 1);
}

TEST_F(TickTest, OtherErrorsEndTheTickAndPassOn) {
    Game->Start();
    Room("A").OnScript = [](const std::string&, const std::string&) { throw std::logic_error("bad"); };
    Game->FindRoom("A")->AddTimer(tsTimer, 0);
    EXPECT_THROW(Game->Tick(1), std::logic_error);
    Room("A").OnScript = nullptr;
    Game->Tick(1);
    EXPECT_EQ(Game->TickCount(), 1);
}

TEST_F(TickTest, ShiftNoticesOnlyInRoomsThatWantThem) {
    Game->Start();
    Platform.Shift = true;
    Game->Tick(1);
    EXPECT_TRUE(Game->HasFlag(wfShift));
    EXPECT_THAT(Room("A").Log, ElementsAre("enter:"));
    Game->FindRoom("A")->Flags |= rfWantsShift;
    Platform.Shift = false;
    Game->Tick(1);
    Platform.Shift = Platform.Ctrl = true;
    Game->Tick(1);
    Game->Tick(1); // no change, no notice
    EXPECT_THAT(Room("A").Log, ElementsAre("enter:", "script:SHIFT:sc", "script:SHIFT:SC"));
    EXPECT_TRUE(Game->HasFlag(wfCtrl));
}

TEST_F(TickTest, CursorRefreshHappensOnTheNextTickOnce) {
    Game->Start();
    Game->RequestCursorRefresh();
    Game->Tick(1);
    Game->Tick(1);
    EXPECT_EQ(Platform.PointerRefreshes, 1);
}

TEST_F(TickTest, QuietOnlyWhenATickWouldChangeNothing) {
    Game->Start();
    Game->Tick(1); // shows what the start drew
    EXPECT_TRUE(Game->IsQuiet());
    Game->FindRoom("A")->AddTimer(tsTimer, 3);
    EXPECT_FALSE(Game->IsQuiet()) << "a pending timer";
    Game->FindRoom("A")->CancelTimers();
    Game->RequestCursorRefresh();
    EXPECT_FALSE(Game->IsQuiet()) << "a pointer refresh";
    Game->Tick(1);
    Game->Screen()->AddDamage({0, 0, 4, 4});
    EXPECT_FALSE(Game->IsQuiet()) << "undrawn damage";
    Game->FlushView();
    EXPECT_TRUE(Game->IsQuiet());
    Game->SetBusy(true);
    EXPECT_FALSE(Game->IsQuiet()) << "busy";
    Game->SetBusy(false);
    Game->Flags |= wfQuit;
    EXPECT_FALSE(Game->IsQuiet()) << "a quit to carry out";
}

TEST_F(TickTest, IdleIsClearedOnlyWithACurrentRoom) {
    Game->Flags |= wfIdle;
    Game->Tick(1);
    EXPECT_TRUE(Game->HasFlag(wfIdle));
    Game->Start();
    Game->Tick(1);
    EXPECT_FALSE(Game->HasFlag(wfIdle));
}

// ---- Timer scripts ----

class TimerTest : public RoomChangeTest {};

TEST_F(TimerTest, DelayFortyFromCountHundredRunsAtOneHundredForty) {
    Game->Start();
    Game->Tick(100);
    TRoom& a = *Game->FindRoom("A");
    a.AddTimer(tsTimer, 40);
    EXPECT_EQ(a.FindTimer(tsTimer)->DueTick, 140);
    Ticks(39);
    EXPECT_EQ(Room("A").Log.size(), 1u);
    Ticks(1);
    EXPECT_EQ(Game->TickCount(), 140);
    EXPECT_EQ(Room("A").Log.size(), 1u);
    Ticks(1); // the tick that starts at 140
    EXPECT_THAT(Room("A").Log, ElementsAre("enter:", "script::TIMER"));
}

TEST_F(TimerTest, CancelTimerRemovesOnlyTheOlderOfTwo) {
    TRoom& a = *Game->FindRoom("A");
    a.AddTimer(tsFlash, 3);
    a.AddTimer(tsFlash, 9);
    a.CancelTimer(tsFlash);
    ASSERT_EQ(a.Timers.Count(), 1);
    EXPECT_EQ(a.FindTimer(tsFlash)->DueTick, 9);
    EXPECT_EQ(a.FindTimer(tsDelay), nullptr);
}

TEST_F(TimerTest, ARoomChangeFromATimerStopsThePass) {
    Game->Start();
    Room("A").OnScript = [this](const std::string&, const std::string& argument) {
        if (argument == "DELAY") Game->GoRoom("B");
    };
    TRoom& a = *Game->FindRoom("A");
    a.AddTimer(tsDelay, 0);
    a.AddTimer(tsTimer, 0);
    a.AddTimer(tsFlash, 0);
    Game->Tick(1);
    EXPECT_THAT(Room("A").Log, ElementsAre("enter:", "script::DELAY", "leave"));
    EXPECT_TRUE(a.Timers.IsEmpty());
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("B"));
}

TEST_F(TimerTest, DueTimersRunInOrderAndOnlyInTheCurrentRoom) {
    Game->Start();
    Game->FindRoom("B")->AddTimer(tsTimer, 0);
    TRoom& a = *Game->FindRoom("A");
    a.AddTimer(tsFlash, 0);
    a.AddTimer(tsTimer, 0);
    a.AddTimer(tsRelease, 5);
    Game->Tick(1);
    EXPECT_THAT(Room("A").Log, ElementsAre("enter:", "script::FLASH", "script::TIMER"));
    EXPECT_THAT(Room("B").Log, ElementsAre());
    Game->GoRoom("B"); // cancels A's remaining timer
    EXPECT_TRUE(a.Timers.IsEmpty());
}

TEST_F(TimerTest, KindsEightToElevenGoToThePictureRooms) {
    Game->Start();
    Game->FindRoom("A")->AddTimer(9, 0);
    Game->Tick(1);
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("VOREL2"));
}

// ---- Start-up, paint ----

namespace {
class TMiniatureRoom : public TRoom {
public:
    using TRoom::TRoom;
    void DrawMiniature(TZQ5ImageData& surface, TPoint point) override {
        surface.FillRect(MakeBounds(point.X, point.Y, 1, 1), 99);
    }
};
} // namespace

class StartUpTest : public EngineFixture {};

TEST_F(StartUpTest, InitialiseMakesTheScreenAndDrawsTheMiniatures) {
    auto thumb = THotImage::CreateBlankInLibrary(129, Library, 79);
    PictureThumbs[3] = thumb.get();
    MakeWorld([](TWorld& world) {
        world.AddRoom(std::make_unique<TMiniatureRoom>("VOREL3"));
        world.AddRoom(std::make_unique<TMiniatureRoom>("VOREL4")); // no thumbnail: skipped
    });
    PictureThumbs[3] = nullptr;
    ASSERT_NE(Game->Screen(), nullptr);
    EXPECT_EQ(Game->Screen()->Width, PlayAreaWidth);
    EXPECT_EQ(Game->Screen()->Height, PlayAreaHeight);
    EXPECT_EQ(thumb->ImageData().GetPixel({2, 2}), 99);
    EXPECT_EQ(thumb->ImageData().GetPixel({1, 1}), 0);
    Game.reset();
}

TEST_F(StartUpTest, PaintShowsTheClipThroughThePalette) {
    MakeWorld(StandardRooms);
    Game->Start();
    Game->Tick(1);
    View.Blits.clear();
    Game->ViewPaint({10, 10, 20, 20});
    ASSERT_FALSE(View.Blits.empty());
    EXPECT_EQ(View.Pixel(12, 10), 0xFF000000u | 0x010101u * static_cast<uint8_t>(12 + 10 * 512));
    EXPECT_EQ(View.SelectedPalette(), nullptr);
}

TEST_F(StartUpTest, WorldIsTheProgramWideReferenceWhileItLives) {
    MakeWorld([](TWorld&) {});
    EXPECT_EQ(World, Game.get());
    Game.reset();
    EXPECT_EQ(World, nullptr);
}

TEST_F(StartUpTest, FlippedAndMirroredPicturesAreDrawnSo) {
    MakeWorld(StandardRooms);
    Game->FindRoom("A")->Flags |= rfMirrorPicture | rfFlipPicture;
    Game->GoRoom("A");
    EXPECT_EQ(Game->Screen()->GetPixel({0, 0}), static_cast<uint8_t>(511 + 319 * 512));
}
