// Pixel operations of the drawing surface. Each writes within its clipped
// destination rectangle A in three steps: erase the layers over A, write,
// report A with Changed.

#include "foundation/KelException.h"
#include "foundation/TemporaryChange.h"
#include "image/SeeThroughCopy.h"
#include "image/ZQ5ImageData.h"

#include <algorithm>
#include <array>
#include <bit>
#include <cstddef>
#include <cstring>
#include <memory>
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


// dest and sourceRect have the same size and lie within their surfaces.
void TZQ5ImageData::CopyLines(const TRect& dest, TZQ5ImageData& source, const TRect& sourceRect) {
    const int transparent = source.TransparentOrNone();
    const bool mirrorH = source.MirrorHorizontal;
    const int32_t step = source.MirrorVertical ? -1 : 1;
    const size_t width = static_cast<size_t>(RectWidth(dest));
    int32_t sourceY = source.MirrorVertical ? sourceRect.Bottom - 1 : sourceRect.Top;
    // Within a band the next line lies one stride lower in memory (higher
    // going up the picture): bands are looked up only where a run ends.
    const uint8_t* fromLine = nullptr;
    uint8_t* toLine = nullptr;
    int32_t fromRun = 0, toRun = 0;
    for (int32_t y = dest.Top; y < dest.Bottom; ++y, sourceY += step) {
        if (fromRun-- > 0) {
            fromLine -= step * static_cast<ptrdiff_t>(source.Stride);
        } else {
            fromLine = source.LineBase(sourceY);
            fromRun = source.BandRun(sourceY, step) - 1;
        }
        if (toRun-- > 0) {
            toLine -= Stride;
        } else {
            toLine = LineBase(y);
            toRun = BandRun(y, 1) - 1;
        }
        const uint8_t* from = fromLine + sourceRect.Left;
        uint8_t* to = toLine + dest.Left;
        if (mirrorH) {
            for (size_t j = 0; j < width; ++j) {
                uint8_t pixel = from[j];
                if (pixel != transparent) to[width - 1 - j] = pixel;
            }
        } else if (transparent < 0) {
            std::memmove(to, from, width);
        } else {
            CopySeeThrough(to, from, width, static_cast<uint8_t>(transparent));
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
        for (int k = 0; k < SeenCount; ++k)
            Counts[Seen[k]] = 0;
        SeenCount = 0;
        InkSeen = false;
    }
    void Add(uint8_t index) {
        if (index == Ink) InkSeen = true;
        if (static_cast<int>(index) == Ignore) return;
        if (Counts[index]++ == 0) Seen[SeenCount++] = index;
    }
    uint8_t Winner() const {
        if (InkSeen) return Ink;
        if (SeenCount == 0) return static_cast<uint8_t>(Ignore);
        uint8_t best = Seen[0];
        for (int k = 1; k < SeenCount; ++k)
            if (Counts[Seen[k]] > Counts[best]) best = Seen[k];
        return best;
    }

private:
    uint8_t Ink;
    int Ignore;
    bool InkSeen = false;
    // Counts by index, and the indices in the order first seen (for ties).
    std::array<int32_t, 256> Counts{};
    std::array<uint8_t, 256> Seen{};
    int SeenCount = 0;
};

#if defined(__GNUC__)
using Pixels16 = uint8_t __attribute__((vector_size(16)));
#endif

// What a line of blocks needs to know of each source column in [from, to),
// as flags: whether it holds ink, whether it is one index from top to bottom,
// and whether it is and the next column's top pixel continues that index.
class ColumnFacts {
public:
    void Find(const uint8_t* const* rows, int32_t lines, int32_t from, int32_t to, uint8_t ink) {
        // Room for reading any block's flags as one word (see Judge).
        Flags.resize(static_cast<size_t>(to) + 8);
        int32_t x = from;
#if defined(__GNUC__)
        // Sixteen columns at a time; the next column's pixel must lie below to.
        Pixels16 inks, inkFlag, evenFlag, joinedFlag;
        std::memset(&inks, ink, sizeof inks);
        std::memset(&inkFlag, Inked, sizeof inkFlag);
        std::memset(&evenFlag, Even, sizeof evenFlag);
        std::memset(&joinedFlag, Joined, sizeof joinedFlag);
        for (; x + 16 < to; x += 16) {
            Pixels16 top, next;
            std::memcpy(&top, rows[0] + x, sizeof top);
            std::memcpy(&next, rows[0] + x + 1, sizeof next);
            auto inked = top == inks;
            auto even = inked | ~inked;
            for (int32_t y = 1; y < lines; ++y) {
                Pixels16 pixel;
                std::memcpy(&pixel, rows[y] + x, sizeof pixel);
                even &= pixel == top;
                inked |= pixel == inks;
            }
            const auto joined = even & (next == top);
            Pixels16 inkMask, evenMask, joinedMask;
            std::memcpy(&inkMask, &inked, sizeof inkMask);
            std::memcpy(&evenMask, &even, sizeof evenMask);
            std::memcpy(&joinedMask, &joined, sizeof joinedMask);
            const Pixels16 flags = (inkMask & inkFlag) | (evenMask & evenFlag) | (joinedMask & joinedFlag);
            std::memcpy(Flags.data() + x, &flags, sizeof flags);
        }
#endif
        for (; x < to; ++x) {
            const uint8_t top = rows[0][x];
            bool even = true, inked = top == ink;
            for (int32_t y = 1; y < lines; ++y) {
                even &= rows[y][x] == top;
                inked |= rows[y][x] == ink;
            }
            const bool joined = even && x + 1 < to && rows[0][x + 1] == top;
            Flags[static_cast<size_t>(x)] =
                static_cast<uint8_t>((inked ? Inked : 0) | (even ? Even : 0) | (joined ? Joined : 0));
        }
    }
    // The first column from from on (limit at most) that does not join the
    // next: the columns before it are all one index.
    int32_t OneIndexRunEnd(int32_t from, int32_t limit) const {
        constexpr uint64_t Ones = 0x0101010101010101u;
        for (int32_t x = from; x < limit; x += 8) {
            uint64_t word; // may reach past limit: Flags has room, and what lies there is cut off
            std::memcpy(&word, Flags.data() + x, sizeof word);
            // Per byte, the joined bit left where the column does not join.
            const uint64_t apart = ~word & Ones * Joined;
            if (apart) return std::min(limit, x + std::countr_zero(apart) / 8);
        }
        return limit;
    }
    // The block of columns [left, right): ink when any column holds it, one
    // index when every column but the last joins the next and the last is even.
    enum class Block { Ink, OneIndex, Mixed };
    Block Judge(int32_t left, int32_t right) const {
        const uint8_t* flags = Flags.data();
        if (right - left <= 8) {
            // The block's flags side by side in one word, a byte each: no loop.
            uint64_t word;
            std::memcpy(&word, flags + left, sizeof word);
            constexpr uint64_t Ones = 0x0101010101010101u;
            const unsigned lastShift = 8 * static_cast<unsigned>(right - left - 1);
            const uint64_t before = (uint64_t{1} << lastShift) - 1; // the bytes before the last
            if (word & (before | uint64_t{0xFF} << lastShift) & Ones * Inked) return Block::Ink;
            const bool joined = (word & before & Ones * Joined) == (before & Ones * Joined);
            return joined && ((word >> lastShift) & Even) ? Block::OneIndex : Block::Mixed;
        }
        uint8_t any = flags[right - 1], all = Joined;
        for (int32_t x = left; x + 1 < right; ++x) {
            any |= flags[x];
            all &= flags[x];
        }
        if (any & Inked) return Block::Ink;
        return (all & Joined) && (flags[right - 1] & Even) ? Block::OneIndex : Block::Mixed;
    }

private:
    static constexpr uint8_t Inked = 1, Even = 2, Joined = 4;
    std::vector<uint8_t> Flags;
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
    InkShrinkPart(destRect, source, sourceRect, ink, ignore, sourceRect);
}

namespace {
// The destination steps [first, last) whose source spans meet [from, to)
// (both relative to the start of the source span).
std::pair<int32_t, int32_t> StepsMeeting(int32_t length, int32_t count, int32_t from, int32_t to) {
    int32_t first = 0;
    while (first < count && BlockSpan(0, length, first, count).second <= from)
        ++first;
    int32_t last = first;
    while (last < count && BlockSpan(0, length, last, count).first < to)
        ++last;
    return {first, last};
}
} // namespace

TRect TZQ5ImageData::InkShrinkPart(TRect destRect, TZQ5ImageData& source, TRect sourceRect, uint8_t ink,
                                   int ignore, TRect changed) {
    if (IsRectEmpty(destRect)) return {};
    if (IntersectRect(destRect, BoundsRect()) != destRect ||
        IntersectRect(sourceRect, source.BoundsRect()) != sourceRect || RectWidth(sourceRect) < RectWidth(destRect) ||
        RectHeight(sourceRect) < RectHeight(destRect))
        throw ZQ5Exception("InkShrinkFrom: rectangles outside their surfaces or not a reduction");
    changed = RectSubPt(IntersectRect(changed, sourceRect), sourceRect.TopLeft());
    if (IsRectEmpty(changed)) return {};
    const int32_t width = RectWidth(sourceRect);
    const int32_t height = RectHeight(sourceRect);
    const int32_t columns = RectWidth(destRect);
    const int32_t lines = RectHeight(destRect);
    // Each destination pixel depends on its own block only: those whose
    // blocks miss the change keep their value.
    const auto [firstColumn, lastColumn] = StepsMeeting(width, columns, changed.Left, changed.Right);
    const auto [firstLine, lastLine] = StepsMeeting(height, lines, changed.Top, changed.Bottom);
    const int32_t rowsTop = BlockSpan(0, height, firstLine, lines).first;
    const int32_t rowsBottom = BlockSpan(0, height, lastLine - 1, lines).second;
    // The source lines are read where they lie, unless this surface is the
    // source: then they are copied first, so that no written pixel is read.
    std::vector<const uint8_t*> rows(static_cast<size_t>(rowsBottom - rowsTop));
    std::vector<uint8_t> copied;
    if (&source == this) copied.resize(static_cast<size_t>(width) * rows.size());
    for (int32_t y = rowsTop; y < rowsBottom; ++y) {
        const uint8_t* line = source.LineBase(sourceRect.Top + y) + sourceRect.Left;
        const size_t row = static_cast<size_t>(y - rowsTop);
        if (!copied.empty())
            line = static_cast<const uint8_t*>(
                std::memcpy(copied.data() + row * static_cast<size_t>(width), line, static_cast<size_t>(width)));
        rows[row] = line;
    }
    // The blocks' columns are the same on every line: worked out once.
    std::vector<std::pair<int32_t, int32_t>> spans;
    for (int32_t i = firstColumn; i < lastColumn; ++i)
        spans.push_back(BlockSpan(0, width, i, columns));

    BlockVote vote(ink, ignore);
    ColumnFacts columnsOf;
    for (int32_t j = firstLine; j < lastLine; ++j) {
        const auto [top, bottom] = BlockSpan(0, height, j, lines);
        const uint8_t* const* block = rows.data() + (top - rowsTop);
        const int32_t blockLines = bottom - top;
        columnsOf.Find(block, blockLines, spans.front().first, spans.back().second, ink);
        uint8_t* to = LineBase(destRect.Top + j) + destRect.Left;
        for (int32_t i = firstColumn; i < lastColumn; ++i) {
            const auto [left, right] = spans[static_cast<size_t>(i - firstColumn)];
            // The blocks lying wholly in a run of columns of one index stand
            // for that index (ink or not): a run at a time.
            const int32_t runEnd = columnsOf.OneIndexRunEnd(left, spans.back().second);
            if (runEnd >= right) {
                const uint8_t index = block[0][left];
                to[i] = index;
                while (i + 1 < lastColumn && spans[static_cast<size_t>(i + 1 - firstColumn)].second <= runEnd)
                    to[++i] = index;
                continue;
            }
            // Ink wins outright; a block of one index stands for that index,
            // whatever the vote's rules.
            const ColumnFacts::Block judged = columnsOf.Judge(left, right);
            if (judged != ColumnFacts::Block::Mixed) {
                to[i] = judged == ColumnFacts::Block::Ink ? ink : block[0][left];
                continue;
            }
            vote.Reset();
            for (int32_t y = 0; y < blockLines; ++y)
                for (int32_t x = left; x < right; ++x)
                    vote.Add(block[y][x]);
            to[i] = vote.Winner();
        }
    }
    UnlockLines(destRect.Top + firstLine, destRect.Top + lastLine);
    source.UnlockLines(sourceRect.Top + rowsTop, sourceRect.Top + rowsBottom);
    return {destRect.Left + firstColumn, destRect.Top + firstLine, destRect.Left + lastColumn,
            destRect.Top + lastLine};
}
