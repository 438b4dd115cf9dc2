#include "image/ZQ5ImageData.h"

#include "image/ZQ5Image.h"

TZQ5ImageData::TZQ5ImageData() = default;

TZQ5ImageData::~TZQ5ImageData() = default;

void TZQ5ImageData::Setup(uint16_t width, uint16_t height, TDisplayHeader* displayHeader, bool transparent,
                          uint8_t transparentIndex, TZQ5ImageSegment* const* segments, uint8_t segmentCount) {
    Width = width;
    Height = height;
    DisplayHeader = displayHeader;
    Transparent = transparent;
    TransparentIndex = transparentIndex;
    Segments.assign(segments, segments + segmentCount);
    Stride = ::Stride(width);
    LinesPerBand = LinesPerSegment(width, height);
    FrameHeight = height;
    ResetClipRect();
}

void TZQ5ImageData::ResetClipRect() {
    ClipRect = BoundsRect();
}

void TZQ5ImageData::SetClipRect(const TRect& rect) {
    ClipRect = IntersectRect(rect, BoundsRect());
}
