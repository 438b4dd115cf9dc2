#pragma once
// How a picture of width w and height h is laid out: lines padded to a stride
// that is a multiple of 4, cut into bands (segments) of at most
// ZQ5SegmentLimit bytes.

#include <cstdint>

// Most decoded bytes one segment may hold.
constexpr uint32_t ZQ5SegmentLimit = 0xFF00;

// Segment geometry, all for a picture of width w and height h.
uint16_t Stride(uint16_t w);
uint32_t ImageBytes(uint16_t w, uint16_t h);
// Lines in every segment but the last (0 for an empty picture).
uint16_t LinesPerSegment(uint16_t w, uint16_t h);
// Lines and bytes of segment i; the last segment holds what is left.
uint16_t SegmentLines(uint16_t w, uint16_t h, unsigned i);
uint32_t SegmentBytes(uint16_t w, uint16_t h, unsigned i);
// May exceed 255, which the record format cannot store.
unsigned SegmentCount(uint16_t w, uint16_t h);
