#pragma once
// A button drawn from a picture of the artwork that holds two frames, one
// above the other: the available button and the greyed one. It is shown at
// the window's scale without smoothing, like the play area, and reports a
// click (press and release of the left button inside it) only while
// available. Without the picture (a build without its artwork) it shows its
// caption on a plain face, greyed likewise.

#include <QImage>
#include <QString>
#include <QWidget>

#include <functional>

class QPainter;

class ArtButton : public QWidget {
public:
    // picture: a resource such as ":/art/undo.png".
    ArtButton(const QString& picture, const QString& caption, QWidget* parent);
    std::function<void()> OnClick;
    void SetAvailable(bool available);
    bool IsAvailable() const { return Available; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    void PaintPlain(QPainter& painter);

    QImage Frames;
    QString Caption;
    bool Available = false;
    bool Pressed = false;
};
