#include "image/ZQ5ImageData.h"

#include "foundation/KelException.h"
#include "image/ZQ5Image.h"

#include <algorithm>
#include <utility>

TZQ5ImageData::TZQ5ImageData() = default;

TZQ5ImageData::~TZQ5ImageData() {
    LeaveParents();
    DropOwnLayers();
}

void TZQ5ImageData::Setup(uint16_t width, uint16_t height, TDisplayHeader* displayHeader, bool transparent,
                          uint8_t transparentIndex, TZQ5ImageSegment* const* segments, uint8_t segmentCount) {
    Width = width;
    Height = height;
    DisplayHeader = displayHeader;
    Transparent = transparent;
    TransparentIndex = transparentIndex;
    Segments.assign(segments, segments + segmentCount);
    Stride = ::Stride(width);
    LinesPerBand = ::LinesPerSegment(width, height);
    FrameHeight = height;
    ResetClipRect();
}

// ---- Damage -----------------------------------------------------------------

void MergeDamage(TDamageList& list, const TRect& rect) {
    for (TDamageNode* node : list) {
        TRect overlap = IntersectRect(node->Rect, rect);
        if (IsRectEmpty(overlap)) continue;
        if (overlap == rect) return;
        if (overlap == node->Rect) {
            node->Rect = rect;
            return;
        }
    }
    list.AddTail(std::make_unique<TDamageNode>(rect));
}

void TZQ5ImageData::AddDamage(TRect rect) {
    NormalizeRect(rect);
    MergeDamage(Damage, rect);
}

// ---- Rectangles and attributes ----------------------------------------------

void TZQ5ImageData::ResetClipRect() {
    ClipRect = BoundsRect();
}

void TZQ5ImageData::SetClipRect(const TRect& rect) {
    ClipRect = IntersectRect(rect, BoundsRect());
}

void TZQ5ImageData::NormalizeRect(TRect& rect) const {
    if (rect.Right < rect.Left) std::swap(rect.Left, rect.Right);
    if (rect.Bottom < rect.Top) std::swap(rect.Top, rect.Bottom);
    rect.Left = std::max(rect.Left, 0);
    rect.Top = std::max(rect.Top, 0);
    rect.Right = std::min(rect.Right, Width);
    rect.Bottom = std::min(rect.Bottom, Height);
}

void TZQ5ImageData::ClipToDrawable(TRect& rect) const {
    NormalizeRect(rect);
    rect = IntersectRect(rect, ClipRect);
}

void TZQ5ImageData::SetTransparent(uint8_t index, bool enabled) {
    TransparentIndex = index;
    Transparent = enabled;
}

// ---- Line access ------------------------------------------------------------

namespace {

bool Inside(const TZQ5ImageData& surface, int32_t x, int32_t y) {
    return x >= 0 && x < surface.Width && y >= 0 && y < surface.Height;
}

void RequireInside(const TZQ5ImageData& surface, int32_t x, int32_t y, const char* operation) {
    if (!Inside(surface, x, y))
        throw ZQ5Exception(std::string(operation) + ": co-ordinates outside drawing area");
}

} // namespace

// Picture line y is storage line Height - 1 - y: the bottom line is stored first.
unsigned TZQ5ImageData::SegmentOfLine(int32_t y) const {
    return static_cast<unsigned>(Height - 1 - y) / LinesPerBand;
}

uint8_t* TZQ5ImageData::LineBase(int32_t y) {
    const auto storageLine = static_cast<unsigned>(Height - 1 - y);
    // Called for every line drawn: no division while in the first band.
    const unsigned index = storageLine < LinesPerBand ? 0 : storageLine / LinesPerBand;
    uint8_t* base = nullptr;
    try {
        if (index < Segments.size()) base = Segments[index]->Lock();
    } catch (const std::exception&) {
        base = nullptr;
    }
    if (!base) throw ZQ5Exception("StartLine: Lock failed");
    return base + static_cast<size_t>(storageLine - index * LinesPerBand) * Stride;
}

int32_t TZQ5ImageData::BandRun(int32_t y, int32_t step) const {
    const auto storageLine = static_cast<unsigned>(Height - 1 - y);
    const unsigned bandTop = storageLine / LinesPerBand * LinesPerBand;
    // Down the picture is down the storage lines, to the band's first.
    if (step > 0) return static_cast<int32_t>(storageLine - bandTop + 1);
    const unsigned bandEnd = std::min<unsigned>(bandTop + LinesPerBand, static_cast<unsigned>(Height));
    return static_cast<int32_t>(bandEnd - storageLine);
}

uint8_t* TZQ5ImageData::StartLine(int32_t x, int32_t y) {
    RequireInside(*this, x, y, "StartLine");
    return LineBase(y) + x;
}

uint8_t* TZQ5ImageData::PrevStartLine(uint8_t* address, int32_t x, int32_t& y) {
    --y;
    RequireInside(*this, x, y, "PrevStartLine");
    if (SegmentOfLine(y) == SegmentOfLine(y + 1)) return address + Stride;
    UnlockSegment(x, y + 1);
    return StartLine(x, y);
}

uint8_t* TZQ5ImageData::NextStartLine(uint8_t* address, int32_t x, int32_t& y) {
    ++y;
    RequireInside(*this, x, y, "NextStartLine");
    if (SegmentOfLine(y) == SegmentOfLine(y - 1)) return address - Stride;
    UnlockSegment(x, y - 1);
    return StartLine(x, y);
}

void TZQ5ImageData::UnlockSegment(int32_t x, int32_t y) {
    RequireInside(*this, x, y, "UnlockSegment");
    unsigned index = SegmentOfLine(y);
    if (index >= Segments.size()) throw ZQ5Exception("UnlockSegment: Unlock failed");
    Segments[index]->Unlock();
}

void TZQ5ImageData::UnlockLines(int32_t top, int32_t bottom) {
    if (AllLocked || top >= bottom) return;
    unsigned first = SegmentOfLine(bottom - 1);
    unsigned last = SegmentOfLine(top);
    for (unsigned index = first; index <= last && index < Segments.size(); ++index)
        Segments[index]->Unlock();
}

void TZQ5ImageData::LockAll() {
    if (AllLocked) return;
    for (TZQ5ImageSegment* segment : Segments)
        segment->Lock();
    AllLocked = true;
}
