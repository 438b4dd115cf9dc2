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
#include <deque>
#include <filesystem>
#include <optional>
#include <vector>
#include <string_view>
#include <system_error>

namespace {
ScriptErrorLog* ActiveLog = nullptr;

std::string NextUpper(std::string& rest) {
    return UpperCase(ExtractWord(rest));
}

std::string Quoted(const std::string& text) {
    return "\"" + text + "\"";
}

// Hands out the lines of a script with continuation records joined back to
// the line they were split from. A record that begins with "+" is joined only
// where the converter split: the joined line, split again, must give back
// exactly the records read. Any other "+" line stays a line of its own.
class ScriptLines {
public:
    explicit ScriptLines(TObfText& text) : Text(text) {}

    bool AtEnd() const { return Pending.empty() && Text.AtEnd(); }

    std::string Next() {
        std::vector<std::string> chain{Take()};
        while (!Pending.empty() || !Text.AtEnd()) {
            std::string next = Take();
            if (!StartsWith(next, "+")) {
                Pending.push_front(std::move(next));
                break;
            }
            chain.push_back(std::move(next));
        }
        size_t joined = chain.size();
        while (joined > 1 && !WasSplit(chain, joined))
            --joined;
        for (size_t i = chain.size(); i-- > joined;)
            Pending.push_front(std::move(chain[i]));
        return Join(chain, joined);
    }

private:
    std::string Take() {
        if (Pending.empty()) return Text.ReadLine();
        std::string line = std::move(Pending.front());
        Pending.pop_front();
        return line;
    }

    static std::string Join(const std::vector<std::string>& chain, size_t count) {
        std::string line = chain[0];
        for (size_t i = 1; i < count; ++i)
            line += " " + chain[i].substr(1);
        return line;
    }

    static bool WasSplit(const std::vector<std::string>& chain, size_t count) {
        std::vector<std::string> records = ObfSplitLine(Utf8ToLatin1(Join(chain, count)));
        if (records.size() != count) return false;
        for (size_t i = 0; i < count; ++i)
            if (records[i] != Utf8ToLatin1(chain[i])) return false;
        return true;
    }

    TObfText& Text;
    std::deque<std::string> Pending;
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
        if (!CoordinatesInRange({x, y})) throw StdException("FRAMESET: the position is out of range");
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

ScriptErrorLog::ScriptErrorLog() : Outer(ActiveLog) {
    ActiveLog = this;
}

ScriptErrorLog::~ScriptErrorLog() {
    ActiveLog = Outer;
}

void ScriptError(Platform& platform, const std::string& message) {
    if (ActiveLog) {
        ActiveLog->Gathered.push_back("line " + std::to_string(ActiveLog->Line) + ": " + message);
        return;
    }
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
        if (ActiveLog) ++ActiveLog->Line;
        room = ParseScriptLine(world, lines.Next(), room);
        world.GetPlatform().ProcessPendingMessages();
    } while (!lines.AtEnd());
}

void LoadScriptFiles(TWorld& world, const std::string& textPath, const std::string& dataPath) {
    if (ScriptNeedsConversion(textPath, dataPath)) TObfText::MakeFile(textPath, dataPath, ConvertLine);
    TObfText text(dataPath);
    // A missing script reads as an empty one; a file that is there but not a
    // whole container would only yield garbage lines.
    if (!text.Intact() && FileExists(dataPath))
        throw KelException("the file is empty or cut short");
    ReadScript(world, text);
}

void LoadScript(TWorld& world) {
    LoadScriptFiles(world, DatPath + ScriptTextName, DatPath + ScriptDataName);
}
