#pragma once
// The driver of the game engine: the rooms and the current one, the room
// stack, the tick, mouse routing onto hit boxes, and the saved games.
//
// There is one world; its constructor makes it the program-wide `World` and
// its destructor clears that again. The shell calls, in order: the
// constructor, Initialise, Start(""), then Tick on every timer event and the
// View* handlers for play-area events (play-area pixels, 512 x 320), and
// SaveGame('1') before destroying it.
//
// Errors: the handlers (Tick, GoRoom, the View* handlers) report a
// KelException with ReportAndAskQuit and keep going; other errors are
// announced with a fixed message and passed on to the caller.

#include "engine/EngineHub.h"
#include "engine/Room.h"
#include "engine/RoomStack.h"
#include "foundation/Geometry.h"
#include "image/LibraryImage.h"

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class ByteStream;
class MemoryStream;
class DisplayTarget;
class MainWindowServices;
class Platform;
class THitBox;
class THotImage;
class TImageNode;
class TZQ5ImageData;
class TZQ5Library;

constexpr int32_t PlayAreaWidth = 512;
constexpr int32_t PlayAreaHeight = 320;

class TWorld final : public TEngineHub {
public:
    TWorld(Platform& platform, MainWindowServices& mainWindow, DisplayTarget& view, TZQ5Library& library);
    ~TWorld();
    TWorld(const TWorld&) = delete;
    TWorld& operator=(const TWorld&) = delete;

    // Loads the start-up script; set by the shell, called by Initialise.
    std::function<void(TWorld&)> ScriptLoader;

    // The screen surface, the rooms (ScriptLoader), the automatic saved game
    // (slot '1') and the miniatures of VOREL1..VOREL4. A saved game that
    // cannot be read is reported once, kept beside it as "<name>.damaged",
    // and the rooms are made afresh.
    void Initialise();
    // Without a file (or a missing one): GoRoom(StartRoom). With one: reads it
    // as a saved game and goes back; a failure sets wfQuit and passes on.
    void Start(const std::string& fileName = "");

    void GoRoom(const std::string& name) override;
    void GoBack() override;
    void Tick(int32_t count);

    // Slot '1'..'8'. SaveGame first goes to "TITLE" when leaveRoom is set, so
    // that the current room is left before it is written; the file is written
    // beside the old one and renamed over it, and a failure passes on with the
    // old file intact. LoadGame returns false when the file's header is not a
    // saved game's (nothing is read); a missing file raises FileOpenError; a
    // file that fails half-way raises with the rooms as they were before.
    void SaveGame(char slot, bool leaveRoom = true);
    bool LoadGame(char slot);
    // The file body. ReadGame returns false when the header is not accepted.
    bool ReadGame(ByteStream& stream);
    void WriteGame(ByteStream& stream);
    // The picture stored with the next save (102 x 64, 6528 indices); when
    // empty, SaveGame takes GameThumbnail.
    std::vector<uint8_t> PendingThumbnail;
    // The picture of the game for a save: the four picture miniatures 2 by 2
    // while PictureThumbs are all there, else the screen reduced by 5.
    std::vector<uint8_t> GameThumbnail() const;

    // True when ticks would change nothing until the next input: no timer is
    // pending in the current room, no press is held, no pointer refresh, quit
    // or busy state is pending and the screen has nothing undrawn. A shell may
    // then stop ticking until input arrives; ticks that do not happen are not
    // counted, which no pending timer can notice.
    bool IsQuiet() const;

    void SetBusy(bool on);
    // The message, two line breaks and "Quit game?", Yes/No; Yes sets wfQuit.
    void ReportAndAskQuit(const std::string& message);

    TRoom* FindRoom(const std::string& name) const override { return Rooms.FindRoom(name); }
    TRoom* AddRoom(std::unique_ptr<TRoom> room) { return Rooms.AddTail(std::move(room)); }
    void SetStartRoom(const std::string& name) { StartRoom = name; }
    const std::string& GetStartRoom() const { return StartRoom; }
    void RequestCursorRefresh() { Flags |= wfCursorRefresh; }
    bool IsNotReady() const;

    // Shows the damaged parts of the screen through the library's palette.
    void FlushView();
    void ViewPaint(const TRect& clip);
    // button: 0 left, 1 right, 2 middle.
    void ViewMouseDown(int button, TShiftState shiftState, int32_t x, int32_t y);
    void ViewMouseMove(TShiftState shiftState, int32_t x, int32_t y);
    void ViewMouseUp(int button, TShiftState shiftState, int32_t x, int32_t y);
    // Hands a keyboard command to the current room and shows what it changed.
    // Ignored while the world is busy; false when no room took it.
    bool KeyCommand(const std::string& name);

    bool HasFlag(uint16_t flag) const override { return (Flags & flag) != 0; }
    void SetFlag(uint16_t flag, bool on) override;
    // Draws the miniatures of the rooms VOREL1..VOREL4 into PictureThumbs.
    void DrawMiniatures();

    Platform& GetPlatform() const override { return *Plat; }
    MainWindowServices& MainWindow() const override { return *Window; }
    DisplayTarget& View() const { return *ViewTarget; }
    // nullptr once the library has been destroyed.
    TZQ5Library* Library() const override { return Lib; }
    TZQ5ImageData* Screen() const override { return Work.TakenSurface(); }
    TRoom* CurrentRoom() const override { return Current; }
    THitBox* CapturedBox() const { return Captured; }
    int32_t TickCount() const override { return Ticks; }

    TRoomList Rooms;
    TRoomStack RoomStack;
    uint16_t Flags = 0;

private:
    TRoom& FindTarget(const std::string& name);
    void ChangeRoom(const std::string& name);
    template <class Step> void RoomStep(const char* message, Step step);
    void ShowCatchPoint(const std::string& message);
    void RunTickSteps();
    // Takes Shift and Ctrl from the platform into the flags; true when either changed.
    bool SampleKeys();
    // Tells a room that wants to know that Shift or Ctrl changed.
    void NoticeKeyChange();
    void HandleError(const char* place);
    void RecoverDamagedSave(const std::string& path, const std::string& reason);
    void LoadRooms();
    // Drops the capture, the current room, the room stack and the rooms.
    void ClearRooms();
    std::vector<uint8_t> ScreenThumbnail() const;
    void RestoreState(MemoryStream& saved);

    Platform* Plat;
    MainWindowServices* Window;
    DisplayTarget* ViewTarget;
    TZQ5Library* Lib;
    TLibraryImage Work; // the screen surface's image
    TRoom* Current = nullptr;
    THitBox* Captured = nullptr;
    int32_t Ticks = 0;
    int32_t PressTick = 0;
    uint64_t RoomChanges = 0;
    std::string StartRoom;
};

// The one world, or nullptr.
extern TWorld* World;

// The four picture thumbnails (indices 1..4), owned by the shell. Each holds
// its picture's miniature in MiniatureArea, drawn in line art whose outlines
// are MiniatureInk.
extern std::array<THotImage*, 5> PictureThumbs;
constexpr TRect MiniatureArea{2, 2, 127, 77};
constexpr uint8_t MiniatureInk = 40;

// Registers the hit-box classes, the room-stack entry and the image classes
// with the node reader. The world's constructor calls it.
void RegisterEngineNodeClasses();
