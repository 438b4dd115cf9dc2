#pragma once
// Rules on the library as a whole: the named images with their sizes and layouts, and the
// script's pictures, frame sets and boxes matching the images and the controls drawn by rooms.

#include "IndexedImage.h"

#include <string>
#include <vector>

namespace rules {
// Raises ArtError naming the image (or script line) and the rule broken.
void CheckLibrary(const std::vector<IndexedImage>& library);
void CheckScript(const std::vector<IndexedImage>& library, const std::string& scriptText);
} // namespace rules
