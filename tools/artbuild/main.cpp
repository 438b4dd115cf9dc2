// artbuild: builds the toy's data files from the art folder.
//   artbuild ART_DIR BUILD_DIR VOREL_TOOL

#include "ArtBuilder.h"
#include "ArtError.h"

#include <QGuiApplication>
#include <QTemporaryDir>

#include <cstdlib>
#include <iostream>

int main(int argc, char** argv) {
    if (argc != 4) {
        std::cerr << "usage: artbuild ART_DIR BUILD_DIR VOREL_TOOL\n";
        return 2;
    }
    // The review sheet draws text, which needs a GUI application but no display.
    qputenv("QT_QPA_PLATFORM", "offscreen");
    // Qt wants a private runtime folder and complains on every build without one.
    QTemporaryDir runtime;
    if (qEnvironmentVariableIsEmpty("XDG_RUNTIME_DIR") && runtime.isValid())
        qputenv("XDG_RUNTIME_DIR", runtime.path().toLocal8Bit());
    QGuiApplication app(argc, argv);
    try {
        ArtBuilder({argv[1], argv[2], argv[3]}).Run();
    } catch (const std::exception& error) {
        std::cerr << "artbuild: " << error.what() << "\n";
        return 1;
    }
    return 0;
}
