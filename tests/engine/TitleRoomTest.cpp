#include "EngineFixture.h"

#include "foundation/KelException.h"

#include <map>

using ::testing::ElementsAre;

namespace {
void TitleRooms(TWorld& world) {
    auto title = std::make_unique<TTitleRoom>("TITLE");
    title->SetPictureName("pic2");
    int x = 0;
    for (const char* id : {"VIMO", "QUILO", "VOREL"}) {
        title->AddFrameSet(
            std::make_unique<TFrameSet>(id, world.Library(), MakeBounds(x, 250, 40, 10), 2, 10, "fwords"));
        x += 100;
    }
    auto start = std::make_unique<TRoomScriptBox>("GO", TRect{0, 0, 50, 50});
    start->SetScript("START");
    title->AddHitBox(std::move(start));
    world.AddRoom(std::move(title));
    world.AddRoom(std::make_unique<TRecordingRoom>("VOREL1"));
    world.AddRoom(std::make_unique<TRecordingRoom>("A"));
    world.SetStartRoom("TITLE");
}
} // namespace

class TitleRoomTest : public EngineFixture {
protected:
    void SetUp() override {
        EngineFixture::SetUp();
        MakeWorld(TitleRooms);
        Title = dynamic_cast<TTitleRoom*>(Game->FindRoom("TITLE"));
    }
    uint16_t Frame(const char* id) const { return Title->FrameSets.Find(id).Frame; }
    TTitleRoom* Title = nullptr;
};

TEST_F(TitleRoomTest, StepsComeFortyThenThirteenDownToFourTicksApartAndDelayAfterThreeHundred) {
    Game->Start();
    std::map<int, int32_t> stepAt;
    while (Game->CurrentRoom() == Title && Game->TickCount() < 1000) {
        int32_t start = Game->TickCount();
        uint8_t before = Title->GetStep();
        Ticks(1);
        if (Title->GetStep() != before) stepAt[Title->GetStep()] = start;
        uint8_t step = Title->GetStep();
        EXPECT_EQ(Frame("VIMO"), step >= 5 ? 1 : 0);
        EXPECT_EQ(Frame("VOREL"), step >= 8 ? 1 : 0);
        EXPECT_EQ(Frame("QUILO"), step >= 11 ? 1 : 0);
    }
    std::map<int, int32_t> expected{{1, 40},  {2, 53},  {3, 65},  {4, 76},   {5, 86},  {6, 95},
                                    {7, 103}, {8, 110}, {9, 116}, {10, 121}, {11, 125}};
    EXPECT_EQ(stepAt, expected);
    EXPECT_EQ(Frame("QUILO"), 1);
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("VOREL1"));
    EXPECT_EQ(Game->TickCount(), 426); // the DELAY ran in the tick starting at 425
    EXPECT_THAT(Window.Highlights, ElementsAre(std::make_pair(1, true)));
}

TEST_F(TitleRoomTest, TheFinishedLogoIsCopiedPlainly) {
    Game->Start();
    Ticks(130);
    ASSERT_EQ(Title->GetStep(), 11);
    EXPECT_EQ(Game->Screen()->GetPixel(TTitleRoom::LogoPoint), 90);
    EXPECT_EQ(Game->Screen()->GetPixel({185 + 59, 15 + 29}), static_cast<uint8_t>(90 + 59 + 29 * 60));
    EXPECT_EQ(Game->Screen()->GetPixel({184, 15}), 7); // the picture around it
}

TEST_F(TitleRoomTest, TheFadeWaitsWhileInactiveOrNotIdle) {
    Game->Start();
    Window.Active = false;
    Ticks(41);
    EXPECT_EQ(Title->GetStep(), 0);
    EXPECT_EQ(Title->FindTimer(tsTimer)->DueTick, 80);
    Window.Active = true;
    Ticks(40, false);
    EXPECT_EQ(Title->GetStep(), 0);
    EXPECT_EQ(Title->FindTimer(tsTimer)->DueTick, 82);
    Ticks(2);
    EXPECT_EQ(Title->GetStep(), 1);
}

TEST_F(TitleRoomTest, EnteringAgainShowsTheFinishedTitleAndStaysPut) {
    Game->Start();
    Ticks(60); // two steps
    ASSERT_EQ(Title->GetStep(), 2);
    Game->GoRoom("A");
    Game->GoRoom("TITLE");
    EXPECT_EQ(Title->GetStep(), 11);
    EXPECT_EQ(Frame("VIMO"), 1);
    EXPECT_EQ(Frame("VOREL"), 1);
    EXPECT_EQ(Frame("QUILO"), 1);
    EXPECT_TRUE(Title->Timers.IsEmpty());
    EXPECT_EQ(Game->Screen()->GetPixel(TTitleRoom::LogoPoint), 90);
    Ticks(400);
    EXPECT_EQ(Game->CurrentRoom(), Title);
}

TEST_F(TitleRoomTest, StartBoxGoesToTheFirstPicture) {
    Game->Start();
    Game->ViewMouseDown(0, ssLeft, 10, 10);
    EXPECT_EQ(Game->CurrentRoom(), Game->FindRoom("VOREL1"));
    EXPECT_THAT(Window.Highlights, ElementsAre(std::make_pair(1, true)));
}

TEST_F(TitleRoomTest, OtherScriptsAreUnknown) {
    Game->Start();
    EXPECT_THROW(Title->RunScript("FOO", "BAR"), StdException);
}

TEST_F(TitleRoomTest, MissingWordIsReportedWhenEntering) {
    Title->FrameSets.Remove(&Title->FrameSets.Find("QUILO"));
    Game->Start();
    EXPECT_THAT(Texts(), ElementsAre("NIL pointer detected\r\n\r\nQuit game?"));
    EXPECT_EQ(Game->CurrentRoom(), Title);
}

TEST_F(TitleRoomTest, TheFanfarePlaysOnceWhenTheLastWordArrivesAndNotOnReturn) {
    Game->Start();
    Ticks(124);
    EXPECT_TRUE(Platform.Sounds.empty()) << "a sound before the title was complete";
    Ticks(2); // step 11 comes in the tick starting at 125
    EXPECT_THAT(Platform.Sounds, ElementsAre(SoundCue::TitleArrival));
    Ticks(400);
    Game->GoRoom("TITLE");
    Ticks(60);
    EXPECT_THAT(Platform.Sounds, ElementsAre(SoundCue::TitleArrival));
}
