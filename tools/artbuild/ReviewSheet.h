#pragma once
// One PNG showing every image at twice its size with its name, for a person to look at the art.
// Transparent pixels show as a grey checkerboard.

#include "IndexedImage.h"

#include <QImage>

#include <string>
#include <vector>

class Palette;

QImage MakeReviewSheet(const std::vector<IndexedImage>& images,
                       const std::vector<std::pair<std::string, QImage>>& extras, const Palette& palette);
