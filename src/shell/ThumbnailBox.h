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

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void FillDamage(const TRect& clip) override;

private:
    int Number;
    bool Pressed = false;
};
