#include "shell/ScaledCrisp.h"

QImage ScaledCrisp(const QImage& image, int scale) {
    if (scale <= 1) return image;
    return image.scaled(image.size() * scale, Qt::IgnoreAspectRatio, Qt::FastTransformation);
}
