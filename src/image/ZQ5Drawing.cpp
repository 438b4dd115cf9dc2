// Pixel operations of the drawing surface. Each writes within its clipped
// destination rectangle A in three steps: erase the layers over A, write,
// report A with Changed.

#include "foundation/KelException.h"
#include "foundation/TemporaryChange.h"
#include "image/ZQ5ImageData.h"

#include <algorithm>
#include <cstring>
#include <utility>
#include <vector>

void TZQ5ImageData::EraseLayers(const TRect& area) {
    if (Busy == 0 && !Layers.IsEmpty()) RestoreUnderLayers(nullptr, area);
}

uint8_t TZQ5ImageData::GetPixel(TPoint point) {
    uint8_t value = *StartLine(point.X, point.Y);
    UnlockSegment(point.X, point.Y);
    return value;
}

void TZQ5ImageData::FillRect(TRect rect, uint8_t colour) {
    ClipToDrawable(rect);
    if (!IsRectEmpty(rect)) {
        EraseLayers(rect);
        for (int32_t y = rect.Top; y < rect.Bottom; ++y)
            std::memset(LineBase(y) + rect.Left, colour, static_cast<size_t>(RectWidth(rect)));
        UnlockLines(rect.Top, rect.Bottom);
    }
    Changed(rect);
}

// Edges that clipping cut away are not drawn: only a line that is the
// rectangle's own top or bottom gets its span, only an own side its pixel.
void TZQ5ImageData::FrameRect(TRect rect, uint8_t colour) {
    TRect given = rect;
    if (given.Right < given.Left) std::swap(given.Left, given.Right);
    if (given.Bottom < given.Top) std::swap(given.Top, given.Bottom);
    TRect area = rect;
    ClipToDrawable(area);
    if (!IsRectEmpty(area)) {
        EraseLayers(area);
        for (int32_t y = area.Top; y < area.Bottom; ++y) {
            uint8_t* line = LineBase(y);
            if (y == given.Top || y == given.Bottom - 1) {
                std::memset(line + area.Left, colour, static_cast<size_t>(RectWidth(area)));
                continue;
            }
            if (area.Left == given.Left) line[area.Left] = colour;
            if (area.Right == given.Right) line[area.Right - 1] = colour;
        }
        UnlockLines(area.Top, area.Bottom);
    }
    Changed(area);
}

namespace {

// Every pixel of from but the key goes to to. Sixteen at a time, in a form the
// compiler turns into a vector compare and blend, because dragging an object
// spends most of its time here; a scalar loop's speed depended on where the
// linker happened to place it.
void CopyKeyedApart(uint8_t* __restrict to, const uint8_t* __restrict from, size_t width, uint8_t key) {
    constexpr size_t Block = 16;
    size_t j = 0;
    for (; j + Block <= width; j += Block)
        for (size_t k = j; k < j + Block; ++k)
            to[k] = from[k] == key ? to[k] : from[k];
    for (; j < width; ++j)
        to[j] = from[j] == key ? to[j] : from[j];
}

void CopyKeyed(uint8_t* to, const uint8_t* from, size_t width, uint8_t key) {
    if (to < from + width && from < to + width) {
        // Overlapping spans of one surface keep the pixel-by-pixel order.
        for (size_t j = 0; j < width; ++j)
            if (from[j] != key) to[j] = from[j];
        return;
    }
    CopyKeyedApart(to, from, width, key);
}

} // namespace

// dest and sourceRect have the same size and lie within their surfaces.
void TZQ5ImageData::CopyLines(const TRect& dest, TZQ5ImageData& source, const TRect& sourceRect) {
    const int transparent = source.TransparentOrNone();
    const bool mirrorH = source.MirrorHorizontal;
    const int32_t step = source.MirrorVertical ? -1 : 1;
    const size_t width = static_cast<size_t>(RectWidth(dest));
    int32_t sourceY = source.MirrorVertical ? sourceRect.Bottom - 1 : sourceRect.Top;
    for (int32_t y = dest.Top; y < dest.Bottom; ++y, sourceY += step) {
        const uint8_t* from = source.LineBase(sourceY) + sourceRect.Left;
        uint8_t* to = LineBase(y) + dest.Left;
        if (mirrorH) {
            for (size_t j = 0; j < width; ++j) {
                uint8_t pixel = from[j];
                if (pixel != transparent) to[width - 1 - j] = pixel;
            }
        } else if (transparent < 0) {
            std::memmove(to, from, width);
        } else {
            CopyKeyed(to, from, width, static_cast<uint8_t>(transparent));
        }
    }
    UnlockLines(dest.Top, dest.Bottom);
    source.UnlockLines(sourceRect.Top, sourceRect.Bottom);
}

namespace {

// Fits a source span [low, high) to a destination that lost cut pixels at its
// start and kept length: a mirrored source loses them from its far side.
void FitSpan(int32_t& low, int32_t& high, int32_t cut, int32_t length, bool mirrored) {
    if (mirrored) {
        high -= cut;
        low = high - length;
    } else {
        low += cut;
        high = low + length;
    }
}

} // namespace

void TZQ5ImageData::CopyFrom(TPoint dest, TZQ5ImageData& source, TRect sourceRect) {
    if (sourceRect.Left < 0) {
        dest.X -= sourceRect.Left;
        sourceRect.Left = 0;
    }
    if (sourceRect.Top < 0) {
        dest.Y -= sourceRect.Top;
        sourceRect.Top = 0;
    }
    source.NormalizeRect(sourceRect);
    if (IsRectEmpty(sourceRect)) return;
    TRect area = IntersectRect(RectAtPt(sourceRect, dest), ClipRect);
    if (IsRectEmpty(area)) return;
    FitSpan(sourceRect.Left, sourceRect.Right, area.Left - dest.X, RectWidth(area), source.MirrorHorizontal);
    FitSpan(sourceRect.Top, sourceRect.Bottom, area.Top - dest.Y, RectHeight(area), source.MirrorVertical);
    EraseLayers(area);
    CopyLines(area, source, sourceRect);
    Changed(area);
}

void TZQ5ImageData::CopyWithClip(TPoint dest, TZQ5ImageData& source, const TRect& clip, TRect sourceRect) {
    const TemporaryChange<TRect> remembered(ClipRect, ClipRect);
    SetClipRect(clip);
    CopyFrom(dest, source, sourceRect);
}

namespace {

// The nearest-pixel walk along one line: each source pixel adds the
// destination width to an accumulator and is written once for every source
// width it holds, at columns from First onwards in Step; only columns inside
// [ClipLeft, ClipRight), readable source pixels and non-transparent ones count.
struct LineScale {
    int32_t SourceLeft, SourceRight, SourceWidth;
    int64_t Sw, Dw;
    int32_t First, Step, ClipLeft, ClipRight;
    int Transparent;

    void Run(uint8_t* to, const uint8_t* from) const {
        int32_t column = First;
        int64_t accumulator = 0;
        for (int32_t sourceX = SourceLeft; sourceX < SourceRight; ++sourceX) {
            accumulator += Dw;
            const bool readable = sourceX >= 0 && sourceX < SourceWidth;
            for (; accumulator >= Sw; accumulator -= Sw, column += Step) {
                if (!readable || column < ClipLeft || column >= ClipRight) continue;
                if (from[sourceX] != Transparent) to[column] = from[sourceX];
            }
        }
    }
};

} // namespace

// Writes the scaled source lines whose destination lines fall within clipped.
// A source line outside the source yields nothing; without transparency a
// repeated source line is copied from the destination line already made.
void TZQ5ImageData::ScaledLines(const TRect& destRect, const TRect& clipped, TZQ5ImageData& source,
                                const TRect& sourceRect) {
    const int64_t sh = RectHeight(sourceRect), dh = RectHeight(destRect);
    const int transparent = source.TransparentOrNone();
    const LineScale scale{sourceRect.Left,
                          sourceRect.Right,
                          source.Width,
                          RectWidth(sourceRect),
                          RectWidth(destRect),
                          source.MirrorHorizontal ? destRect.Right - 1 : destRect.Left,
                          source.MirrorHorizontal ? -1 : 1,
                          clipped.Left,
                          clipped.Right,
                          transparent};
    const int32_t lineStep = source.MirrorVertical ? -1 : 1;
    auto leftArea = [&](int32_t y) { return lineStep > 0 ? y >= clipped.Bottom : y < clipped.Top; };

    int32_t destY = source.MirrorVertical ? destRect.Bottom - 1 : destRect.Top;
    int64_t accumulator = 0;
    for (int32_t sourceY = sourceRect.Top; sourceY < sourceRect.Bottom; ++sourceY) {
        if (leftArea(destY) || sourceY >= source.Height) break;
        accumulator += dh;
        const uint8_t* made = nullptr;
        for (; accumulator >= sh && !leftArea(destY); accumulator -= sh, destY += lineStep) {
            if (destY < clipped.Top || destY >= clipped.Bottom || sourceY < 0) continue;
            uint8_t* to = LineBase(destY);
            if (made && transparent < 0)
                std::memcpy(to + clipped.Left, made, static_cast<size_t>(RectWidth(clipped)));
            else
                scale.Run(to, source.LineBase(sourceY));
            made = to + clipped.Left;
        }
    }
    UnlockLines(clipped.Top, clipped.Bottom);
    source.UnlockLines(std::max(sourceRect.Top, 0), std::min(sourceRect.Bottom, source.Height));
}

void TZQ5ImageData::ScaledCopyFrom(TRect destRect, TZQ5ImageData& source, TRect sourceRect) {
    if (RectWidth(sourceRect) <= 0 || RectHeight(sourceRect) <= 0 || RectWidth(destRect) <= 0 ||
        RectHeight(destRect) <= 0)
        return;
    TRect area = destRect;
    ClipToDrawable(area);
    if (IsRectEmpty(area)) return;
    EraseLayers(area);
    ScaledLines(destRect, area, source, sourceRect);
    Changed(area);
}

// The phase p moves back by step / 2 from line to line (modulo step), and a
// pixel is copied whenever the countdown from p, run from the line's last
// pixel leftwards, passes below zero: a diagonal pattern that calls with
// falling steps fill in.
void TZQ5ImageData::DitherFrom(TPoint dest, TZQ5ImageData& source, TRect sourceRect, uint8_t step) {
    if (step == 0) return;
    const int transparent = source.TransparentOrNone();
    source.NormalizeRect(sourceRect);
    if (IsRectEmpty(sourceRect)) return;
    TRect area = IntersectRect(RectAtPt(sourceRect, dest), ClipRect);
    if (IsRectEmpty(area)) return;
    sourceRect = RectAtPt(area, PtAdd(sourceRect.TopLeft(), PtSub(area.TopLeft(), dest)));
    EraseLayers(area);
    const int half = step / 2;
    int phase = step;
    for (int32_t y = area.Top; y < area.Bottom; ++y) {
        const int32_t sourceY = sourceRect.Top + (y - area.Top);
        phase = phase < half ? phase - half + step : phase - half;
        const uint8_t* from = source.LineBase(sourceY) + sourceRect.Left;
        uint8_t* to = LineBase(y) + area.Left;
        int counter = phase;
        for (int32_t x = RectWidth(area) - 1; x >= 0; --x) {
            if (--counter >= 0) continue;
            counter += step;
            if (from[x] != transparent) to[x] = from[x];
        }
        UnlockLines(y, y + 1);
        source.UnlockLines(sourceY, sourceY + 1);
    }
    Changed(area);
}

void TZQ5ImageData::ShrinkFrom(TZQ5ImageData& source, int factor) {
    if (Width == 0 || Height == 0) return;
    if (factor < 1 || static_cast<int64_t>(Width - 1) * factor >= source.Width ||
        static_cast<int64_t>(Height - 1) * factor >= source.Height)
        throw ZQ5Exception("ShrinkFrom: source smaller than factor times this surface");
    for (int32_t y = 0; y < Height; ++y) {
        const uint8_t* from = source.LineBase(y * factor);
        uint8_t* to = LineBase(y);
        for (int32_t x = 0; x < Width; ++x)
            to[x] = from[x * factor];
    }
    UnlockLines(0, Height);
    source.UnlockLines(0, source.Height);
}

namespace {
// The index a block of a reduction stands for: ink when the block holds any,
// else the most frequent index that is not ignored (the first seen on a tie),
// else the ignored index itself.
class BlockVote {
public:
    BlockVote(uint8_t ink, int ignore) : Ink(ink), Ignore(ignore) {}
    void Reset() {
        Seen.clear();
        InkSeen = false;
    }
    void Add(uint8_t index) {
        if (index == Ink) InkSeen = true;
        if (static_cast<int>(index) == Ignore) return;
        for (auto& entry : Seen)
            if (entry.first == index) {
                ++entry.second;
                return;
            }
        Seen.emplace_back(index, 1);
    }
    // The winner of a block of w by h indices, stride apart. Most blocks of a
    // picture hold one index alone and need no counting.
    uint8_t Of(const uint8_t* block, size_t stride, int32_t w, int32_t h) {
        Reset();
        if (IsUniform(block, stride, w, h)) {
            Add(block[0]);
            return Winner();
        }
        for (int32_t y = 0; y < h; ++y, block += stride)
            for (int32_t x = 0; x < w; ++x)
                Add(block[x]);
        return Winner();
    }
    uint8_t Winner() const {
        if (InkSeen) return Ink;
        if (Seen.empty()) return static_cast<uint8_t>(Ignore);
        auto best = Seen.begin();
        for (auto it = Seen.begin(); it != Seen.end(); ++it)
            if (it->second > best->second) best = it;
        return best->first;
    }

private:
    static bool IsUniform(const uint8_t* block, size_t stride, int32_t w, int32_t h) {
        const uint8_t first = block[0];
        for (int32_t y = 0; y < h; ++y, block += stride)
            for (int32_t x = 0; x < w; ++x)
                if (block[x] != first) return false;
        return true;
    }

    uint8_t Ink;
    int Ignore;
    bool InkSeen = false;
    std::vector<std::pair<uint8_t, int>> Seen;
};

// The source span [first, last) that destination step i of count stands for.
std::pair<int32_t, int32_t> BlockSpan(int32_t start, int32_t length, int32_t i, int32_t count) {
    int32_t first = start + static_cast<int32_t>(int64_t{i} * length / count);
    int32_t last = start + static_cast<int32_t>(int64_t{i + 1} * length / count);
    return {first, std::max(last, first + 1)};
}
} // namespace

void TZQ5ImageData::InkShrinkFrom(TRect destRect, TZQ5ImageData& source, TRect sourceRect, uint8_t ink,
                                  int ignore) {
    if (IsRectEmpty(destRect)) return;
    if (IntersectRect(destRect, BoundsRect()) != destRect ||
        IntersectRect(sourceRect, source.BoundsRect()) != sourceRect || RectWidth(sourceRect) < RectWidth(destRect) ||
        RectHeight(sourceRect) < RectHeight(destRect))
        throw ZQ5Exception("InkShrinkFrom: rectangles outside their surfaces or not a reduction");
    const int32_t width = RectWidth(sourceRect);
    std::vector<uint8_t> rows(static_cast<size_t>(width) * static_cast<size_t>(RectHeight(sourceRect)));
    for (int32_t y = sourceRect.Top; y < sourceRect.Bottom; ++y)
        std::memcpy(rows.data() + static_cast<size_t>(y - sourceRect.Top) * static_cast<size_t>(width),
                    source.LineBase(y) + sourceRect.Left, static_cast<size_t>(width));
    source.UnlockLines(sourceRect.Top, sourceRect.Bottom);

    BlockVote vote(ink, ignore);
    const int32_t columns = RectWidth(destRect);
    const int32_t lines = RectHeight(destRect);
    for (int32_t j = 0; j < lines; ++j) {
        auto [top, bottom] = BlockSpan(0, RectHeight(sourceRect), j, lines);
        uint8_t* to = LineBase(destRect.Top + j) + destRect.Left;
        for (int32_t i = 0; i < columns; ++i) {
            auto [left, right] = BlockSpan(0, width, i, columns);
            const uint8_t* block = rows.data() + static_cast<size_t>(top) * static_cast<size_t>(width) + left;
            to[i] = vote.Of(block, static_cast<size_t>(width), right - left, bottom - top);
        }
    }
    UnlockLines(destRect.Top, destRect.Bottom);
}
