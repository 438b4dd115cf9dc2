// Feeds arbitrary bytes to the saved-game reader against the shipped rooms. A
// game that reads is shown room by room and written back, and what is written
// back must read again in a fresh world.

#include "../FuzzMain.h"
#include "foundation/ByteStream.h"
#include "support/ShippedWorld.h"

#include <cstdlib>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    FuzzWorld world;
    world.Initialise();
    MemoryStream in(std::vector<uint8_t>(data, data + size));
    try {
        if (!world.Get().ReadGame(in)) return 0;
    } catch (const std::exception&) {
        return 0; // refused, with the rooms as they were
    }
    try {
        world.ShowEveryRoom();
    } catch (const std::exception&) {
        // A room that reported and gave up; what it holds is still written.
    }
    MemoryStream out;
    world.Get().WriteGame(out);
    out.Seek(0);
    FuzzWorld again;
    again.Initialise();
    if (!again.Get().ReadGame(out)) std::abort();
    return 0;
}
