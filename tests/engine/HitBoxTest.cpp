#include "EngineFixture.h"

#include "foundation/KelException.h"

using ::testing::ElementsAre;

namespace {
template <class Box> Box& AddBox(TRoom& room, const std::string& id, const TRect& bounds) {
    return static_cast<Box&>(*room.AddHitBox(std::make_unique<Box>(id, bounds)));
}
} // namespace

class HitBoxTest : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        MakeWorld(StandardRooms);
        Game->Start();
        A = Game->FindRoom("A");
    }
    TRoom* A = nullptr;
};

TEST_F(HitBoxTest, HalfOpenBoundsAndDisabledBoxesContainNothing) {
    THitBox box("b", {10, 20, 30, 40});
    EXPECT_EQ(box.GetID(), "B");
    EXPECT_TRUE(box.Contains(10, 20));
    EXPECT_TRUE(box.Contains(29, 39));
    EXPECT_FALSE(box.Contains(30, 25));
    EXPECT_FALSE(box.Contains(15, 40));
    box.SetEnabled(false);
    EXPECT_FALSE(box.Contains(15, 25));
    EXPECT_FALSE(THitBox("e", {5, 5, 5, 9}).Contains(5, 6));
}

TEST_F(HitBoxTest, CursorKindsAndDefaults) {
    THitBox box("b", {0, 0, 1, 1});
    EXPECT_EQ(box.CursorAt(0, 0), ckDefault);
    box.SetCursorKind(ckDynamic1);
    EXPECT_EQ(box.CursorAt(0, 0), 2);
    box.SetCursorKind(ckNone);
    EXPECT_EQ(box.CursorAt(0, 0), ckNone);
    box.SetEnabled(false);
    EXPECT_EQ(box.CursorAt(0, 0), ckDefault);
    EXPECT_EQ(TScriptBox("s", {}).CursorKind, ckAction);
    EXPECT_EQ(TRoomScriptBox("r", {}).CursorKind, ckAction);
    EXPECT_EQ(TGoBox("g", {}).CursorKind, ckDefault);
    TControlBox control("c", {});
    EXPECT_TRUE(control.IsControl);
    EXPECT_EQ(control.CursorKind, ckAction);
}

TEST_F(HitBoxTest, NewestBoxIsFoundFirstAndADisabledOneIsSkipped) {
    AddBox<TGoBox>(*A, "LOW", {0, 0, 100, 100}).SetTarget("B");
    auto& top = AddBox<TGoBox>(*A, "TOP", {50, 50, 150, 150});
    top.SetTarget("C");
    EXPECT_EQ(A->HitBoxes.FindAt(60, 60)->GetID(), "TOP");
    top.SetEnabled(false);
    EXPECT_EQ(A->HitBoxes.FindAt(60, 60)->GetID(), "LOW");
    Game->ViewMouseMove({}, 120, 120); // over the disabled box alone
    EXPECT_EQ(Platform.PlayAreaCursors.back(), ckDefault);
    Game->ViewMouseDown(0, ssLeft, 60, 60);
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("B"));
}

TEST_F(HitBoxTest, GetBoxRaisesNilPointerForAnUnknownID) {
    AddBox<THitBox>(*A, "X", {0, 0, 1, 1});
    EXPECT_EQ(A->HitBoxes.GetBox("x").GetID(), "X");
    try {
        A->HitBoxes.GetBox("Y");
        FAIL();
    } catch (const SHException& e) {
        EXPECT_STREQ(e.what(), "NIL pointer detected");
    }
    EXPECT_EQ(A->FindHitBox("y"), nullptr);
}

TEST_F(HitBoxTest, PlainBoxesActAtOnce) {
    AddBox<TGoBox>(*A, "GO", {0, 0, 10, 10}).SetTarget("B");
    Game->ViewMouseDown(0, ssLeft, 5, 5);
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("B"));
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    AddBox<TReturnBox>(*Game->FindRoom("B"), "BACK", {0, 0, 10, 10});
    Game->ViewMouseDown(0, ssLeft, 5, 5);
    EXPECT_EQ(Game->CurrentRoom(), A);
    AddBox<TRoomScriptBox>(*A, "RS", {20, 0, 30, 10}).SetScript("start");
    Game->ViewMouseDown(0, ssLeft, 25, 5);
    EXPECT_EQ(Room("A").Log.back(), "script:START:RS");
}

TEST_F(HitBoxTest, ScriptBoxExitKinds) {
    auto& box = AddBox<TScriptBox>(*A, "Q", {0, 0, 10, 10});
    box.SetExitKind("Whatever");
    Game->ViewMouseDown(0, ssLeft, 5, 5);
    EXPECT_FALSE(Game->HasFlag(wfQuit));
    box.SetExitKind("MaybeExitGame");
    Game->ViewMouseDown(0, ssLeft, 5, 5); // answered No
    EXPECT_THAT(Texts(), ElementsAre("Do you really want to quit the game?"));
    EXPECT_FALSE(Game->HasFlag(wfQuit));
    Platform.Answers.push_back(MessageResult::Yes);
    Game->ViewMouseDown(0, ssLeft, 5, 5);
    EXPECT_TRUE(Game->HasFlag(wfQuit));
    Game->Flags = 0;
    box.SetExitKind("EXITGAME");
    Game->ViewMouseDown(0, ssLeft, 5, 5);
    EXPECT_TRUE(Game->HasFlag(wfQuit));
}

TEST_F(HitBoxTest, PressAcceptedByTheRoomCapturesUntilReleased) {
    auto& box = AddBox<TControlBox>(*A, "CTL", {100, 100, 150, 120});
    Game->Tick(50);
    Game->ViewMouseDown(1, ssShift | ssRight, 110, 105);
    EXPECT_EQ(Game->CapturedBox(), &box);
    EXPECT_EQ(box.LocalX, 10);
    EXPECT_EQ(box.LocalY, 5);
    EXPECT_EQ(box.Button, 1);
    EXPECT_EQ(box.ShiftState, ssShift | ssRight);
    EXPECT_EQ(Platform.PlayAreaCursors.back(), ckAction);
    // Drags go to the captured box wherever the pointer is.
    Game->ViewMouseMove({}, 400, 300);
    EXPECT_FALSE(Room("A").LastInside);
    EXPECT_EQ(box.LocalX, 300);
    Game->Tick(3);
    Game->Tick(1);
    EXPECT_EQ(box.HeldFor, 3); // ticks since the press
    Game->ViewMouseUp(1, {}, 120, 110);
    EXPECT_TRUE(Room("A").LastInside);
    EXPECT_THAT(Room("A").Actions, ElementsAre(caPress, caDrag, caHold, caHold, caRelease));
    EXPECT_EQ(Game->CapturedBox(), &box); // the room said true
    Room("A").ControlResult = false;
    Game->ViewMouseUp(1, {}, 120, 110);
    EXPECT_EQ(Game->CapturedBox(), nullptr);
}

TEST_F(HitBoxTest, APressActsOnTheKeysHeldWithItBeforeAnyTickSawThem) {
    A->Flags |= rfWantsShift;
    AddBox<TRoomScriptBox>(*A, "BTN", {0, 0, 10, 10}).SetScript("BTN");
    Platform.Shift = true;
    Game->ViewMouseDown(0, ssShift | ssLeft, 5, 5);
    EXPECT_TRUE(Game->HasFlag(wfShift));
    // The room hears of the change before the press reaches it, once.
    EXPECT_THAT(Room("A").Log, ElementsAre("enter:", "script:SHIFT:Sc", "script:BTN:BTN"));
    Game->Tick(1);
    EXPECT_EQ(Room("A").Log.size(), 3u);
}

TEST_F(HitBoxTest, RefusedPressTakesNoCaptureAndMovesAreRoutedByPosition) {
    Room("A").ControlResult = false;
    AddBox<TControlBox>(*A, "CTL", {100, 100, 150, 120});
    AddBox<TGoBox>(*A, "GO", {0, 0, 10, 10}).SetCursorKind(ckTake);
    Game->ViewMouseDown(0, ssLeft, 110, 105);
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    Game->ViewMouseMove({}, 5, 5);
    EXPECT_EQ(Platform.PlayAreaCursors.back(), ckTake);
    Game->ViewMouseMove({}, 300, 300);
    EXPECT_EQ(Platform.PlayAreaCursors.back(), ckDefault);
    EXPECT_THAT(Room("A").Actions, ElementsAre(caPress)); // no drags, no hover
}

TEST_F(HitBoxTest, APressOutsideEveryBoxClearsTheCaptureWithoutACursorRefresh) {
    AddBox<TControlBox>(*A, "CTL", {100, 100, 150, 120});
    Game->ViewMouseDown(0, ssLeft, 110, 105);
    ASSERT_NE(Game->CapturedBox(), nullptr);
    Game->Tick(1);
    int refreshes = Platform.PointerRefreshes;
    Game->ViewMouseDown(0, ssLeft, 400, 300);
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    Game->Tick(1);
    EXPECT_EQ(Platform.PointerRefreshes, refreshes);
}

TEST_F(HitBoxTest, HoverCapturesOnlyBoxesThatTrackIt) {
    auto& box = AddBox<TControlBox>(*A, "CTL", {100, 100, 150, 120});
    Game->ViewMouseMove({}, 110, 110);
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    box.TracksHover = true;
    Game->ViewMouseMove({}, 110, 110);
    EXPECT_EQ(Game->CapturedBox(), &box);
    EXPECT_THAT(Room("A").Actions, ElementsAre(caHover));
    Room("A").ControlResult = false;
    Game->ViewMouseMove({}, 10, 10); // the drag ends the hover capture
    EXPECT_EQ(Game->CapturedBox(), nullptr);
}

TEST_F(HitBoxTest, BusyWorldIgnoresPressesAndMovesButNotReleases) {
    AddBox<TGoBox>(*A, "GO", {0, 0, 10, 10}).SetTarget("B");
    Game->SetBusy(true);
    Game->ViewMouseDown(0, ssLeft, 5, 5);
    EXPECT_EQ(Game->CurrentRoom(), A);
    Game->SetBusy(false);
    auto& box = AddBox<TControlBox>(*A, "CTL", {100, 100, 150, 120});
    Game->ViewMouseDown(0, ssLeft, 110, 105);
    Game->SetBusy(true);
    Room("A").ControlResult = false;
    Game->ViewMouseUp(0, {}, 110, 105);
    EXPECT_EQ(Room("A").Actions.back(), caRelease);
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    (void)box;
}

TEST_F(HitBoxTest, HandlersReportKelErrorsAndPassOthersOn) {
    AddBox<TGoBox>(*A, "GO", {0, 0, 10, 10}).SetTarget("");
    Game->ViewMouseDown(0, ssLeft, 5, 5);
    EXPECT_THAT(Texts(),
                ElementsAre("GoRoom: exception A1 caught", "NIL pointer detected\r\n\r\nQuit game?"));
    Platform.Messages.clear();
    Room("A").OnScript = [](const std::string&, const std::string&) { throw std::logic_error("x"); };
    AddBox<TRoomScriptBox>(*A, "RS", {20, 0, 30, 10});
    EXPECT_THROW(Game->ViewMouseDown(0, ssLeft, 25, 5), std::logic_error);
    EXPECT_THAT(Texts(), ElementsAre("ViewMouseDown: exception caught"));
}

TEST_F(HitBoxTest, ExitScriptKinds) {
    RunExitScript(ekNone);
    EXPECT_FALSE(Game->HasFlag(wfQuit));
    RunExitScript(ekQuit);
    EXPECT_TRUE(Game->HasFlag(wfQuit));
    EXPECT_TRUE(Platform.Messages.empty());
}

TEST_F(HitBoxTest, ARoomChangeEndsTheCaptureOfABoxOfTheRoomLeft) {
    AddBox<TControlBox>(*A, "CTL", {100, 100, 150, 120});
    AddBox<TControlBox>(*Game->FindRoom("B"), "CTL", {100, 100, 150, 120});
    Game->ViewMouseDown(0, ssLeft, 110, 105);
    ASSERT_NE(Game->CapturedBox(), nullptr);
    A->AddTimer(9, 0); // goes to VOREL2
    Game->Tick(1);
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    Game->Tick(1);
    Game->ViewMouseMove({}, 110, 105);
    EXPECT_TRUE(Room("VOREL2").Actions.empty());
    EXPECT_THAT(Room("A").Actions, ElementsAre(caPress, caHold));
}

// Loading a saved game replaces the boxes of the rooms it holds. When a drag or
// a release does that, the captured box is gone by the time the action returns:
// the world must end the capture and never ask the old box for its cursor.
class ReplacedBoxesTest : public HitBoxTest {
protected:
    void SetUp() override {
        HitBoxTest::SetUp();
        AddBox<TControlBox>(*A, "CTL", {100, 100, 150, 120}).SetCursorKind(ckTake);
        Game->SaveGame('2', false);
        Game->ViewMouseDown(0, ssLeft, 110, 105);
        ASSERT_NE(Game->CapturedBox(), nullptr);
        CursorsBefore = Platform.PlayAreaCursors.size();
    }
    void LoadOn(ControlAction action) {
        Room("A").OnControl = [this, action](ControlAction seen) {
            if (seen == action) Game->LoadGame('2');
        };
    }
    // The loaded box answers a new press as the old one did.
    void ExpectTheLoadedBoxWorks() {
        Room("A").OnControl = nullptr;
        THitBox* loaded = A->HitBoxes.FindBox("CTL");
        ASSERT_NE(loaded, nullptr);
        Game->ViewMouseDown(0, ssLeft, 110, 105);
        EXPECT_EQ(Game->CapturedBox(), loaded);
        EXPECT_EQ(Platform.PlayAreaCursors.back(), ckTake);
    }
    size_t CursorsBefore = 0;
};

TEST_F(ReplacedBoxesTest, ADragThatReplacesTheBoxesEndsTheCapture) {
    LoadOn(caDrag);
    Game->ViewMouseMove({}, 120, 110);
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    EXPECT_EQ(Platform.PlayAreaCursors.size(), CursorsBefore);
    EXPECT_EQ(Game->CurrentRoom(), A);
    EXPECT_FALSE(Game->HasFlag(wfBusy));
    // With nothing captured, the next move is routed by position.
    Game->ViewMouseMove({}, 120, 110);
    EXPECT_THAT(Room("A").Actions, ElementsAre(caPress, caDrag));
    ExpectTheLoadedBoxWorks();
}

TEST_F(ReplacedBoxesTest, AReleaseThatReplacesTheBoxesEndsTheCapture) {
    LoadOn(caRelease);
    Game->ViewMouseUp(0, {}, 120, 110);
    EXPECT_EQ(Game->CapturedBox(), nullptr);
    EXPECT_EQ(Platform.PlayAreaCursors.size(), CursorsBefore);
    EXPECT_FALSE(Game->HasFlag(wfBusy));
    Game->ViewMouseUp(0, {}, 120, 110); // a second release reaches nothing
    EXPECT_THAT(Room("A").Actions, ElementsAre(caPress, caRelease));
    ExpectTheLoadedBoxWorks();
}
