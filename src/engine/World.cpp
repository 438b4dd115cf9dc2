#include "engine/World.h"

#include "engine/SavedGame.h"
#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/ResStrings.h"
#include "foundation/ScopeGuard.h"
#include "foundation/TemporaryChange.h"
#include "foundation/Text.h"
#include "image/FrameSet.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "platform/DisplayTarget.h"
#include "platform/MainWindowServices.h"
#include "platform/Platform.h"

#include <filesystem>

TWorld* World = nullptr;

TEngineHub* Engine() {
    return World;
}
std::array<THotImage*, 5> PictureThumbs{};

namespace {
// One tick at a time in the whole program, however handlers nest.
bool TickRunning = false;

// Flags that belong to this run only and are never taken from a saved game.
constexpr uint16_t RunOnlyFlags = wfQuit | wfBusy;

template <class T> void RegisterClass() {
    RegisterNodeClass(T::ClassIdValue, [] { return std::make_unique<T>(); });
}
} // namespace

void RegisterEngineNodeClasses() {
    RegisterClass<THitBox>();
    RegisterClass<TScriptBox>();
    RegisterClass<TControlBox>();
    RegisterClass<TGoBox>();
    RegisterClass<TReturnBox>();
    RegisterClass<TRoomScriptBox>();
    RegisterClass<TRoomStackNode>();
    RegisterImageNodeClasses();
}

TWorld::TWorld(Platform& platform, MainWindowServices& mainWindow, DisplayTarget& view, TZQ5Library& library)
    : Plat(&platform), Window(&mainWindow), ViewTarget(&view), Lib(&library) {
    Lib->AddReference(&Lib);
    RegisterEngineNodeClasses();
    World = this;
}

TWorld::~TWorld() {
    ClearRooms();
    if (Lib) Lib->RemoveReference(&Lib);
    if (World == this) World = nullptr;
}

// ---- Start-up ----

void TWorld::Initialise() {
    Work = TLibraryImage::Make(*Lib, "WORK", PlayAreaWidth, PlayAreaHeight);
    Work.Surface();
    LoadRooms();
    const std::string path = SaveFileName('1');
    if (FileExists(path)) {
        std::string failure;
        try {
            if (!LoadGame('1')) failure = "it is not a saved game of this program";
        } catch (const std::exception& e) {
            failure = e.what();
        }
        if (!failure.empty()) RecoverDamagedSave(path, failure);
    }
    DrawMiniatures();
}

void TWorld::LoadRooms() {
    if (ScriptLoader) ScriptLoader(*this);
}

void TWorld::RecoverDamagedSave(const std::string& path, const std::string& reason) {
    std::error_code error;
    const std::string kept = KeepDamagedFile(path, error);
    std::string text = "The saved pictures in \"" + path + "\" could not be read (" + reason + ").\r\n\r\n";
    text += error ? "The file could not be moved aside (" + error.message() +
                        ") and will be replaced when the game ends."
                  : "The file has been kept as \"" + kept + "\". The game starts with fresh pictures.";
    ShowOk(*Plat, text, MessageKind::Warning);
    // Nothing half-read survives: the rooms are made again from the script.
    ClearRooms();
    StartRoom.clear();
    Flags &= RunOnlyFlags;
    LoadRooms();
}

void TWorld::ClearRooms() {
    Captured = nullptr;
    Current = nullptr;
    RoomStack.Clear();
    Rooms.Clear();
}

void TWorld::DrawMiniatures() {
    for (int i = 1; i <= 4; ++i) {
        TRoom* room = FindRoom("VOREL" + std::to_string(i));
        if (room && PictureThumbs[i]) room->DrawMiniature(PictureThumbs[i]->ImageData(), {2, 2});
    }
}

void TWorld::Start(const std::string& fileName) {
    if (fileName.empty() || !FileExists(fileName)) {
        GoRoom(StartRoom);
        return;
    }
    SetBusy(true);
    ScopeGuard idle([this] { SetBusy(false); });
    try {
        FileStream in(fileName, FileStream::Mode::Read);
        ReadGame(in);
    } catch (...) {
        Flags |= wfQuit;
        throw;
    }
    idle.Finish();
    GoBack();
}

// ---- Room changes ----

void TWorld::ShowCatchPoint(const std::string& message) {
    ShowOk(*Plat, message, MessageKind::Plain);
}

TRoom& TWorld::FindTarget(const std::string& name) {
    int counter = 0;
    try {
        TRoom* target = FindRoom(name);
        counter = 1;
        if (!target) throw StdException(LoadResString(SNilPointer));
        counter = 2;
        if (Current) Current->CancelTimers();
        counter = 5;
        Plat->ProcessPendingMessages();
        return *target;
    } catch (...) {
        ShowCatchPoint(FormatText("GoRoom: exception A%d caught", counter));
        throw;
    }
}

template <class Step> void TWorld::RoomStep(const char* message, Step step) {
    try {
        step();
    } catch (const KelException& e) {
        ReportAndAskQuit(e.what());
    } catch (...) {
        ShowCatchPoint(message);
        throw;
    }
}

void TWorld::ChangeRoom(const std::string& name) {
    TRoom& target = FindTarget(name);
    std::string previousID;
    try {
        if (Current) {
            Current->Leave();
            RoomStack.Push(Current);
            previousID = Current->GetID();
        }
    } catch (...) {
        ShowCatchPoint("GoRoom: exception B caught");
    }
    if (Current && Current->HasFlag(rfMarked)) Flags |= wfLeavingMarked;
    RoomStep("GoRoom: exception C caught", [&] { target.Enter(previousID); });
    RoomStep("GoRoom: exception D caught", [&] { target.Draw(Screen()); });
    try {
        Window->SetTitle(target.GetCaption());
        Flags &= static_cast<uint16_t>(~wfLeavingMarked);
        Current = &target;
        ++RoomChanges;
        // A box of the room left holds no capture in the new one.
        if (Captured && !target.HitBoxes.Contains(Captured)) Captured = nullptr;
    } catch (...) {
        ShowCatchPoint("GoRoom: exception E caught");
    }
}

void TWorld::GoRoom(const std::string& name) {
    if (Current) Current->CancelTimers();
    SetBusy(true);
    ScopeGuard idle([this] { SetBusy(false); });
    try {
        ChangeRoom(name);
    } catch (const KelException& e) {
        ReportAndAskQuit(e.what());
    } catch (...) {
        ShowCatchPoint("GoRoom: exception F caught");
        throw;
    }
    idle.Finish();
}

void TWorld::GoBack() {
    TRoom* room = RoomStack.Pop();
    if (!room) return;
    // Counting changes rather than comparing rooms also tells a successful
    // change back into the room the game is in from a failed one.
    uint64_t changesBefore = RoomChanges;
    GoRoom(room->GetID());
    if (RoomChanges == changesBefore)
        RoomStack.Push(room);
    else
        RoomStack.Pop();
}

// ---- The tick ----

void TWorld::Tick(int32_t count) {
    if (TickRunning) return;
    const TemporaryChange<bool> running(TickRunning, true);
    try {
        RunTickSteps();
    } catch (const KelException& e) {
        ReportAndAskQuit(e.what());
        return;
    }
    Ticks += count;
}

bool TWorld::SampleKeys() {
    bool changed = false;
    if (Plat->IsShiftDown() != HasFlag(wfShift)) {
        changed = true;
        Flags ^= wfShift;
    }
    if (Plat->IsCtrlDown() != HasFlag(wfCtrl)) {
        changed = true;
        Flags ^= wfCtrl;
    }
    return changed;
}

void TWorld::NoticeKeyChange() {
    if (Current && Current->HasFlag(rfWantsShift))
        Current->RunScript("SHIFT",
                           std::string(HasFlag(wfShift) ? "S" : "s") + (HasFlag(wfCtrl) ? "C" : "c"));
}

void TWorld::RunTickSteps() {
    const bool keysChanged = SampleKeys();
    if (HasFlag(wfCursorRefresh)) {
        Plat->RefreshPointer();
        Flags &= static_cast<uint16_t>(~wfCursorRefresh);
    }
    if (Current) {
        if (keysChanged) NoticeKeyChange();
        if (Captured) Captured->HoldTick(Ticks - PressTick);
        if (Current) Current->RunDueTimers(Ticks);
        Flags &= static_cast<uint16_t>(~wfIdle);
    }
    if (Screen() && Screen()->IsDirty()) FlushView();
}

bool TWorld::IsQuiet() const {
    if (Captured || HasFlag(wfCursorRefresh) || HasFlag(wfQuit) || HasFlag(wfBusy)) return false;
    if (Screen() && Screen()->IsDirty()) return false;
    return !Current || Current->Timers.IsEmpty();
}

// ---- Mouse and paint ----

bool TWorld::IsNotReady() const {
    return !Current || HasFlag(wfBusy);
}

void TWorld::HandleError(const char* place) {
    try {
        throw;
    } catch (const KelException& e) {
        ReportAndAskQuit(e.what());
    } catch (...) {
        ShowOk(*Plat, place, MessageKind::Error);
        throw;
    }
}

void TWorld::ViewMouseDown(int button, TShiftState shiftState, int32_t x, int32_t y) {
    try {
        if (IsNotReady()) return;
        // A press acts on the keys held with it, even when no tick has seen
        // them yet (the window may have got no key event of its own).
        if (SampleKeys()) NoticeKeyChange();
        if (!Current) return;
        THitBox* box = Current->HitBoxes.FindAt(x, y);
        Captured = nullptr;
        if (!box) return;
        if (!box->IsControl) {
            box->Activate();
        } else if (box->MouseDown(button, shiftState, x, y)) {
            Captured = box;
            PressTick = Ticks;
            Plat->SetPlayAreaCursor(box->CursorAt(x, y));
        }
        RequestCursorRefresh();
    } catch (...) {
        HandleError("ViewMouseDown: exception caught");
    }
}

void TWorld::ViewMouseMove(TShiftState, int32_t x, int32_t y) {
    try {
        if (IsNotReady()) return;
        if (THitBox* box = Captured) {
            bool keep = box->MouseDrag(x, y);
            if (Captured != box) return; // the drag's action replaced the boxes
            if (!keep) Captured = nullptr;
            Plat->SetPlayAreaCursor(box->CursorAt(x, y));
            return;
        }
        THitBox* box = Current->HitBoxes.FindAt(x, y);
        if (box && box->TracksHover && box->Hover(x, y)) Captured = box;
        if (!HasFlag(wfBusy)) {
            Plat->SetScreenCursor(ScreenCursor::Default);
            Plat->SetPlayAreaCursor(box ? box->CursorAt(x, y) : ckDefault);
        }
    } catch (...) {
        HandleError("ViewMouseMove: exception caught");
    }
}

void TWorld::ViewMouseUp(int, TShiftState, int32_t x, int32_t y) {
    try {
        THitBox* box = Captured;
        if (!box) return;
        bool keep = box->MouseUp(x, y);
        if (Captured != box) return; // the release's action replaced the boxes
        if (!keep) Captured = nullptr;
        Plat->SetPlayAreaCursor(box->CursorAt(x, y));
    } catch (...) {
        Captured = nullptr; // a failed release ends the press
        HandleError("ViewMouseUp: exception caught");
    }
}

bool TWorld::KeyCommand(const std::string& name) {
    bool taken = false;
    try {
        if (IsNotReady()) return false;
        taken = Current->KeyCommand(name);
        if (taken) FlushView();
    } catch (...) {
        HandleError("KeyCommand: exception caught");
    }
    return taken;
}

void TWorld::ViewPaint(const TRect& clip) {
    if (!Screen()) return;
    Screen()->AddDamage(clip);
    FlushView();
}

void TWorld::FlushView() {
    if (!Screen() || !Lib) return;
    const auto palette = ViewTarget->ShowThrough(&Lib->GetHPal());
    Screen()->DisplayDamage(*ViewTarget, {0, 0});
}

// ---- Busy state and reports ----

void TWorld::SetBusy(bool on) {
    Plat->ProcessPendingMessages();
    if (HasFlag(wfBusy) == on) return;
    Flags ^= wfBusy;
    Plat->SetScreenCursor(on ? ScreenCursor::Hourglass : ScreenCursor::Default);
}

void TWorld::SetFlag(uint16_t flag, bool on) {
    if (on)
        Flags |= flag;
    else
        Flags &= static_cast<uint16_t>(~flag);
}

void TWorld::ReportAndAskQuit(const std::string& message) {
    if (Plat->ShowMessage(message + "\r\n\r\nQuit game?", MessageKind::Error, MessageButtons::YesNo) ==
        MessageResult::Yes)
        Flags |= wfQuit;
}

// ---- Saved games ----

std::vector<uint8_t> TWorld::ScreenThumbnail() const {
    std::vector<uint8_t> pixels;
    if (!Screen()) return pixels;
    pixels.reserve(SaveThumbBytes);
    for (int32_t y = 0; y < SaveThumbHeight; ++y)
        for (int32_t x = 0; x < SaveThumbWidth; ++x)
            pixels.push_back(Screen()->GetPixel({x * 5, y * 5}));
    return pixels;
}

// The four miniatures 2 by 2, each reduced again with ink winning, so that
// saves of different pictures look different (a reduced screen is the title
// room at every save).
std::vector<uint8_t> TWorld::GameThumbnail() const {
    for (int i = 1; i <= 4; ++i)
        if (!PictureThumbs[i] || !Lib) return ScreenThumbnail();
    std::unique_ptr<THotImage> sheet = THotImage::CreateBlankInLibrary(SaveThumbWidth, *Lib, SaveThumbHeight);
    TZQ5ImageData& surface = sheet->ImageData();
    constexpr int32_t w = SaveThumbWidth / 2, h = SaveThumbHeight / 2;
    for (int i = 1; i <= 4; ++i) {
        TRect quarter = MakeBounds((i - 1) % 2 * w, (i - 1) / 2 * h, w, h);
        surface.InkShrinkFrom(quarter, PictureThumbs[i]->ImageData(), MiniatureArea, MiniatureInk, -1);
    }
    std::vector<uint8_t> pixels;
    pixels.reserve(SaveThumbBytes);
    for (int32_t y = 0; y < SaveThumbHeight; ++y)
        for (int32_t x = 0; x < SaveThumbWidth; ++x)
            pixels.push_back(surface.GetPixel({x, y}));
    return pixels;
}

void TWorld::SaveGame(char slot, bool leaveRoom) {
    TSaveTrailer trailer;
    trailer.Thumbnail = PendingThumbnail.empty() ? GameThumbnail() : std::move(PendingThumbnail);
    PendingThumbnail.clear();
    if (leaveRoom) GoRoom("TITLE");
    SetBusy(true);
    ScopeGuard idle([this] { SetBusy(false); });
    trailer.Fingerprint = RoomsFingerprint(Rooms);
    SaveFileAtomically(SaveFileName(slot), [&](ByteStream& out) {
        WriteGame(out);
        WriteSaveTrailer(out, trailer);
    });
    idle.Finish();
}

bool TWorld::LoadGame(char slot) {
    SetBusy(true);
    ScopeGuard idle([this] { SetBusy(false); });
    FileStream file(SaveFileName(slot), FileStream::Mode::Read);
    if (file.Size() > MaxSaveFileSize)
        throw KelException("LoadGame: the file is far larger than a saved game");
    // Read whole: the reader's many small steps then cost no system calls.
    MemoryStream in;
    in.LoadFrom(file);
    // A file that fails half-way must not leave the rooms half read: the
    // state before the load is kept in memory and put back.
    MemoryStream before;
    WriteGame(before);
    bool read = false;
    try {
        read = ReadGame(in);
    } catch (...) {
        RestoreState(before);
        throw;
    }
    idle.Finish();
    return read;
}

void TWorld::RestoreState(MemoryStream& saved) {
    saved.Seek(0);
    try {
        ReadGame(saved);
    } catch (const std::exception&) {
        // What was just written reads back; should it not, the first error is the one to report.
    }
}

void TWorld::WriteGame(ByteStream& stream) {
    WriteSaveHeader(stream);
    for (TRoom* room : Rooms)
        if (IsSavedRoom(*room)) room->SaveState(stream);
    RoomStack.SaveToStream(stream);
    WriteWord(stream, Flags);
}

bool TWorld::ReadGame(ByteStream& stream) {
    // The current data format again once the game has been read, however it ended.
    ScopeGuard resetFormat([] { DataFormatVersion = CurrentDataFormatVersion; });
    if (!CheckSaveHeader(stream) || DataFormatVersion == 0) return false;
    auto trailer = FindSaveTrailer(stream);
    if (trailer && trailer->second.Fingerprint != RoomsFingerprint(Rooms))
        throw StdException("ReadGame: the saved game was written for other rooms than those of the script");
    for (TRoom* room : Rooms) {
        if (!IsSavedRoom(*room)) continue;
        if (Captured && room->HitBoxes.Contains(Captured)) Captured = nullptr; // its boxes are replaced
        room->LoadState(stream);
    }
    RoomStack.LoadFromStream(stream);
    uint16_t saved = ReadWord(stream);
    Flags = static_cast<uint16_t>((saved & ~RunOnlyFlags) | (Flags & RunOnlyFlags));
    if (stream.Position() != (trailer ? trailer->first : stream.Size()))
        throw StdException("ReadGame: the saved game holds more than its rooms");
    return true;
}
