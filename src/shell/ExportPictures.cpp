#include "shell/ExportPictures.h"

#include "activity/DataFiles.h"
#include "engine/World.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"
#include "foundation/ScopeGuard.h"
#include "image/HotImage.h"
#include "image/ZQ5Library.h"
#include "shell/ImageTarget.h"
#include "shell/PictureFiles.h"
#include "shell/QtConvert.h"

#include <QDir>

int ExportPictures(Platform& platform, MainWindowServices& services, const std::string& folder, int scale,
                   PictureForm form) {
    if (!QDir().mkpath(FromStdPath(folder)))
        throw KelException("Export: cannot create the folder \"" + folder + "\"");
    TZQ5Library library;
    library.Load(ProgramPath + "vorel.zq5", true);
    // The class-wide library is set for as long as the export runs.
    THotImage::SetGlobalLibrary(&library);
    const ScopeGuard unsetLibrary([] { THotImage::SetGlobalLibrary(nullptr); });
    ImageTarget view(PlayAreaWidth, PlayAreaHeight);
    int written = 0;
    {
        TWorld world(platform, services, view, library);
        world.ScriptLoader = LoadCheckedScript;
        world.Initialise();
        for (int i = 1; i <= 4; ++i) {
            if (!world.FindRoom("VOREL" + std::to_string(i))) continue;
            QString path = QDir(FromStdPath(folder)).filePath(QString("picture%1.png").arg(i));
            SavePicturePng(PictureOfWorld(world, i, form), scale, path);
            ++written;
        }
    }
    return written;
}
