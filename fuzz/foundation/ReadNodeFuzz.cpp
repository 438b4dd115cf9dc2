// Feeds arbitrary bytes to the list and node readers and the line reader:
// they may raise their own errors, but never crash or read out of bounds.

#include "../FuzzMain.h"
#include "foundation/ByteStream.h"
#include "foundation/IDList.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"
#include "foundation/Text.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<uint8_t> bytes(data, data + size);
    for (uint8_t version : {uint8_t{1}, uint8_t{2}}) {
        DataFormatVersion = version;
        MemoryStream stream(bytes);
        TIDList list;
        try {
            list.LoadFromStream(stream);
        } catch (const KelException&) {
        }
    }
    DataFormatVersion = CurrentDataFormatVersion;
    for (bool ansi : {true, false}) {
        MemoryStream stream(bytes);
        try {
            std::string line;
            for (;;)
                ReadLine(stream, ansi, line);
        } catch (const SilentAbort&) {
        }
    }
    return 0;
}
