#include "LibraryRules.h"

#include "ArtError.h"
#include "ArtRules.h"
#include "ObjectTable.h"
#include "common/CommandLines.h"
#include "foundation/Text.h"

#include <map>
#include <set>
#include <sstream>

namespace rules {
namespace {
const int SetColours[2][8] = {{16, 11, 241, 53, 12, 47, 15, 233}, {39, 242, 10, 84, 89, 14, 229, 101}};

const IndexedImage& Find(const std::vector<IndexedImage>& library, const std::string& name) {
    for (const IndexedImage& image : library)
        if (image.Name == name) return image;
    throw ArtError("image " + name + ": missing from the library");
}

void CheckColourButtons(const IndexedImage& sheet) {
    CheckSize(sheet, 344, 156);
    // Rows: set 1 normal, set 1 current, set 0 normal, set 0 current.
    for (int row = 0; row < 4; ++row)
        for (int m = 0; m < 8; ++m) {
            const int x = m * 43 + 21, y = row * 39 + 19;
            const int wanted = SetColours[row < 2 ? 1 : 0][m];
            if (sheet.At(x, y) != wanted)
                throw ArtError("image colbtns: button " + std::to_string(m + 1) + " of row " +
                               std::to_string(row) + " must show colour " + std::to_string(wanted) +
                               " at its centre (" + std::to_string(x) + "," + std::to_string(y) + ")");
        }
}

struct Box {
    int X, Y, W, H;
    std::string Script, Cursor;
};

struct RoomSeen {
    std::string Kind;
    std::string Picture;
    std::map<std::string, Box> Boxes;
    std::set<std::string> FrameSets;
};

void Require(bool ok, const std::string& room, const std::string& what) {
    if (!ok) throw ArtError("script room " + room + ": " + what);
}

void RequireBox(const RoomSeen& room, const std::string& name, const std::string& id, int x, int y, int w,
                int h, const std::string& script) {
    const auto found = room.Boxes.find(id);
    Require(found != room.Boxes.end(), name, "box " + id + " missing");
    const Box& b = found->second;
    Require(b.X == x && b.Y == y && b.W == w && b.H == h, name,
            "box " + id + " must lie at " + std::to_string(x) + " " + std::to_string(y) + " " +
                std::to_string(w) + " " + std::to_string(h));
    Require(script.empty() || b.Script == script, name, "box " + id + " must run script " + script);
}

// The title fills the logo's place with its own colour at (185,15) and fades the logo in over it,
// so the logo's surroundings must be that colour or the fade shows a box.
void CheckLogo(const IndexedImage& title, const IndexedImage& logo) {
    const std::uint8_t fill = title.At(185, 15);
    for (int y = 0; y < logo.Height; ++y)
        for (int x = 0; x < logo.Width; ++x)
            if ((x == 0 || y == 0 || x == logo.Width - 1 || y == logo.Height - 1) && logo.At(x, y) != fill)
                throw ArtError("image vimo at (" + std::to_string(x) + "," + std::to_string(y) +
                               "): the logo's edge must be colour " + std::to_string(fill) +
                               ", the title picture's at (185,15)");
}

void CheckColouringRoom(const std::string& name, const RoomSeen& room) {
    RequireBox(room, name, "VOREL", 15, 15, 376, 225, "");
    RequireBox(room, name, "ICONS", 108, 252, 285, 19, "");
    const int ys[12] = {19, 19, 62, 62, 112, 112, 155, 155, 198, 198, 241, 241};
    for (int k = 0; k < 12; ++k)
        RequireBox(room, name, std::to_string(k + 1), k % 2 ? 451 : 405, ys[k], 42, 39, k < 4 ? "BG" : "BTN");
    for (int m = 0; m < 8; ++m) {
        bool found = false;
        for (const auto& [id, box] : room.Boxes)
            found = found || (id[0] == '1' + m && box.Script == "COLOR" && box.X == m * 43 + 50 &&
                              box.Y == 277 && box.W == 43 && box.H == 39);
        Require(found, name, "no COLOR box for colour " + std::to_string(m + 1) + " over its button");
    }
    for (const char* tool : {"ERASER", "FLOP", "HALF", "BRIGHT"}) {
        Require(room.Boxes.count(tool) && room.Boxes.at(tool).Script == tool, name,
                std::string("box ") + tool);
        Require(room.FrameSets.count(tool) > 0, name, std::string("frame set ") + tool);
    }
    Require(room.FrameSets.count("SLIDE") > 0, name, "frame set SLIDE");
    std::set<std::string> scripts;
    for (const auto& [id, box] : room.Boxes)
        scripts.insert(box.Script);
    Require(scripts.count("XPANEL1") && scripts.count("XPANEL2"), name, "arrow boxes XPANEL1 and XPANEL2");
}
} // namespace

void CheckLibrary(const std::vector<IndexedImage>& library) {
    std::set<std::string> names;
    for (const IndexedImage& image : library)
        if (!names.insert(image.Name).second)
            throw ArtError("image " + image.Name + ": two images of this name");
    Find(library, "tile");
    Find(library, "vimo");
    CheckThumbnailFrame(Find(library, "picon_up"));
    CheckThumbnailFrame(Find(library, "picon_dn"));
    CheckColourButtons(Find(library, "colbtns"));
    CheckSize(Find(library, "vorelbtn"), 42, 78);
    CheckSize(Find(library, "ldsv_gfx"), 264, 306);
    CheckSize(Find(library, "qzvrlicn"), 76, 304);
    for (int bank = 1; bank <= 4; ++bank)
        CheckSize(Find(library, "btnface" + std::to_string(bank)), 120, 162);
    for (int i = 0; i < objects::BackgroundCount; ++i) {
        CheckBackground(Find(library, objects::BackgroundName(i, false)));
        CheckBackground(Find(library, objects::BackgroundName(i, true)));
    }
    for (int bank = 0; bank < 4; ++bank) {
        CheckObjectSheet(Find(library, objects::FullSheet(bank)), bank, false);
        CheckObjectSheet(Find(library, objects::HalfSheet(bank)), bank, true);
    }
}

void CheckScript(const std::vector<IndexedImage>& library, const std::string& scriptText) {
    std::map<std::string, RoomSeen> rooms;
    std::string current;
    ForEachCommandLine(
        scriptText, [&](std::istringstream& words, const std::string& word, const std::string&, int number) {
            const std::string command = UpperCase(word);
            const std::string where = "script line " + std::to_string(number) + ": ";
            if (EndsWith(command, "ROOM")) {
                words >> current;
                current = UpperCase(current);
                rooms[current].Kind = command.substr(0, command.size() - 4);
            } else if (command == "PIC") {
                std::string name;
                words >> name;
                const IndexedImage& pic = Find(library, LowerCase(name));
                rooms[current].Picture = LowerCase(name);
                if (pic.Width != 512 || pic.Height != 320)
                    throw ArtError(where + "room picture " + name + " is not 512x320");
            } else if (command == "FRAMESET" || command == "FS") {
                std::string id, image;
                int height = 0, count = 0;
                if (!(words >> id >> image >> height >> count)) throw ArtError(where + "incomplete FRAMESET");
                const IndexedImage& strip = Find(library, LowerCase(image));
                if (strip.Height != height * count)
                    throw ArtError(where + "frame set " + id + ": image " + image + " is " +
                                   std::to_string(strip.Height) + " high, not " + std::to_string(count) +
                                   " frames of " + std::to_string(height));
                rooms[current].FrameSets.insert(UpperCase(id));
            } else if (command == "CONTROLBOX" || command == "ROOMSCRIPTBOX" || command == "GOBOX" ||
                       command == "SCRIPTBOX" || command == "SAYBOX") {
                std::string id;
                Box box;
                if (!(words >> id >> box.X >> box.Y >> box.W >> box.H >> box.Script))
                    throw ArtError(where + "incomplete " + command);
                words >> box.Cursor;
                box.Script = UpperCase(box.Script);
                rooms[current].Boxes[UpperCase(id)] = box;
            }
        });
    int colouring = 0;
    for (const auto& [name, room] : rooms) {
        if (room.Kind == "VOREL") {
            CheckColouringRoom(name, room);
            ++colouring;
        } else if (room.Kind == "TITLE") {
            for (const char* set : {"VIMO", "QUILO", "VOREL"})
                Require(room.FrameSets.count(set) > 0, name, std::string("frame set ") + set);
            bool start = false;
            for (const auto& [id, box] : room.Boxes)
                start = start || box.Script == "START";
            Require(start, name, "a box with script START");
            if (!room.Picture.empty()) CheckLogo(Find(library, room.Picture), Find(library, "vimo"));
        } else if (room.Kind == "DISKOPS") {
            for (const char* id : {"1", "2", "3", "4", "5", "6", "7", "8", "S", "X", "R", "C"})
                Require(room.Boxes.count(id) > 0, name, std::string("box ") + id);
        }
    }
    if (colouring != 4) throw ArtError("script: " + std::to_string(colouring) + " colouring rooms, 4 needed");
}
} // namespace rules
