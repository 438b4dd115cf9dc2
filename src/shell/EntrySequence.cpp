#include "shell/EntrySequence.h"

#include "activity/ActivityRoomKinds.h"
#include "activity/DataFiles.h"
#include "foundation/KelException.h"
#include "foundation/Paths.h"
#include "shell/ApplicationTitle.h"
#include "shell/DlgAbout.h"
#include "shell/EntryChecks.h"
#include "shell/EventBoundary.h"
#include "shell/ExportPictures.h"
#include "shell/FirstFrameProbe.h"
#include "shell/FormHelp.h"
#include "shell/FormVorel.h"
#include "shell/HeadlessPlatform.h"
#include "shell/QtConvert.h"
#include "shell/QtPlatform.h"
#include "shell/QuitSignals.h"
#include "shell/ShippedData.h"
#include "shell/SingleInstance.h"
#include "shell/SplashSetting.h"
#include "shell/VorelApplication.h"

#include <QGuiApplication>
#include <QScreen>

#include <cstdio>
#include <cstdlib>
#include <ctime>

namespace {
QStringList ToQStringList(const std::vector<std::string>& list) {
    QStringList result;
    for (const std::string& s : list)
        result << ToQString(s);
    return result;
}

// Folders, the random generator and the splash setting; false when that failed.
bool UnitStartup(Platform& platform) {
    try {
        EnsurePaths(platform);
        std::srand(static_cast<unsigned>(std::time(nullptr)));
        ReadSplashSetting();
        return true;
    } catch (const std::exception& e) {
        ShowOk(platform, e.what(), MessageKind::Plain);
        return false;
    }
}

void InstallData(Platform& platform) {
    ShippedDataResult installed = InstallShippedData(ProgramPath + "dat/", DatPath);
    if (!installed.Error.empty()) ShowOk(platform, installed.Error, MessageKind::Warning);
}

// Every data file present, readable and sound; otherwise one message says
// which file, and nothing has touched a saved game.
bool DataFilesSound(Platform& platform) {
    if (!RequiredFilesPresent(platform, ProgramPath, DatPath)) return false;
    try {
        CheckDataFiles(ProgramPath + "vorel.zq5", DatPath);
        return true;
    } catch (const DataFileDamaged& fault) {
        ShowOk(platform, DataFileMessage(fault), MessageKind::Error);
        return false;
    }
}

int RunWindows(VorelApplication& app, QtPlatform& platform, SingleInstance& instance, int scale) {
    platform.ProcessPendingMessages();
    TFormVorel form(platform, scale);
    form.SetCompanionFactories(
        [&platform] { return std::make_unique<TDlgAbout>(platform, platform.Cursors().Cursor(ckLink)); },
        [] { return std::make_unique<TFormHelp>(); });
    instance.OnActivateRequest = [&form] { form.BringToFront(); };
    bool startupFailed = false;
    try {
        form.FormCreate();
    } catch (const DataFileDamaged& fault) {
        ShowOk(platform, DataFileMessage(fault), MessageKind::Error);
        startupFailed = true;
    } catch (const std::exception& e) {
        ShowOk(platform, std::string(ApplicationTitle) + " encountered a problem on start-up: " + e.what(),
               MessageKind::Plain);
        startupFailed = true;
    }
    if (startupFailed) return 1;
    QuitSignals quitSignals([&form] { form.close(); });
    form.show();
    // Watched from here, so that it reports before the window's own
    // followers of the first frame (the about box) run.
    WatchFirstFrame(*form.View());
    return app.exec();
}
} // namespace

int RunProgram(VorelApplication& app, const ShellOptions& options) {
    QtPlatform platform(ToQStringList(options.CoreArguments));
    SetErrorReport(
        [&platform](const std::string& message) { ShowOk(platform, message, MessageKind::Error); });
    if (!UnitStartup(platform)) return 1;

    int exitCode = 0;
    const QScreen* screen = QGuiApplication::primaryScreen();
    if (DisplayIsSuitable(platform, screen ? screen->depth() : 32)) {
        SingleInstance instance("PYX32");
        const bool first = instance.Claim();
        if (!first && !instance.Problem().isEmpty()) {
            ShowOk(platform, ToStd(instance.Problem()), MessageKind::Error);
            exitCode = 1;
        }
        if (first) {
            InstallData(platform);
            RegisterActivityRoomKinds();
            if (DataFilesSound(platform))
                exitCode = RunWindows(app, platform, instance, options.Scale);
            else
                exitCode = 1;
        }
    }
    WriteSplashSetting();
    SetErrorReport(nullptr);
    return exitCode;
}

int RunExport(const ShellOptions& options) {
    HeadlessPlatform platform(options.CoreArguments);
    try {
        EnsurePaths(platform);
        InstallData(platform);
        RegisterActivityRoomKinds();
        if (!DataFilesSound(platform)) return 1;
        int written = ExportPictures(platform, platform, *options.ExportFolder, std::max(1, options.Scale));
        std::printf("%d pictures written to %s\n", written, options.ExportFolder->c_str());
        return written == 4 ? 0 : 1;
    } catch (const DataFileDamaged& fault) {
        std::fprintf(stderr, "vorel: %s\n", DataFileMessage(fault).c_str());
        return 1;
    } catch (const std::exception& e) {
        std::fprintf(stderr, "vorel: %s\n", e.what());
        return 1;
    }
}
