#pragma once
// A display target whose 32-bit buffer is a QImage, so that the shell can
// draw what the core blits without copying it.

#include "platform/DisplayTarget.h"

#include <QImage>

#include <functional>

class ImageTarget : public DisplayTarget {
public:
    ImageTarget(int width, int height);

    int Width() const override { return Pixels.width(); }
    int Height() const override { return Pixels.height(); }
    uint32_t* ScanLine(int y) override { return reinterpret_cast<uint32_t*>(Pixels.scanLine(y)); }
    void Blitted(const TRect& rect) override;

    const QImage& Image() const { return Pixels; }
    // Called with every blitted rectangle (in the buffer's pixels).
    std::function<void(const TRect&)> OnBlitted;

private:
    QImage Pixels;
};
