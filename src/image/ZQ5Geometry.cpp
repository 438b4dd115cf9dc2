#include "image/ZQ5Geometry.h"

#include <algorithm>

// Strides and band sizes are worked out in 32 bits so that a width near 65535
// cannot wrap; a stride wider than one segment gives no lines at all, and the
// image code refuses such pictures.

namespace {
uint32_t WideStride(uint16_t w) {
    return (uint32_t{w} + 3u) & ~3u;
}

uint32_t CeilDiv(uint32_t a, uint32_t b) {
    return (a + b - 1) / b;
}
} // namespace

uint16_t Stride(uint16_t w) {
    return static_cast<uint16_t>(WideStride(w));
}

uint32_t ImageBytes(uint16_t w, uint16_t h) {
    return WideStride(w) * h;
}

uint16_t LinesPerSegment(uint16_t w, uint16_t h) {
    uint32_t stride = WideStride(w);
    uint32_t bytes = ImageBytes(w, h);
    if (bytes == 0 || stride > ZQ5SegmentLimit) return 0;
    // Spread the lines evenly over the fewest bands n that each stay within
    // the limit: start from the bands the bytes need and add bands while a
    // band of ceil((bytes div n) / stride) lines is too large. That holds
    // exactly while bytes div n > maxLines * stride, so the first n that fits
    // is worked out directly instead of counting up to it.
    uint32_t maxLines = ZQ5SegmentLimit / stride;
    uint32_t n = std::max(CeilDiv(bytes, ZQ5SegmentLimit), bytes / (maxLines * stride + 1) + 1);
    uint32_t lines = CeilDiv(bytes / n, stride);
    return static_cast<uint16_t>(lines);
}

unsigned SegmentCount(uint16_t w, uint16_t h) {
    uint16_t lines = LinesPerSegment(w, h);
    return lines == 0 ? 0 : CeilDiv(h, lines);
}

uint16_t SegmentLines(uint16_t w, uint16_t h, unsigned i) {
    uint16_t lines = LinesPerSegment(w, h);
    unsigned count = SegmentCount(w, h);
    if (i >= count) return 0;
    if (i + 1 < count) return lines;
    return static_cast<uint16_t>(h - lines * (count - 1));
}

uint32_t SegmentBytes(uint16_t w, uint16_t h, unsigned i) {
    return SegmentLines(w, h, i) * WideStride(w);
}
