#pragma once
// A widget that shows an ImageTarget at a whole-number scale with crisp
// pixels. Before it draws, it asks FillDamage to blit the part about to be
// shown into the target; blits made at other times repaint just their part.

#include "foundation/Geometry.h"
#include "shell/ImageTarget.h"

#include <QWidget>

class PixelView : public QWidget {
public:
    PixelView(int width, int height, QWidget* parent);

    ImageTarget& Target() { return Buffer; }
    int Scale() const { return ViewScale; }
    void SetScale(int scale);
    // The widget point mapped to a pixel of the target.
    TPoint ToTarget(const QPoint& widgetPoint) const;

protected:
    void paintEvent(QPaintEvent* event) override;
    // Blits the target pixels of clip (target coordinates); nothing by default.
    virtual void FillDamage(const TRect& clip) { (void)clip; }

private:
    ImageTarget Buffer;
    int ViewScale = 1;
    bool Painting = false;
};
