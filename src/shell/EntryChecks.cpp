#include "shell/EntryChecks.h"

#include "foundation/ByteStream.h"
#include "foundation/ResStrings.h"
#include "foundation/Text.h"
#include "platform/Platform.h"

namespace {
bool ReportMissing(Platform& platform, const std::string& path) {
    ShowOk(platform, FormatText(LoadResString(SMissingFile), path), MessageKind::Error);
    return false;
}
} // namespace

bool DisplayIsSuitable(Platform& platform, int bitsPerPixel) {
    if (bitsPerPixel == 1) {
        ShowOk(platform, LoadResString(SMonochrome), MessageKind::Error);
        return false;
    }
    if (bitsPerPixel == 4) return AskYesNo(platform, LoadResString(SSixteenColours), MessageKind::Warning);
    return true;
}

bool RequiredFilesPresent(Platform& platform, const std::string& programPath, const std::string& datPath) {
    const std::string library = programPath + "vorel.zq5";
    if (!FileExists(library)) return ReportMissing(platform, library);
    for (const char* stem : {"pyx_init", "vorelmap"}) {
        const std::string base = datPath + stem;
        if (!FileExists(base + ".dat") && !FileExists(base + ".txt"))
            return ReportMissing(platform, base + ".dat");
    }
    return true;
}
