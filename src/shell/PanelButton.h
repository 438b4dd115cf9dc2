#pragma once
// A panel with a caption that acts as a button: it reports a click (press and
// release of the left button inside it) while it is enabled.

#include <QFrame>
#include <QLabel>

#include <functional>

class PanelButton : public QLabel {
public:
    PanelButton(const QString& caption, QWidget* parent);
    std::function<void()> OnClick;
    // The caption's colour (the panel keeps its background).
    void SetCaptionColour(const QColor& colour);
    QColor CaptionColour() const;
    void SetBackground(const QColor& colour);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;

private:
    bool Pressed = false;
};
