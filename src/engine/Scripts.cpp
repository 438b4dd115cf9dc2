#include "engine/Scripts.h"

#include "engine/HitBox.h"
#include "engine/ObfText.h"
#include "engine/Room.h"
#include "engine/World.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"
#include "foundation/Text.h"
#include "image/FrameSet.h"
#include "platform/Platform.h"

#include <array>
#include <cstddef>
#include <filesystem>
#include <optional>
#include <string_view>
#include <system_error>

namespace {
std::string NextUpper(std::string& rest) {
    return UpperCase(ExtractWord(rest));
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Hands out the lines of a script with continuation records joined back to
// the line they were split from.
class ScriptLines {
public:
    explicit ScriptLines(TObfText& text) : Text(text) {}

    bool AtEnd() const { return !Ahead && Text.AtEnd(); }

    std::string Next() {
        std::string line = Ahead ? std::move(*Ahead) : Text.ReadLine();
        Ahead.reset();
        while (!Text.AtEnd()) {
            std::string next = Text.ReadLine();
            if (!StartsWith(next, "+")) {
                Ahead = std::move(next);
                break;
            }
            line += " " + next.substr(1);
        }
        return line;
    }

private:
    TObfText& Text;
    std::optional<std::string> Ahead;
};

// --- Hit boxes -------------------------------------------------------------

template <class Box> std::unique_ptr<THitBox> MakeBox(const std::string& id, const TRect& bounds) {
    return std::make_unique<Box>(id, bounds);
}

using BoxMaker = std::unique_ptr<THitBox> (*)(const std::string& id, const TRect& bounds);

// A box class by the word that names it in a script line.
struct NamedBoxMaker {
    std::string_view Name;
    BoxMaker Make;
};

// The type words of HITBOX.
constexpr std::array<NamedBoxMaker, 5> HitBoxTypes = {{
    {"GO", MakeBox<TGoBox>},
    {"RETURN", MakeBox<TReturnBox>},
    {"SCRIPT", MakeBox<TScriptBox>},
    {"ROOMSCRIPT", MakeBox<TRoomScriptBox>},
    {"CONTROL", MakeBox<TControlBox>},
}};

// The box's target, exit kind or script, by its class. Return boxes and
// plain boxes have none, and are left as they are.
void SetBoxAction(THitBox& box, const std::string& action) {
    if (auto* go = dynamic_cast<TGoBox*>(&box))
        go->SetTarget(UpperCase(action));
    else if (auto* script = dynamic_cast<TScriptBox*>(&box))
        script->SetExitKind(action);
    else if (auto* roomScript = dynamic_cast<TRoomScriptBox*>(&box))
        roomScript->SetScript(action);
}

// The commands that declare a box of one class.
constexpr std::array<NamedBoxMaker, 5> TypedBoxCommands = {{
    {"GOBOX", MakeBox<TGoBox>},
    {"ROOMSCRIPTBOX", MakeBox<TRoomScriptBox>},
    {"SCRIPTBOX", MakeBox<TScriptBox>},
    {"CONTROLBOX", MakeBox<TControlBox>},
    {"SAYBOX", MakeBox<TControlBox>},
}};

template <std::size_t N>
BoxMaker FindBoxMaker(const std::array<NamedBoxMaker, N>& table, const std::string& name) {
    for (const NamedBoxMaker& entry : table)
        if (name == entry.Name) return entry.Make;
    return nullptr;
}

// --- One line ---------------------------------------------------------------

class LineParser {
public:
    LineParser(TWorld& world, TRoom& room, std::string rest)
        : World(world), Room(room), Rest(std::move(rest)) {}

    // False when the command is none of the room commands.
    bool Run(const std::string& command) {
        if (BoxMaker make = FindBoxMaker(TypedBoxCommands, command)) {
            TypedBox(make);
            return true;
        }
        using Handler = void (LineParser::*)();
        static constexpr std::array<std::pair<std::string_view, Handler>, 9> handlers = {{
            {"PIC", &LineParser::Pic},
            {"INFORMONENTRY", &LineParser::InformOnEntry},
            {"ROOMFLAG", &LineParser::RoomFlag},
            {"HITBOX", &LineParser::HitBox},
            {"HITACTION", &LineParser::HitAction},
            {"HITDISABLE", &LineParser::HitDisable},
            {"HITCURSOR", &LineParser::HitCursor},
            {"FRAMESET", &LineParser::FrameSet},
            {"TRAP", &LineParser::Trap},
        }};
        for (const auto& [name, handler] : handlers) {
            if (command == name) {
                (this->*handler)();
                return true;
            }
        }
        return false;
    }

private:
    void Error(const std::string& message) { ScriptError(World.GetPlatform(), message); }

    void Pic() { Room.SetPictureName(ExtractWord(Rest)); }
    void InformOnEntry() { Room.SetInformText(Rest); }
    void Trap() {}

    void RoomFlag() {
        switch (StrToInt(ExtractWord(Rest))) {
        case 1:
            Room.Flags |= rfRetain;
            break;
        case 2:
            Room.Flags |= rfMarked;
            break;
        case 3:
            Room.Flags |= rfFlipPicture;
            break;
        default:
            Room.Flags |= rfMirrorPicture;
            break;
        }
    }

    void TypedBox(BoxMaker make) {
        const std::string id = NextUpper(Rest);
        TRect bounds;
        ExtractBounds(Rest, bounds);
        std::unique_ptr<THitBox> box = make(id, bounds);
        SetBoxAction(*box, NextUpper(Rest));
        THitBox* added = Room.AddHitBox(std::move(box));
        if (Rest.empty()) return;
        try {
            added->SetCursorKind(CursorKeyword(Rest));
        } catch (const StdException&) {
            Error("Invalid cursor keyword " + Quoted(Rest));
        }
    }

    void HitBox() {
        const std::string type = NextUpper(Rest);
        const std::string id = NextUpper(Rest);
        TRect bounds;
        ExtractBounds(Rest, bounds);
        if (BoxMaker make = FindBoxMaker(HitBoxTypes, type))
            Room.AddHitBox(make(id, bounds));
        else
            Error("Invalid hitbox type " + Quoted(type) + " (ID=" + Quoted(id) + ")");
    }

    // The box of the current room named by the next word, or nullptr after
    // reporting that there is none.
    THitBox* NamedBox(const std::string& id) {
        THitBox* box = Room.FindHitBox(id);
        if (!box) Error("Invalid hitbox ID " + Quoted(id));
        return box;
    }

    void HitAction() {
        if (THitBox* box = NamedBox(NextUpper(Rest))) SetBoxAction(*box, Rest);
    }

    void HitDisable() {
        if (THitBox* box = NamedBox(NextUpper(Rest))) box->SetEnabled(false);
    }

    void HitCursor() {
        const std::string id = NextUpper(Rest);
        const std::string keyword = NextUpper(Rest);
        THitBox* box = NamedBox(id);
        if (!box) return;
        try {
            box->SetCursorKind(CursorKeyword(keyword));
        } catch (const StdException&) {
            Error("Invalid cursor keyword " + Quoted(keyword));
        }
    }

    // The frame set's 16-bit fields refuse numbers that would wrap around.
    uint16_t NextFrameNumber(const char* what) {
        const std::string word = ExtractWord(Rest);
        const int32_t value = StrToInt(word);
        if (value < 0 || value > 0xFFFF)
            throw StdException("FRAMESET: " + std::string(what) + " " + Quoted(word) + " is out of range");
        return static_cast<uint16_t>(value);
    }

    void FrameSet() {
        const std::string id = NextUpper(Rest);
        const std::string image = LowerCase(ExtractWord(Rest));
        const uint16_t height = NextFrameNumber("frame height");
        const uint16_t count = NextFrameNumber("frame count");
        const int32_t x = StrToInt(ExtractWord(Rest));
        const int32_t y = StrToInt(ExtractWord(Rest));
        auto frameSet =
            std::make_unique<TFrameSet>(id, World.Library(), TRect{x, y, x, y}, count, height, image);
        if (!Rest.empty()) frameSet->Frame = NextFrameNumber("frame");
        Room.AddFrameSet(std::move(frameSet));
    }

    TWorld& World;
    TRoom& Room;
    std::string Rest;
};

bool IsRoomDeclaration(const std::string& command) {
    return EndsWith(command, "ROOM");
}

TRoom* DeclareRoom(TWorld& world, const std::string& command, std::string rest, TRoom* room) {
    const std::string id = NextUpper(rest);
    const std::string kind = command.substr(0, command.size() - 4);
    std::unique_ptr<TRoom> created;
    try {
        created = CreateRoomOfKind(kind, id);
    } catch (const std::exception&) {
        created.reset();
    }
    if (!created) {
        // The lines that follow go on applying to the previous room.
        ScriptError(world.GetPlatform(), "Can't create room " + Quoted(id));
        return room;
    }
    created->SetCaption(rest);
    return world.AddRoom(std::move(created));
}

std::optional<std::filesystem::file_time_type> ModificationTime(const std::string& path) {
    std::error_code error;
    auto time = std::filesystem::last_write_time(path, error);
    if (error) return std::nullopt;
    return time;
}
} // namespace

TRoom* ParseScriptLine(TWorld& world, const std::string& line, TRoom* room) {
    std::string rest = Trim(line);
    if (rest.empty() || rest[0] == '#') return room;
    const std::string command = ExpandCommand(ExtractWord(rest));
    if (IsRoomDeclaration(command)) return DeclareRoom(world, command, std::move(rest), room);
    if (!room) {
        if (command == "BEGIN")
            world.SetStartRoom(NextUpper(rest));
        else
            ScriptError(world.GetPlatform(), "Unknown command " + Quoted(command) + " in prologue");
        return room;
    }
    // Any other command inside a room is ignored without a message.
    LineParser(world, *room, std::move(rest)).Run(command);
    return room;
}

void ScriptError(Platform& platform, const std::string& message) {
    platform.ShowMessage("Script Error:\r\n\r\n" + message, MessageKind::Error, MessageButtons::Ok);
}

bool ScriptNeedsConversion(const std::string& textPath, const std::string& dataPath) {
    if (!FileExists(textPath)) return false;
    const auto textTime = ModificationTime(textPath);
    if (!textTime) return false;
    const auto dataTime = ModificationTime(dataPath);
    return !dataTime || *dataTime < *textTime;
}

void ReadScript(TWorld& world, TObfText& text) {
    ScriptLines lines(text);
    TRoom* room = nullptr;
    // At least one line is read, so an empty script still passes the parser once.
    do {
        room = ParseScriptLine(world, lines.Next(), room);
        world.GetPlatform().ProcessPendingMessages();
    } while (!lines.AtEnd());
}

void LoadScriptFiles(TWorld& world, const std::string& textPath, const std::string& dataPath) {
    if (ScriptNeedsConversion(textPath, dataPath)) TObfText::MakeFile(textPath, dataPath, ConvertLine);
    TObfText text(dataPath);
    ReadScript(world, text);
}

void LoadScript(TWorld& world) {
    LoadScriptFiles(world, DatPath + ScriptTextName, DatPath + ScriptDataName);
}
