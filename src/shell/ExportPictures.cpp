#include "shell/ExportPictures.h"

#include "activity/ObjectTable.h"
#include "activity/VorelDrawing.h"
#include "activity/VorelRoom.h"
#include "engine/Scripts.h"
#include "engine/World.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"
#include "foundation/ScopeGuard.h"
#include "image/HotImage.h"
#include "image/ZQ5ImageData.h"
#include "image/ZQ5Library.h"
#include "shell/ImageTarget.h"
#include "shell/QtConvert.h"

#include <QDir>

namespace {
QImage RenderPicture(TVorelRoom& room, TZQ5Library& library) {
    std::unique_ptr<THotImage> canvas = THotImage::CreateBlank(PictureWidth, PictureHeight);
    TZQ5ImageData& surface = canvas->ImageData();
    {
        room.Picture().Attach(&surface, {0, 0});
        const ScopeGuard detach([&room] { room.Picture().Attach(nullptr, {0, 0}); });
        room.Picture().DrawAll();
    }
    ImageTarget target(PictureWidth, PictureHeight);
    target.SelectPalette(&library.GetHPal());
    surface.AddDamage(surface.BoundsRect());
    surface.DisplayDamage(target, {0, 0});
    return target.Image().copy();
}
} // namespace

int ExportPictures(Platform& platform, MainWindowServices& services, const std::string& folder, int scale) {
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
        world.ScriptLoader = LoadScript;
        world.Initialise();
        for (int i = 1; i <= 4; ++i) {
            auto* room = dynamic_cast<TVorelRoom*>(world.FindRoom("VOREL" + std::to_string(i)));
            if (!room) continue;
            QImage picture = RenderPicture(*room, library);
            if (scale > 1)
                picture =
                    picture.scaled(picture.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
            QString path = QDir(FromStdPath(folder)).filePath(QString("picture%1.png").arg(i));
            if (!picture.save(path, "PNG"))
                throw KelException("Export: cannot write \"" + ToStdPath(path) + "\"");
            ++written;
        }
    }
    return written;
}
