#include "RealData.h"

#include "activity/ActivityRoomKinds.h"
#include "foundation/Paths.h"
#include "shell/ShippedData.h"
#include "support/FakePlatform.h"
#include "support/TestFiles.h"

#include <filesystem>

const std::string& RealBinDir() {
    static const std::string folder = VOREL_BIN_DIR;
    return folder;
}

bool RealDataBuilt() {
    const std::string& bin = RealBinDir();
    return std::filesystem::exists(bin + "/vorel.zq5") &&
           std::filesystem::exists(bin + "/dat/vorelmap.dat") &&
           (std::filesystem::exists(bin + "/dat/pyx_init.dat") ||
            std::filesystem::exists(bin + "/dat/pyx_init.txt"));
}

bool UseRealData(FakePlatform& desktop, const TempDir& home) {
    desktop.ProgramDir = RealBinDir();
    desktop.DataFolder = home.Folder() + "data";
    EnsurePaths(desktop, true);
    if (!InstallShippedData(ProgramPath + "dat/", DatPath).Error.empty()) return false;
    RegisterActivityRoomKinds();
    return true;
}
