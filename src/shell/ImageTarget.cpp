#include "shell/ImageTarget.h"

ImageTarget::ImageTarget(int width, int height) : Pixels(width, height, QImage::Format_RGB32) {
    Pixels.fill(Qt::black);
}

void ImageTarget::Blitted(const TRect& rect) {
    if (OnBlitted) OnBlitted(rect);
}
