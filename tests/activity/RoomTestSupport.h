#pragma once
// A world with two colouring rooms laid out as the script lays them out, the
// title room, four thumbnails and a recording platform, entered in VOREL1.

#include "ActivityTestSupport.h"

#include "activity/VorelRoom.h"
#include "engine/World.h"
#include "image/HotImage.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"

#include <array>
#include <memory>

class RoomTest : public ActivityTest {
protected:
    void SetUp() override;
    void TearDown() override;

    // Play-area events.
    void Click(int32_t x, int32_t y, TShiftState shiftState = ssLeft);
    void ClickPicture(TPoint point, TShiftState shiftState = ssLeft) {
        Click(point.X + 15, point.Y + 15, shiftState);
    }
    void PressButton(int n);
    void ClickIcon(int slot) { Click(108 + (slot - 1) * 19 + 5, 255); }
    void ClickTool(const std::string& id);
    // Holds or lets go of Shift and Ctrl; the next tick notices it.
    void Keys(bool shift, bool ctrl);
    void Ticks(int count);
    // Adds objects of bank 1 with the buttons 5, 6, 7, ... letting each button up.
    void AddObjects(int count);
    std::vector<uint8_t> SavedState(TRoom& room);
    // The colouring room's own part of its record: picture record and 20 bytes.
    std::vector<uint8_t> ActivityState(TVorelRoom& room);
    uint8_t ScreenAt(TPoint point) { return TheWorld->Screen()->GetPixel(point); }
    THitBox& Box(const std::string& id) { return Room->HitBoxes.GetBox(id); }

    TempDir Games;
    FakePlatform Platform;
    FakeMainWindow Window;
    FakeDisplayTarget View{512, 320};
    std::array<std::unique_ptr<THotImage>, 5> Thumbs;
    std::unique_ptr<TWorld> TheWorld;
    TVorelRoom* Room = nullptr;
};
