// Which of the colouring room's actions answer with which sound; actions
// that change nothing stay silent.

#include "RoomTestSupport.h"

#include "activity/RandomColour.h"

#include <gmock/gmock.h>

using ::testing::ElementsAre;
using ::testing::IsEmpty;

class SoundCueTest : public RoomTest {
protected:
    std::vector<SoundCue> TakeSounds() { return std::exchange(Platform.Sounds, {}); }
};

TEST_F(SoundCueTest, FillsSoundPlainOrRandomByShift) {
    ClickPicture({5, 5});
    EXPECT_THAT(TakeSounds(), ElementsAre(SoundCue::Fill));
    SetRandomByteSource([] { return uint8_t{66}; });
    ClickPicture({5, 5}, ssShift | ssLeft);
    EXPECT_THAT(TakeSounds(), ElementsAre(SoundCue::RandomFill));
}

TEST_F(SoundCueTest, AddingAndDeletingObjectsSoundEachTime) {
    AddObjects(2);
    EXPECT_THAT(TakeSounds(), ElementsAre(SoundCue::AddObject, SoundCue::AddObject));
    ClickIcon(1);
    ClickTool("ERASER");
    EXPECT_THAT(TakeSounds(), ElementsAre(SoundCue::Delete));
    Keys(true, false);
    Platform.Answers.push_back(MessageResult::No);
    ClickTool("ERASER");
    EXPECT_THAT(TakeSounds(), IsEmpty()) << "a declined delete-all made a sound";
    Platform.Answers.push_back(MessageResult::Yes);
    ClickTool("ERASER");
    EXPECT_THAT(TakeSounds(), ElementsAre(SoundCue::DeleteAll));
}

TEST_F(SoundCueTest, APressThatOnlyLetsAButtonUpAddsNoSound) {
    PressButton(5);
    TakeSounds();
    PressButton(5); // within the release delay: lets the button up only
    EXPECT_THAT(TakeSounds(), IsEmpty());
}

TEST_F(SoundCueTest, TurningThePageSoundsOnlyWhenThePageChanges) {
    Room->RunScript("XPANEL1", "XPANEL1"); // already the first page
    EXPECT_THAT(TakeSounds(), IsEmpty());
    Room->RunScript("XPANEL2", "XPANEL2");
    EXPECT_EQ(Room->GetBank(), 2);
    EXPECT_THAT(TakeSounds(), ElementsAre(SoundCue::BankPage));
    for (int i = 0; i < 3; ++i)
        Room->RunScript("XPANEL2", "XPANEL2");
    EXPECT_EQ(Room->GetBank(), 4);
    EXPECT_THAT(TakeSounds(), ElementsAre(SoundCue::BankPage, SoundCue::BankPage));
    Room->RunScript("XPANEL1", "XPANEL1");
    EXPECT_THAT(TakeSounds(), ElementsAre(SoundCue::BankPage));
}

TEST_F(SoundCueTest, ColourButtonsAndToolsAreSilent) {
    Click(93 + 10, 277 + 10); // colour button 2
    AddObjects(1);
    TakeSounds();
    ClickTool("FLOP");
    ClickTool("HALF");
    EXPECT_THAT(TakeSounds(), IsEmpty());
}
