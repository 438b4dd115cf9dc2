#include "RoomTestSupport.h"

#include "activity/RandomColour.h"
#include "activity/VorelDrawing.h"
#include "foundation/Paths.h"

#include <string>

namespace {
std::unique_ptr<TRoom> MakeRoom(const std::string& id, TZQ5Library& library) {
    std::unique_ptr<TRoom> room;
    if (id == "TITLE")
        room = std::make_unique<TRoom>(id);
    else {
        room = std::make_unique<TVorelRoom>(id);
        AddVorelControls(*room, library);
    }
    room->SetPictureName("vorelpic");
    return room;
}
} // namespace

void RoomTest::SetUp() {
    ActivityTest::SetUp();
    SeedRandomColours(3);
    GamePath = Games.Folder();
    TheWorld = std::make_unique<TWorld>(Platform, Window, View, SharedArt().Lib());
    TheWorld->ScriptLoader = [](TWorld& world) {
        for (const char* id : {"TITLE", "VOREL1", "VOREL2"})
            world.AddRoom(MakeRoom(id, SharedArt().Lib()));
        world.SetStartRoom("VOREL1");
    };
    for (size_t i = 1; i <= 4; ++i) {
        Thumbs[i] = THotImage::CreateBlank(129, 79);
        PictureThumbs[i] = Thumbs[i].get();
    }
    TheWorld->Initialise();
    TheWorld->Start();
    Room = static_cast<TVorelRoom*>(TheWorld->FindRoom("VOREL1"));
    ASSERT_EQ(TheWorld->CurrentRoom(), Room);
}

void RoomTest::TearDown() {
    TheWorld.reset();
    PictureThumbs.fill(nullptr);
    for (auto& thumb : Thumbs)
        thumb.reset();
    SetRandomByteSource(nullptr);
    ActivityTest::TearDown();
}

void RoomTest::Click(int32_t x, int32_t y, TShiftState shiftState) {
    TheWorld->ViewMouseDown(0, shiftState, x, y);
    TheWorld->ViewMouseUp(0, shiftState, x, y);
}

void RoomTest::PressButton(int n) {
    TRect r = ObjectPanelButton(n);
    Click(r.Left + 20, r.Top + 20);
}

void RoomTest::ClickTool(const std::string& id) {
    TRect r = ToolBox(id);
    Click(r.Left + 5, r.Top + 5);
}

void RoomTest::Keys(bool shift, bool ctrl) {
    Platform.Shift = shift;
    Platform.Ctrl = ctrl;
    TheWorld->Tick(0);
}

void RoomTest::Ticks(int count) {
    for (int i = 0; i < count; ++i)
        TheWorld->Tick(1);
}

void RoomTest::AddObjects(int count) {
    for (int i = 0; i < count; ++i) {
        PressButton(5 + i % 8);
        Ticks(6);
    }
}

std::vector<uint8_t> RoomTest::SavedState(TRoom& room) {
    MemoryStream out;
    room.SaveState(out);
    return out.Data();
}

std::vector<uint8_t> RoomTest::ActivityState(TVorelRoom& room) {
    MemoryStream picture;
    room.Picture().SaveToStream(picture);
    std::vector<uint8_t> all = SavedState(room);
    size_t size = picture.Data().size() + 20;
    return {all.end() - static_cast<std::ptrdiff_t>(size), all.end()};
}
