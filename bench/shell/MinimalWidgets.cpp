// The baseline of the launch benchmark and the latency probe: the least a Qt
// Widgets program does to show a window with some text, reporting its first
// frame the same way. With --click the window repaints itself in another
// colour at every press instead: the least a program does to show a click.
#include "shell/FirstFrameProbe.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <cstring>

namespace {
class ClickPad : public QWidget {
protected:
    void mousePressEvent(QMouseEvent*) override {
        Dark = !Dark;
        update();
    }
    void paintEvent(QPaintEvent*) override { QPainter(this).fillRect(rect(), Dark ? Qt::darkBlue : Qt::yellow); }

private:
    bool Dark = false;
};
} // namespace

int main(int argc, char** argv) {
    QApplication app(argc, argv);
    const bool click = argc > 1 && std::strcmp(argv[1], "--click") == 0;
    QLabel label("Minimal Qt Widgets program");
    ClickPad pad;
    QWidget& window = click ? static_cast<QWidget&>(pad) : label;
    window.resize(538, 433);
    WatchFirstFrame(window);
    window.show();
    return app.exec();
}
