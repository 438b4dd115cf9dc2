#pragma once
// Every picture pixel as a scale x scale block, no smoothing: crisp on paper
// and in files. A scale below 1 counts as 1.

#include <QImage>

QImage ScaledCrisp(const QImage& image, int scale);
