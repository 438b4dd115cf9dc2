#pragma once
// The copy of one line of a see-through surface.

#include <cstddef>
#include <cstdint>

// Copies count pixels, leaving out those of index transparent. Spans apart
// go the widest way the processor offers (wide false keeps to the way every
// processor has); overlapping spans of one surface keep the pixel-by-pixel
// order, so that a pixel copied early is read again further on.
void CopySeeThrough(uint8_t* to, const uint8_t* from, size_t count, uint8_t transparent, bool wide = true);
