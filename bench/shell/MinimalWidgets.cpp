// The baseline of the launch benchmark: the least a Qt Widgets program does
// to show a window with some text, reporting its first frame the same way.
#include "shell/FirstFrameProbe.h"

#include <QApplication>
#include <QLabel>

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    QLabel label("Minimal Qt Widgets program");
    label.resize(538, 433);
    WatchFirstFrame(label);
    label.show();
    return app.exec();
}
