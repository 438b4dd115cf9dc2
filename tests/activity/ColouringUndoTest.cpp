// Undo and redo in the colouring room, driven through the world as a child
// drives it: clicks on the picture, the buttons, the icons and the tools, and
// the keyboard command that the window's buttons and keys send.

#include "RoomTestSupport.h"

#include "activity/ObjectTable.h"
#include "activity/RandomColour.h"
#include "activity/VorelDrawing.h"
#include "foundation/ByteStream.h"

#include <functional>
#include <random>
#include <string>

namespace {

// What the child sees and what a saved game would hold.
struct Look {
    std::vector<uint8_t> Screen;
    std::vector<uint8_t> Record; // the room's record in a saved game
    std::vector<uint8_t> Thumbnail;
};

std::vector<uint8_t> PixelsOf(TZQ5ImageData& surface, int32_t width, int32_t height) {
    std::vector<uint8_t> pixels;
    pixels.reserve(static_cast<size_t>(width * height));
    for (int32_t y = 0; y < height; ++y)
        for (int32_t x = 0; x < width; ++x)
            pixels.push_back(surface.GetPixel({x, y}));
    return pixels;
}

// The picture's own bytes: the colour set, bank and colour in use are the
// child's tools, which undo leaves alone.
std::vector<uint8_t> WithoutTools(std::vector<uint8_t> state) {
    size_t size = state.size();
    for (size_t fromEnd : {20u, 18u, 17u})
        state[size - fromEnd] = 0;
    return state;
}

} // namespace

class UndoTest : public RoomTest {
protected:
    Look Capture() {
        return {PixelsOf(*TheWorld->Screen(), 512, 320), SavedState(*Room),
                PixelsOf(Thumbs[1]->ImageData(), 129, 79)};
    }
    // To another picture and back, as by the thumbnails: the selection goes.
    void Reenter() {
        TheWorld->GoRoom("VOREL2");
        TheWorld->GoRoom("VOREL1");
    }
    bool Undo() { return TheWorld->KeyCommand("UNDO"); }
    bool Redo() { return TheWorld->KeyCommand("REDO"); }
    void ExpectLooks(const Look& actual, const Look& expected, const std::string& what) {
        EXPECT_TRUE(actual.Screen == expected.Screen) << what << ": the screen differs";
        EXPECT_EQ(actual.Record, expected.Record) << what << ": the saved-game bytes differ";
        EXPECT_TRUE(actual.Thumbnail == expected.Thumbnail) << what << ": the thumbnail differs";
    }
    TPoint Centre(int number) {
        TRect bounds = Room->Picture().Object(number)->Bounds();
        return {(bounds.Left + bounds.Right) / 2, (bounds.Top + bounds.Bottom) / 2};
    }
    void Drag(int number, TPoint by) {
        TPoint from = PtAdd(Centre(number), TVorelRoom::PictureOrigin);
        TheWorld->ViewMouseDown(0, ssLeft, from.X, from.Y);
        TheWorld->ViewMouseMove(ssLeft, from.X + by.X / 2, from.Y + by.Y / 2);
        TheWorld->ViewMouseMove(ssLeft, from.X + by.X, from.Y + by.Y);
        TheWorld->ViewMouseUp(0, ssLeft, from.X + by.X, from.Y + by.Y);
    }
    void Eraser(bool shift, bool ctrl, bool answerYes = true) {
        Keys(shift, ctrl);
        if (shift) Platform.Answers.push_back(answerYes ? MessageResult::Yes : MessageResult::No);
        ClickTool("ERASER");
        Platform.Answers.clear(); // unasked when the eraser was off
        Keys(false, false);
    }
};

TEST_F(UndoTest, EveryKindOfStepIsUndoneAndRedoneExactly) {
    // Three objects, the top one in random colours, and a filled background.
    AddObjects(2);
    Keys(true, false);
    PressButton(7);
    Keys(false, false);
    Ticks(6);
    ClickPicture({5, 5});
    Click(93 + 10, 277 + 10); // colour button 2 for the fills below
    const int top = 3;

    struct Kind {
        const char* Name;
        std::function<void()> Act;
    };
    const std::vector<Kind> kinds = {
        {"fill",
         [&] {
             ClickPicture({360, 5});
         }},
        {"random fill",
         [&] {
             ClickPicture({360, 200}, ssShift | ssLeft);
         }},
        {"background", [&] { PressButton(2); }},
        {"add", [&] { PressButton(8); }},
        {"move",
         [&] {
             ClickIcon(top);
             Drag(top, {-60, 40});
         }},
        {"mirror",
         [&] {
             ClickIcon(top);
             ClickTool("FLOP");
         }},
        {"halve",
         [&] {
             ClickIcon(top);
             ClickTool("HALF");
         }},
        {"bring to front", [&] { ClickIcon(1); }},
        {"delete",
         [&] {
             ClickIcon(top);
             ClickTool("ERASER");
         }},
        {"delete all", [&] { Eraser(true, false); }},
        {"uncolour one",
         [&] {
             ClickIcon(top);
             Eraser(false, true);
         }},
        {"uncolour all", [&] { Eraser(true, true); }},
    };

    for (const Kind& kind : kinds) {
        Reenter();
        const Look before = Capture();
        const size_t steps = Room->History().UndoCount();
        kind.Act();
        EXPECT_EQ(Room->History().UndoCount(), steps + 1) << kind.Name << " is one step";
        EXPECT_FALSE(Room->History().CanRedo()) << kind.Name << " drops the steps to redo";
        Reenter();
        const Look after = Capture();
        ASSERT_NE(after.Record, before.Record) << kind.Name << " changed nothing";

        ASSERT_TRUE(Undo()) << kind.Name;
        ExpectLooks(Capture(), before, std::string(kind.Name) + " undone");
        EXPECT_EQ(Window.History, std::make_pair(steps > 0, true));
        ASSERT_TRUE(Redo()) << kind.Name;
        ExpectLooks(Capture(), after, std::string(kind.Name) + " redone");
        // Back to the same start for the next kind; its redo step stays until then.
        ASSERT_TRUE(Undo());
    }
    EXPECT_EQ(Platform.MessageTexts().size(), 2u) << "the eraser asks before deleting and uncolouring all";
}

TEST_F(UndoTest, UndoClearsTheSelectionAndLetsTheObjectButtonsUp) {
    AddObjects(1);
    PressButton(6); // still down: the release timer has not run
    ASSERT_EQ(Room->GetButtonState(6), 1);
    ASSERT_EQ(Room->GetSelectedIcon(), 2);
    ASSERT_TRUE(Undo());
    EXPECT_EQ(Room->GetObjectCount(), 1);
    EXPECT_EQ(Room->GetSelectedIcon(), 0);
    EXPECT_EQ(Room->GetButtonState(6), 0);
    EXPECT_EQ(Room->FindTimer(tsRelease), nullptr);
    EXPECT_TRUE(Box("FLOP").Disabled);
    EXPECT_FALSE(Room->Picture().Object(1)->Selected());
    EXPECT_EQ(ScreenAt({405, 19}), ActivityArt::ButtonDownValue); // the background's button stays down
    // The slot of the object taken back shows the strip as it was.
    EXPECT_EQ(ScreenAt({108 + 19 + 5, 255}), ActivityArt::RoomPictureValue);
}

TEST_F(UndoTest, AFullPictureGetsItsObjectButtonsBackOnUndo) {
    AddObjects(15);
    ASSERT_TRUE(Box("5").Disabled);
    ClickPicture({5, 5});
    ClickIcon(3);
    ClickTool("ERASER");
    EXPECT_FALSE(Box("5").Disabled);
    ASSERT_TRUE(Undo());
    EXPECT_EQ(Room->GetObjectCount(), 15);
    EXPECT_TRUE(Box("5").Disabled);
    EXPECT_NE(ScreenAt({405 + 6 + 3, 112 + 6 + 3}), 24 + 4 * 2) << "a full picture's buttons have no face";
    ASSERT_TRUE(Redo());
    EXPECT_EQ(Room->GetObjectCount(), 14);
    EXPECT_FALSE(Box("12").Disabled);
}

TEST_F(UndoTest, WhatChangesNothingIsNoStep) {
    AddObjects(2);
    const size_t steps = Room->History().UndoCount();
    ClickPicture({125, 5}); // a line
    ClickIcon(2);           // already on top
    Drag(2, {0, 0});        // let go where it was taken
    Eraser(true, false, false);
    Eraser(true, true, false);
    Room->RunScript("BRIGHT", "BRIGHT");
    Click(136 + 10, 277 + 10); // a colour button
    EXPECT_EQ(Room->History().UndoCount(), steps);
    // A press on a button still down only lets it up.
    PressButton(5);
    PressButton(5);
    EXPECT_EQ(Room->History().UndoCount(), steps + 1);
}

TEST_F(UndoTest, ColoursAndBankStayWhatTheChildChoseWhenUndoing) {
    ClickPicture({5, 5});
    Click(93 + 10, 277 + 10);
    Room->RunScript("BRIGHT", "BRIGHT");
    Room->RunScript("XPANEL2", "RIGHT");
    ASSERT_TRUE(Undo());
    EXPECT_EQ(Room->GetColour(), 2);
    EXPECT_TRUE(Room->GetBrightSet());
    EXPECT_EQ(Room->GetBank(), 2);
    EXPECT_EQ(ScreenAt({20, 20}), BlankBackgroundColour);
}

TEST_F(UndoTest, TheNextObjectGoesWhereItWouldHaveGone) {
    AddObjects(2);
    ClickPicture({5, 5}); // the cascade starts again from the centre
    AddObjects(1);
    ClickPicture({360, 5});
    ASSERT_TRUE(Undo());
    EXPECT_EQ(Room->Picture().NextPlacement(), TVorelDrawing::CascadeStep);
    PressButton(12);
    TVorelDrawingObject* added = Room->Picture().Object(4);
    ASSERT_NE(added, nullptr);
    TRect source = added->Bounds();
    EXPECT_EQ(added->Position(),
              (TPoint{(376 - RectWidth(source)) / 2 + 5, (225 - RectHeight(source)) / 2 + 3}));
}

TEST_F(UndoTest, ADragStillHeldEndsAsAStepOfItsOwn) {
    AddObjects(1);
    const TPoint start = Room->Picture().Object(1)->Position();
    TPoint from = PtAdd(Centre(1), TVorelRoom::PictureOrigin);
    TheWorld->ViewMouseDown(0, ssLeft, from.X, from.Y);
    TheWorld->ViewMouseMove(ssLeft, from.X + 30, from.Y + 10);
    ASSERT_TRUE(Undo());
    EXPECT_EQ(Room->Picture().Object(1)->Position(), start);
    // The rest of the drag finds no selected object and moves nothing.
    TheWorld->ViewMouseMove(ssLeft, from.X + 60, from.Y + 20);
    TheWorld->ViewMouseUp(0, ssLeft, from.X + 60, from.Y + 20);
    EXPECT_EQ(Room->Picture().Object(1)->Position(), start);
    ASSERT_TRUE(Redo());
    EXPECT_EQ(Room->Picture().Object(1)->Position(), PtAdd(start, {30, 10}));
}

TEST_F(UndoTest, EachPictureKeepsItsOwnStepsAndTheWindowShowsThem) {
    EXPECT_EQ(Window.History, std::make_pair(false, false));
    EXPECT_FALSE(Undo());
    ClickPicture({5, 5});
    EXPECT_EQ(Window.History, std::make_pair(true, false));
    TheWorld->GoRoom("VOREL2");
    auto* second = static_cast<TVorelRoom*>(TheWorld->FindRoom("VOREL2"));
    EXPECT_EQ(Window.History, std::make_pair(false, false));
    ClickPicture({5, 5});
    ClickPicture({200, 5});
    EXPECT_EQ(second->History().UndoCount(), 2u);
    TheWorld->GoRoom("TITLE");
    EXPECT_EQ(Window.History, std::make_pair(false, false));
    EXPECT_FALSE(Undo()) << "the title has nothing to undo";
    TheWorld->GoRoom("VOREL1");
    EXPECT_EQ(Window.History, std::make_pair(true, false));
    ASSERT_TRUE(Undo());
    EXPECT_EQ(ScreenAt({20, 20}), BlankBackgroundColour);
    EXPECT_EQ(Window.History, std::make_pair(false, true));
    EXPECT_EQ(second->History().UndoCount(), 2u);
}

TEST_F(UndoTest, LoadingASavedGameClearsEveryHistory) {
    ClickPicture({5, 5});
    TheWorld->GoRoom("VOREL2");
    auto* second = static_cast<TVorelRoom*>(TheWorld->FindRoom("VOREL2"));
    ClickPicture({5, 5});
    TheWorld->GoRoom("VOREL1");
    ASSERT_TRUE(Undo());
    TheWorld->SaveGame('2');
    ASSERT_TRUE(TheWorld->LoadGame('2'));
    EXPECT_FALSE(Room->History().CanUndo());
    EXPECT_FALSE(Room->History().CanRedo());
    EXPECT_FALSE(second->History().CanUndo());
    TheWorld->GoRoom("VOREL1");
    EXPECT_EQ(Window.History, std::make_pair(false, false));
    EXPECT_FALSE(Redo());
}

TEST_F(UndoTest, SavedGamesHoldNoHistory) {
    ClickPicture({5, 5});
    MemoryStream withStep;
    TheWorld->WriteGame(withStep);
    ASSERT_TRUE(Undo());
    ASSERT_TRUE(Redo());
    MemoryStream afterRedo;
    TheWorld->WriteGame(afterRedo);
    EXPECT_EQ(withStep.Data(), afterRedo.Data());
}

// A few hundred random actions of a child, with random undos and redos,
// checked against the states recorded along the way.
TEST_F(UndoTest, RandomActionsWithRandomUndosAndRedosFollowTheRecordedStates) {
    std::mt19937 random(16);
    auto below = [&](int n) { return static_cast<int>(random() % static_cast<unsigned>(n)); };
    auto point = [&] { return TPoint{below(376), below(225)}; };
    struct State {
        std::vector<uint8_t> Picture;
        std::vector<uint8_t> Thumbnail;
    };
    // The thumbnail is kept only without a selection: a selected object's
    // outline shows in it, and undo and redo clear the selection.
    auto now = [&] {
        State state{WithoutTools(ActivityState(*Room)), {}};
        if (Room->GetSelectedIcon() == 0) state.Thumbnail = PixelsOf(Thumbs[1]->ImageData(), 129, 79);
        return state;
    };
    std::vector<State> states{now()};
    size_t at = 0;
    int undos = 0, redos = 0;

    for (int action = 0; action < 400; ++action) {
        const int roll = below(100);
        bool walked = false;
        if (roll < 15) {
            walked = at > 0;
            ASSERT_EQ(Undo(), walked);
            if (walked) --at, ++undos;
        } else if (roll < 30) {
            walked = at + 1 < states.size();
            ASSERT_EQ(Redo(), walked);
            if (walked) ++at, ++redos;
        } else {
            const int selected = Room->GetSelectedIcon();
            switch (below(12)) {
            case 0:
                ClickPicture(point());
                break;
            case 1:
                ClickPicture(point(), ssShift | ssLeft);
                break;
            case 2:
                Click(below(8) * 43 + 60, 290);
                break;
            case 3:
                Room->RunScript(below(2) ? "XPANEL1" : "XPANEL2", "ARROW");
                break;
            case 4:
                PressButton(1 + below(4));
                break;
            case 5:
                PressButton(5 + below(8));
                Ticks(below(7));
                break;
            case 6:
                ClickIcon(1 + below(15));
                break;
            case 7:
                if (selected) Drag(Room->GetIconMap()[selected], {below(200) - 100, below(120) - 60});
                break;
            case 8:
                ClickTool(below(2) ? "FLOP" : "HALF");
                break;
            case 9:
                if (selected) Eraser(false, below(2) == 1);
                break;
            case 10:
                Eraser(true, below(2) == 1, below(3) == 0);
                break;
            default:
                Reenter();
                break;
            }
            State after = now();
            if (after.Picture != states[at].Picture) {
                states.resize(at + 1);
                states.push_back(std::move(after));
                ++at;
                if (at > TPictureHistory::Depth) {
                    states.erase(states.begin());
                    --at;
                }
            }
        }
        ASSERT_EQ(Room->History().UndoCount(), at) << "action " << action;
        ASSERT_EQ(Room->History().RedoCount(), states.size() - 1 - at) << "action " << action;
        if (walked) {
            ASSERT_EQ(WithoutTools(ActivityState(*Room)), states[at].Picture) << "action " << action;
            // A state's thumbnail is the same whenever it comes back.
            std::vector<uint8_t> thumbnail = PixelsOf(Thumbs[1]->ImageData(), 129, 79);
            if (states[at].Thumbnail.empty())
                states[at].Thumbnail = std::move(thumbnail);
            else
                ASSERT_TRUE(thumbnail == states[at].Thumbnail) << "action " << action;
            ASSERT_EQ(Room->GetSelectedIcon(), 0);
        }
    }
    EXPECT_GT(undos, 30);
    EXPECT_GT(redos, 10);
    EXPECT_GT(states.size(), 20u);
}
