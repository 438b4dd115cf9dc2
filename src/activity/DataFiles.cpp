#include "activity/DataFiles.h"

#include "activity/LibraryCheckNote.h"
#include "activity/RegionMap.h"
#include "engine/Scripts.h"
#include "engine/World.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"
#include "foundation/Text.h"
#include "image/ZQ5Library.h"

namespace {
void CheckLibrary(const std::string& path, const std::string& noteFolder) {
    const LibraryCheckNote note(path, noteFolder);
    if (note.PassedBefore()) return;
    try {
        TZQ5Library library;
        library.Load(path, true);
        // Every record is read and walked through now, so that no image
        // fails later in the middle of a game.
        for (const std::string& name : library.ImageNames())
            library.CheckImage(name);
    } catch (const std::exception& e) {
        throw DataFileDamaged(path, e.what());
    }
    note.RecordPass();
}

void CheckRegionMap(const std::string& path) {
    try {
        TRegionMap::Load(path);
    } catch (const std::exception& e) {
        throw DataFileDamaged(path, e.what());
    }
}

std::string Mistakes(const std::vector<std::string>& messages) {
    if (messages.size() == 1) return messages.front();
    return std::to_string(messages.size()) + " mistakes, the first at " + messages.front();
}

void RequireRooms(const TWorld& world, const std::string& script) {
    for (int i = 1; i <= 4; ++i) {
        const std::string room = "VOREL" + std::to_string(i);
        if (!world.FindRoom(room)) throw DataFileDamaged(script, "the picture room " + room + " is missing");
    }
    if (!world.FindRoom(world.GetStartRoom()))
        throw DataFileDamaged(script, "the first room \"" + world.GetStartRoom() + "\" is missing");
}
} // namespace

void CheckDataFiles(const std::string& libraryPath, const std::string& datPath) {
    CheckLibrary(libraryPath, datPath);
    CheckRegionMap(datPath + "vorelmap.dat");
}

void LoadCheckedScript(TWorld& world) {
    const std::string textPath = DatPath + ScriptTextName;
    const std::string dataPath = DatPath + ScriptDataName;
    // A text newer than the scrambled form is the one a mistake comes from.
    const std::string script = ScriptNeedsConversion(textPath, dataPath) ? textPath : dataPath;
    ScriptErrorLog log;
    try {
        LoadScriptFiles(world, textPath, dataPath);
    } catch (const std::exception& e) {
        throw DataFileDamaged(script, e.what());
    }
    if (!log.Messages().empty()) throw DataFileDamaged(script, Mistakes(log.Messages()));
    RequireRooms(world, script);
}

std::string DataFileMessage(const DataFileDamaged& fault) {
    return "The toy cannot start, because one of its own files is damaged or missing:\r\n\r\n" + fault.File() +
           "\r\n\r\n(" + fault.Reason() +
           ")\r\n\r\nThe saved pictures have not been touched. Installing the toy again should mend the file.";
}
