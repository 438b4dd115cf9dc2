// vorel-tool script: checks a start-up script in either form and lists what
// it declares.

#include "ToolCommand.h"

#include "activity/ActivityRoomKinds.h"
#include "engine/HitBox.h"
#include "engine/ObfText.h"
#include "engine/Room.h"
#include "engine/Scripts.h"
#include "engine/World.h"
#include "foundation/Paths.h"
#include "foundation/Text.h"
#include "image/FrameSet.h"
#include "image/HotImage.h"
#include "image/ZQ5Library.h"
#include "platform/DisplayTarget.h"
#include "platform/MainWindowServices.h"
#include "platform/Platform.h"

#include <chrono>
#include <filesystem>
#include <iostream>
#include <vector>

namespace {
// Message boxes go to stderr; everything else of the desktop is absent.
class ConsolePlatform : public Platform {
public:
    int Errors = 0;

    std::optional<std::string> CommonDataFolder() const override { return std::nullopt; }
    std::string ProgramFolder() const override { return "."; }
    std::vector<std::string> Arguments() const override { return {}; }
    MessageResult ShowMessage(const std::string& text, MessageKind kind, MessageButtons buttons) override {
        if (kind == MessageKind::Error) ++Errors;
        // One message to a line: each run of line breaks becomes one space.
        std::string line;
        for (char c : text) {
            if (c != '\r' && c != '\n')
                line += c;
            else if (!line.empty() && line.back() != ' ')
                line += ' ';
        }
        std::cerr << line << "\n";
        return buttons == MessageButtons::Ok ? MessageResult::Ok : MessageResult::No;
    }
    bool IsShiftDown() const override { return false; }
    bool IsCtrlDown() const override { return false; }
    bool IsCapsLockOn() const override { return false; }
    uint32_t Milliseconds() const override {
        auto now = std::chrono::steady_clock::now().time_since_epoch();
        return static_cast<uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
    }
    void ProcessPendingMessages() override {}
    void SetScreenCursor(ScreenCursor) override {}
    void SetPlayAreaCursor(CursorKind) override {}
    void RefreshPointer() override {}
    bool OpenUrl(const std::string&) override { return false; }
};

class NoMainWindow : public MainWindowServices {
public:
    void SetTitle(const std::string&) override {}
    bool IsMainWindowActive() const override { return false; }
    void DrawThumbnail(int) override {}
    void HighlightThumbnail(int, bool) override {}
};

class NoView : public DisplayTarget {
public:
    int Width() const override { return PlayAreaWidth; }
    int Height() const override { return PlayAreaHeight; }
    uint32_t* ScanLine(int y) override { return Pixels.data() + static_cast<size_t>(y) * PlayAreaWidth; }
    void Blitted(const TRect&) override {}

private:
    std::vector<uint32_t> Pixels = std::vector<uint32_t>(static_cast<size_t>(PlayAreaWidth) * PlayAreaHeight);
};

// The text form is converted in memory exactly as the program converts it.
std::unique_ptr<TObfText> OpenScript(const std::string& path) {
    if (!FileExists(path)) throw std::runtime_error("cannot open \"" + path + "\"");
    if (!EndsWith(LowerCase(path), ".txt")) return std::make_unique<TObfText>(path);
    FileStream source(path, FileStream::Mode::Read);
    std::vector<uint8_t> bytes = TObfText::MakePlain(source, ConvertLine);
    ObfScramble(bytes);
    return std::make_unique<TObfText>(std::move(bytes));
}

std::string RectText(const TRect& r) {
    return "(" + std::to_string(r.Left) + "," + std::to_string(r.Top) + ")-(" + std::to_string(r.Right) +
           "," + std::to_string(r.Bottom) + ")";
}

std::string BoxDescription(const THitBox& box) {
    std::string kind = "box";
    std::string action;
    if (auto* go = dynamic_cast<const TGoBox*>(&box)) {
        kind = "GO";
        action = "-> " + go->Target;
    } else if (dynamic_cast<const TReturnBox*>(&box)) {
        kind = "RETURN";
    } else if (auto* script = dynamic_cast<const TScriptBox*>(&box)) {
        kind = "SCRIPT";
        action = "exit kind " + std::to_string(script->ExitKind);
    } else if (auto* roomScript = dynamic_cast<const TRoomScriptBox*>(&box)) {
        kind = dynamic_cast<const TControlBox*>(&box) ? "CONTROL" : "ROOMSCRIPT";
        action = "script " + roomScript->Script;
    }
    std::string text =
        kind + " " + box.GetID() + " " + RectText(box.Bounds) + " cursor " + std::to_string(box.CursorKind);
    if (!action.empty()) text += " " + action;
    if (box.Disabled) text += " disabled";
    return text;
}

void PrintRoom(const TRoom& room) {
    const std::string kind = room.KindName().empty() ? "(plain)" : room.KindName();
    std::cout << "room " << room.GetID() << "  kind " << kind << "  caption \"" << room.GetCaption()
              << "\"  picture \"" << room.GetPictureName() << "\"\n";
    // Listed in the order they are tested under the pointer: newest first.
    for (const THitBox* box : room.HitBoxes)
        std::cout << "  " << BoxDescription(*box) << "\n";
    for (const TFrameSet* frames : room.FrameSets)
        std::cout << "  frameset " << frames->GetID() << " image " << frames->ImageName << " height "
                  << frames->FrameHeight << " count " << frames->FrameCount << " at (" << frames->Position.X
                  << "," << frames->Position.Y << ") frame " << frames->Frame << "\n";
}

// Targets of go boxes that name no room fail only when clicked, and a second
// room of the same ID can never be entered; worth a warning, not an error.
void WarnAboutLinks(const TWorld& world) {
    for (const TRoom* room : world.Rooms)
        if (world.FindRoom(room->GetID()) != room)
            std::cerr << "warning: room " << room->GetID() << " is declared twice; only the first is used\n";
    for (const TRoom* room : world.Rooms)
        for (const THitBox* box : room->HitBoxes)
            if (auto* go = dynamic_cast<const TGoBox*>(box); go && !world.FindRoom(go->Target))
                std::cerr << "warning: box " << box->GetID() << " of room " << room->GetID()
                          << " goes to the undeclared room \"" << go->Target << "\"\n";
}

struct CheckOptions {
    std::string Script;
    std::string Library; // the image library the colouring rooms draw from
    std::string Data;    // the folder holding the region map
};

std::string FolderOf(const std::string& path) {
    std::filesystem::path folder = std::filesystem::path(path).parent_path();
    return folder.empty() ? "." : folder.string();
}

// By default the script lies in the shipped data folder, with the library
// one folder up, as the build lays them out.
bool ParseCheckOptions(const std::vector<std::string>& args, CheckOptions& options) {
    for (size_t i = 0; i < args.size(); ++i) {
        if ((args[i] == "--library" || args[i] == "--data") && i + 1 < args.size())
            (args[i] == "--library" ? options.Library : options.Data) = args[++i];
        else if (options.Script.empty() && !StartsWith(args[i], "--"))
            options.Script = args[i];
        else
            return false;
    }
    if (options.Script.empty()) return false;
    if (options.Data.empty()) options.Data = FolderOf(options.Script);
    if (options.Library.empty()) options.Library = FolderOf(options.Data) + "/vorel.zq5";
    return true;
}

int Check(const std::vector<std::string>& args) {
    CheckOptions options;
    if (!ParseCheckOptions(args, options)) {
        std::cerr << "usage: vorel-tool script check FILE.txt|FILE.dat [--library FILE.zq5] [--data DIR]\n";
        return 2;
    }
    // A colouring room reads the region map and its background from the
    // image library when it is made; without them a VORELROOM line is
    // reported as a room that cannot be created.
    RegisterActivityRoomKinds();
    DatPath = IncludeTrailingDelimiter(options.Data);
    ConsolePlatform platform;
    NoMainWindow window;
    NoView view;
    TZQ5Library library;
    if (FileExists(options.Library))
        library.Load(options.Library, true);
    else
        std::cerr << "warning: no image library at \"" << options.Library << "\"\n";
    THotImage::SetGlobalLibrary(&library);
    TWorld world(platform, window, view, library);
    std::unique_ptr<TObfText> text = OpenScript(options.Script);
    try {
        ReadScript(world, *text);
    } catch (const std::exception& error) {
        // What ends the program's start-up ends the check.
        std::cerr << "fatal: " << error.what() << "\n";
        THotImage::SetGlobalLibrary(nullptr);
        return 1;
    }
    for (const TRoom* room : world.Rooms)
        PrintRoom(*room);
    std::cout << "start room " << (world.GetStartRoom().empty() ? "(none)" : world.GetStartRoom()) << "\n";
    WarnAboutLinks(world);
    // The program would fail at its first room change.
    if (world.GetStartRoom().empty()) {
        std::cerr << "error: no BEGIN line names the start room\n";
        ++platform.Errors;
    } else if (!world.FindRoom(world.GetStartRoom())) {
        std::cerr << "error: the start room \"" << world.GetStartRoom() << "\" is not declared\n";
        ++platform.Errors;
    }
    std::cout << world.Rooms.Count() << " rooms, " << platform.Errors << " errors\n";
    world.Rooms.Clear();
    THotImage::SetGlobalLibrary(nullptr);
    return platform.Errors == 0 ? 0 : 1;
}

const ToolCommand checkCommand(
    "script", "check",
    "FILE.txt|FILE.dat [--library FILE.zq5] [--data DIR]  (reports script errors, lists the rooms)", Check);
} // namespace
