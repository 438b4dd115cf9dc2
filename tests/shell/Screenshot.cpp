// Saves a picture of the whole X screen as PNG: the smoke test's camera.
// Usage: shell_screenshot FILE
#include <QGuiApplication>
#include <QPixmap>
#include <QScreen>

#include <cstdio>

int main(int argc, char** argv) {
    QGuiApplication app(argc, argv);
    if (argc < 2) return 2;
    QScreen* screen = QGuiApplication::primaryScreen();
    if (!screen) return 3;
    QPixmap shot = screen->grabWindow(0);
    if (shot.isNull() || !shot.save(QString::fromLocal8Bit(argv[1]), "PNG")) {
        std::fprintf(stderr, "screenshot: cannot grab or save %s\n", argv[1]);
        return 1;
    }
    return 0;
}
