// The desktop program "vorel".

#include "shell/CommandLine.h"
#include "shell/EntrySequence.h"
#include "shell/FormVorel.h"
#include "shell/PngFile.h"
#include "shell/VorelApplication.h"

#include <QGuiApplication>
#include <QIcon>
#include <QPixmap>

#include <cstdio>

int main(int argc, char** argv) {
    std::vector<std::string> arguments(argv + 1, argv + argc);
    ShellOptions options = ParseShellOptions(arguments);
    if (!options.Error.empty()) {
        std::fprintf(stderr, "vorel: %s\n%s", options.Error.c_str(), ShellUsage);
        return 2;
    }
    // Both answer before anything needs a display.
    if (options.Help) {
        std::fputs(ShellUsage, stdout);
        return 0;
    }
    if (options.Version) {
        std::printf("vorel %s (%s)\n", VersionText, VersionDate);
        return 0;
    }
    if (options.ExportFolder) {
        // The export never shows a window, so it needs no display.
        if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) qputenv("QT_QPA_PLATFORM", "offscreen");
        QGuiApplication app(argc, argv);
        return RunExport(options);
    }
    VorelApplication app(argc, argv);
    app.setWindowIcon(QIcon(QPixmap::fromImage(ReadPng(":/art/icon.png"))));
    // Wayland has no window icons: the compositor shows the icon of the
    // desktop entry that this names.
    QGuiApplication::setDesktopFileName(VOREL_APP_ID);
    return RunProgram(app, options);
}
