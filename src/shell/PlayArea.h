#pragma once
// The play area: shows the world's 512 x 320 screen and passes mouse events
// on in play-area pixels (window positions divided by the scale).

#include "platform/ShiftState.h"
#include "shell/PixelView.h"

#include <cstdint>

class PlayAreaClient {
public:
    virtual ~PlayAreaClient() = default;
    virtual void ViewMouseDown(int button, TShiftState shiftState, int32_t x, int32_t y) = 0;
    virtual void ViewMouseMove(TShiftState shiftState, int32_t x, int32_t y) = 0;
    virtual void ViewMouseUp(int button, TShiftState shiftState, int32_t x, int32_t y) = 0;
    // Blits the screen's pixels of clip into the view's target.
    virtual void ViewPaint(const TRect& clip) = 0;
};

class PlayArea : public PixelView {
public:
    PlayArea(PlayAreaClient& client, QWidget* parent);

protected:
    void mousePressEvent(QMouseEvent* event) override;
    void mouseDoubleClickEvent(QMouseEvent* event) override;
    void mouseMoveEvent(QMouseEvent* event) override;
    void mouseReleaseEvent(QMouseEvent* event) override;
    void FillDamage(const TRect& clip) override;

private:
    void Press(QMouseEvent* event);
    // Maps the event to play-area pixels and its shift state, and hands them
    // to handler inside the error boundary.
    template <class Handler> void Deliver(QMouseEvent* event, Handler handler);
    PlayAreaClient& Client;
};
