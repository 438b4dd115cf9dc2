#pragma once
// One of the four picture thumbnails under the play area (129 x 79 pixels):
// it shows its thumbnail surface and reports clicks with its number.

#include "shell/PixelView.h"

#include <functional>

class ThumbnailBox : public PixelView {
public:
    ThumbnailBox(int tag, QWidget* parent);
    int Tag() const { return Number; }

    // Blits the thumbnail's pixels of clip into this box's target.
    std::function<void(int tag, const TRect& clip)> OnPaint;
    std::function<void(int tag)> OnClick;
    // A right click (or the menu key): the grown-ups' menu at a screen point.
    std::function<void(int tag, const QPoint& globalPosition)> OnMenu;

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void FillDamage(const TRect& clip) override;
    void contextMenuEvent(QContextMenuEvent* event) override;

private:
    int Number;
    bool Pressed = false;
};
