// Feeds arbitrary script text through the converter and the parser into a
// whole world over the shipped library and region map, then starts it and
// shows every room it made.

#include "../FuzzMain.h"
#include "engine/ObfText.h"
#include "engine/ScriptWords.h"
#include "engine/Scripts.h"
#include "support/ShippedWorld.h"

#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    FuzzWorld world;
    try {
        world.Initialise([&bytes](TWorld& into) {
            MemoryStream source(bytes);
            std::vector<uint8_t> made = TObfText::MakePlain(source, ConvertLine);
            ObfScramble(made);
            TObfText text(made);
            ReadScript(into, text);
        });
        world.Get().Start();
        world.ShowEveryRoom();
    } catch (const std::exception&) {
        // A script the start-up refuses, or a room that reports and gives up.
    }
    return 0;
}
