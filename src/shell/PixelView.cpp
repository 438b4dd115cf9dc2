#include "shell/PixelView.h"

#include "shell/BlockLayout.h"
#include "shell/EventBoundary.h"
#include "shell/QtConvert.h"
#include "shell/ScaledCrisp.h"

#include <QPaintEvent>
#include <QPainter>

PixelView::PixelView(int width, int height, QWidget* parent) : QWidget(parent), Buffer(width, height) {
    setAttribute(Qt::WA_OpaquePaintEvent);
    resize(width, height);
    Buffer.OnBlitted = [this](const TRect& rect) {
        // A blit made while painting is drawn by that paint; asking for
        // another would repaint for ever.
        if (!Painting) update(ToQRect(ScaleRect(rect, ViewScale)));
    };
}

void PixelView::SetScale(int scale) {
    ViewScale = std::max(1, scale);
    update();
}

TPoint PixelView::ToTarget(const QPoint& widgetPoint) const {
    return UnscalePoint(ToTPoint(widgetPoint), ViewScale);
}

void PixelView::paintEvent(QPaintEvent* event) {
    TRect clip = IntersectRect(UnscaleRect(ToTRect(event->rect()), ViewScale),
                               {0, 0, Buffer.Width(), Buffer.Height()});
    Painting = true;
    Guarded([&] { FillDamage(clip); });
    Painting = false;
    QPainter painter(this);
    DrawScaledCrisp(painter, QPoint(clip.Left * ViewScale, clip.Top * ViewScale), Buffer.Image(), ToQRect(clip),
                    ViewScale);
}
