#include "EngineFixture.h"

#include "engine/SavedGame.h"

void EngineFixture::SetUp() {
    SavedGamePath = GamePath;
    GamePath = Dir.Folder() + "games/";
    std::vector<TestImage> images{
        PatternImage("pic", 512, 320),         SolidImage("pic2", 512, 320, 7),
        PatternImage("ldsv_gfx", 264, 306, 3), PatternImage("vimo", 60, 30, 90),
        PatternImage("fwords", 40, 20, 50),
    };
    Library.Load(WriteTestLibrary(Dir, images), true);
}

void EngineFixture::TearDown() {
    Game.reset();
    GamePath = SavedGamePath;
}

void EngineFixture::MakeWorld(std::function<void(TWorld&)> build) {
    Game = std::make_unique<TWorld>(Platform, Window, View, Library);
    Game->ScriptLoader = std::move(build);
    Game->Initialise();
}

void EngineFixture::StandardRooms(TWorld& world) {
    for (const char* id : {"A", "B", "C", "VOREL1", "VOREL2"})
        world.AddRoom(std::make_unique<TRecordingRoom>(id));
    auto title = std::make_unique<TRoom>("TITLE");
    title->SetPictureName("pic2");
    world.AddRoom(std::move(title));
    world.AddRoom(std::make_unique<TDiskOpsRoom>("DISK"));
    world.SetStartRoom("A");
}

TRecordingRoom& EngineFixture::Room(const std::string& id) const {
    auto* room = dynamic_cast<TRecordingRoom*>(Game->FindRoom(id));
    if (!room) throw std::runtime_error("no recording room " + id);
    return *room;
}

void EngineFixture::Ticks(int count, bool idle) {
    for (int i = 0; i < count; ++i) {
        if (idle) Game->Flags |= wfIdle;
        Game->Tick(1);
    }
}

std::vector<std::string> EngineFixture::StackIDs() const {
    std::vector<std::string> ids;
    for (TRoomStackNode* node : Game->RoomStack)
        ids.push_back(node->Room ? node->Room->GetID() : "-");
    return ids;
}
