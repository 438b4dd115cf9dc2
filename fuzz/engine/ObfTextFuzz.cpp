// Feeds arbitrary bytes to the scrambled container reader, and to the
// converter as a script text: whatever the converter makes must read back
// as a whole container.

#include "../FuzzMain.h"
#include "engine/ObfText.h"
#include "engine/ScriptWords.h"

#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    TObfText container(bytes);
    while (!container.AtEnd())
        container.ReadLine();

    MemoryStream source(bytes);
    std::vector<uint8_t> made = TObfText::MakePlain(source, ConvertLine);
    ObfScramble(made);
    TObfText back(made);
    if (!back.Intact()) std::abort();
    while (!back.AtEnd())
        back.ReadLine();
    return 0;
}
