#pragma once
// A world over the fake platform and a small library file, with rooms built
// in code through the script-loader hook.

#include "engine/DiskOpsRoom.h"
#include "engine/Room.h"
#include "engine/SavedGame.h"
#include "engine/TitleRoom.h"
#include "engine/World.h"
#include "foundation/Paths.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"
#include "support/TestLibrary.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>
#include <memory>
#include <string>
#include <vector>

// A room that records what the world asks of it.
class TRecordingRoom : public TRoom {
public:
    explicit TRecordingRoom(const std::string& id) : TRoom(id) { SetPictureName("pic"); }

    void Enter(const std::string& previousID) override {
        Log.push_back("enter:" + previousID + (World->HasFlag(wfLeavingMarked) ? ":marked" : ""));
        if (OnEnter) OnEnter();
    }
    void Leave() override {
        Log.push_back("leave");
        TRoom::Leave();
    }
    void RunScript(const std::string& script, const std::string& argument) override {
        Log.push_back("script:" + script + ":" + argument);
        if (OnScript) OnScript(script, argument);
    }
    bool ControlEvent(TControlBox& box, ControlAction action) override {
        Actions.push_back(action);
        LastInside = box.PointerInside();
        if (OnControl) OnControl(action); // may replace the boxes, box among them
        return ControlResult;
    }

    std::vector<std::string> Log;
    std::vector<ControlAction> Actions;
    bool ControlResult = true;
    bool LastInside = false;
    std::function<void()> OnEnter;
    std::function<void(ControlAction)> OnControl;
    std::function<void(const std::string&, const std::string&)> OnScript;
};

class EngineFixture : public ::testing::Test {
protected:
    void SetUp() override;
    void TearDown() override;

    // Creates the world and runs Initialise with the rooms that build makes.
    void MakeWorld(std::function<void(TWorld&)> build);
    // Rooms "A".."C" (recording), "TITLE" (plain), "VOREL1", "VOREL2" and "DISK".
    static void StandardRooms(TWorld& world);
    TRecordingRoom& Room(const std::string& id) const;
    void Ticks(int count, bool idle = true);
    std::vector<std::string> Texts() const { return Platform.MessageTexts(); }
    std::vector<std::string> StackIDs() const;
    std::string SlotPath(char slot) const { return SaveFileName(slot); }

    TempDir Dir;
    FakePlatform Platform;
    FakeMainWindow Window;
    FakeDisplayTarget View{PlayAreaWidth, PlayAreaHeight};
    TZQ5Library Library;
    std::unique_ptr<TWorld> Game;
    std::string SavedGamePath;
};
