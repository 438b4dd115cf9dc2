#include "RoomTestSupport.h"

#include "activity/RandomColour.h"
#include "activity/VorelDrawing.h"
#include "foundation/Paths.h"

#include <string>

namespace {
constexpr std::array<int32_t, 12> ButtonTops{19, 19, 62, 62, 112, 112, 155, 155, 198, 198, 241, 241};

TRect ButtonRect(int n) {
    int k = n - 1;
    return MakeBounds(k % 2 == 0 ? 405 : 451, ButtonTops[static_cast<size_t>(k)], 42, 39);
}

// Tool boxes and their frame sets, clear of every drawn control.
TRect ToolRect(const std::string& id) {
    if (id == "ERASER") return {0, 280, 40, 320};
    if (id == "FLOP") return {400, 285, 450, 320};
    return {455, 285, 505, 320}; // "HALF"
}

void AddScriptBox(TRoom& room, const std::string& id, const TRect& bounds, const std::string& script) {
    auto box = std::make_unique<TRoomScriptBox>(id, bounds);
    box->SetScript(script);
    room.AddHitBox(std::move(box));
}

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

void AddVorelControls(TRoom& room, TZQ5Library& library) {
    for (int n = 1; n <= 12; ++n)
        AddScriptBox(room, std::to_string(n), ButtonRect(n), n <= 4 ? "BG" : "BTN");
    for (int m = 0; m < 8; ++m)
        AddScriptBox(room, std::to_string(m + 1) + "C", MakeBounds(m * 43 + 50, 277, 43, 39), "COLOR");
    for (const char* id : {"ERASER", "FLOP", "HALF"}) {
        AddScriptBox(room, id, ToolRect(id), id);
        room.AddFrameSet(std::make_unique<TFrameSet>(id, &library, ToolRect(id), 4, 10, "frames"));
    }
    room.AddFrameSet(std::make_unique<TFrameSet>("BRIGHT", &library, TRect{0, 0, 10, 10}, 2, 10, "frames"));
    room.AddFrameSet(std::make_unique<TFrameSet>("SLIDE", &library, TRect{500, 0, 510, 10}, 4, 10, "frames"));
    room.AddHitBox(std::make_unique<TControlBox>("ICONS", TRect{108, 252, 108 + 15 * 19, 271}));
    room.AddHitBox(std::make_unique<TControlBox>("VOREL", TRect{15, 15, 15 + 376, 15 + 225}));
}

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

void RoomTest::Click(int32_t x, int32_t y, uint8_t shiftState) {
    TheWorld->ViewMouseDown(0, shiftState, x, y);
    TheWorld->ViewMouseUp(0, shiftState, x, y);
}

void RoomTest::PressButton(int n) {
    TRect r = ButtonRect(n);
    Click(r.Left + 20, r.Top + 20);
}

void RoomTest::ClickTool(const std::string& id) {
    TRect r = ToolRect(id);
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
