// Feeds arbitrary bytes to the image library as a whole file: opened,
// indexed, and every image loaded, decoded and drawn.

#include "../FuzzMain.h"
#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "image/ZQ5Library.h"
#include "support/FakePlatform.h"

#include <unistd.h>

namespace {
// The library reader opens files by name, so each input is written to one.
const std::string& InputFile() {
    static const std::string path =
        (std::filesystem::temp_directory_path() / ("vorel-fuzz-library-" + std::to_string(::getpid()))).string();
    return path;
}
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    MemoryStream(std::vector<uint8_t>(data, data + size)).SaveToFile(InputFile());
    TZQ5Library library;
    try {
        library.Load(InputFile(), true);
    } catch (const KelException&) {
        return 0; // refused as a whole
    }
    FakeDisplayTarget target(160, 120);
    for (const std::string& name : library.ImageNames()) {
        try {
            TImageNode* node = library.GetImage(name);
            library.DrawImage(target, {-7, 5}, node);
            library.ReleaseImage(node);
        } catch (const KelException&) {
            // One image refused; the others are still drawn.
        }
    }
    return 0;
}
