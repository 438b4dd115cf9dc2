#pragma once
// A frame whose edges are filled rectangles, with the pixels Qt's own frame
// gives a box or a panel (plain, raised or sunken, no middle line). Qt strokes
// those edges as lines, and through the clip that the widgets in front of a
// frame leave it, stroking costs a hundred times as much as filling.

#include <QFrame>

class FlatFrame : public QFrame {
public:
    explicit FlatFrame(QWidget* parent = nullptr) : QFrame(parent) {}

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    bool FilledEdgesMatch() const;
};
