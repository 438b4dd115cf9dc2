// The baseline of the launch benchmark and the latency probe: the least a Qt
// Widgets program does to show a window with some text, reporting its first
// frame the same way. With --click the window repaints itself in another
// colour at every press instead: the least a program does to show a click.
// With --size WxH the window has that size instead of 538 x 433, so that a
// baseline fills as many pixels as the program it is compared with.
#include "shell/FirstFrameProbe.h"

#include <QApplication>
#include <QLabel>
#include <QMouseEvent>
#include <QPainter>

#include <cstdio>
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
    bool click = false;
    QSize size(538, 433);
    for (int i = 1; i < argc; ++i) {
        if (std::strcmp(argv[i], "--click") == 0) click = true;
        if (std::strcmp(argv[i], "--size") == 0 && i + 1 < argc &&
            std::sscanf(argv[i + 1], "%dx%d", &size.rwidth(), &size.rheight()) != 2)
            return 2;
    }
    QLabel label("Minimal Qt Widgets program");
    ClickPad pad;
    QWidget& window = click ? static_cast<QWidget&>(pad) : label;
    window.resize(size);
    WatchFirstFrame(window);
    window.show();
    return app.exec();
}
