// The flood fill: a scanline fill over whole runs with an explicit stack, so
// that no picture, however winding, can exhaust the call stack.

#include "image/ZQ5ImageData.h"

#include <bit>
#include <cstring>
#include <vector>

namespace {

constexpr uint64_t Ones = 0x0101010101010101ull;
constexpr uint64_t Highs = 0x8080808080808080ull;
constexpr bool WordScan = std::endian::native == std::endian::little;

uint64_t LoadWord(const uint8_t* p) {
    uint64_t word;
    std::memcpy(&word, p, sizeof word);
    return word;
}

void StoreWord(uint8_t* p, uint64_t word) {
    std::memcpy(p, &word, sizeof word);
}

// The first x in [x, end) whose pixel equals value, or end.
int32_t FindValue(const uint8_t* line, int32_t x, int32_t end, uint8_t value) {
    if constexpr (WordScan) {
        const uint64_t pattern = Ones * value;
        for (; x + 8 <= end; x += 8) {
            const uint64_t differ = LoadWord(line + x) ^ pattern;
            // The lowest flagged byte is exactly the first equal byte.
            const uint64_t equal = (differ - Ones) & ~differ & Highs;
            if (equal) return x + std::countr_zero(equal) / 8;
        }
    }
    while (x < end && line[x] != value)
        ++x;
    return x;
}

// Replaces the bytes of word at p that mask selects with those of pattern.
void StoreMasked(uint8_t* p, uint64_t word, uint64_t pattern, uint64_t mask) {
    StoreWord(p, (word & ~mask) | (pattern & mask));
}

// Paints the run of old pixels that starts at x with colour, reading and
// writing each word once; returns the run's end (at most end). Short runs,
// the common case in narrow corridors, end within the first word.
int32_t FillRight(uint8_t* line, int32_t x, int32_t end, uint8_t old, uint8_t colour) {
    if constexpr (WordScan) {
        const uint64_t oldPattern = Ones * old, newPattern = Ones * colour;
        auto finish = [&](uint64_t word, uint64_t differ) {
            const int bits = std::countr_zero(differ) & ~7;
            StoreMasked(line + x, word, newPattern, (uint64_t{1} << bits) - 1);
            return x + bits / 8;
        };
        if (x + 8 <= end) {
            const uint64_t word = LoadWord(line + x);
            if (const uint64_t differ = word ^ oldPattern) return finish(word, differ);
            StoreWord(line + x, newPattern);
            x += 8;
        }
        for (; x + 32 <= end; x += 32) {
            const uint64_t d0 = LoadWord(line + x) ^ oldPattern, d1 = LoadWord(line + x + 8) ^ oldPattern;
            const uint64_t d2 = LoadWord(line + x + 16) ^ oldPattern,
                           d3 = LoadWord(line + x + 24) ^ oldPattern;
            if (d0 | d1 | d2 | d3) break;
            StoreWord(line + x, newPattern);
            StoreWord(line + x + 8, newPattern);
            StoreWord(line + x + 16, newPattern);
            StoreWord(line + x + 24, newPattern);
        }
        for (; x + 8 <= end; x += 8) {
            const uint64_t word = LoadWord(line + x);
            if (const uint64_t differ = word ^ oldPattern) return finish(word, differ);
            StoreWord(line + x, newPattern);
        }
    }
    for (; x < end && line[x] == old; ++x)
        line[x] = colour;
    return x;
}

// Paints the run of old pixels that ends just before x, going left no
// further than begin; returns the run's start.
int32_t FillLeft(uint8_t* line, int32_t x, int32_t begin, uint8_t old, uint8_t colour) {
    if constexpr (WordScan) {
        const uint64_t oldPattern = Ones * old, newPattern = Ones * colour;
        while (x - 8 >= begin) {
            const uint64_t word = LoadWord(line + x - 8);
            if (const uint64_t differ = word ^ oldPattern) {
                const int bits = std::countl_zero(differ) & ~7;
                if (bits) StoreMasked(line + x - 8, word, newPattern, ~uint64_t{0} << (64 - bits));
                return x - bits / 8;
            }
            x -= 8;
            StoreWord(line + x, newPattern);
        }
    }
    for (; x > begin && line[x - 1] == old; --x)
        line[x - 1] = colour;
    return x;
}

// A stretch [Left, Right) of line Y to scan for Old pixels; the line it was
// found from lies at Y - Dir.
struct Span {
    int32_t Y;
    int32_t Left;
    int32_t Right;
    int32_t Dir;
};

// The line table and the span stack, kept from one fill to the next: filling
// every region of a picture in turn would otherwise spend much of its time
// allocating them. Their contents never outlive a fill.
struct FillScratch {
    std::vector<uint8_t*> Lines;
    std::vector<Span> Stack;
};

class ScanFill {
public:
    ScanFill(FillScratch& scratch, const TRect& clip, uint8_t old, uint8_t colour)
        : Lines(scratch.Lines), Stack(scratch.Stack), Clip(clip), Old(old), Colour(colour) {
        Stack.clear();
    }

    TRect Run(TPoint seed, TRect bounds) {
        Bounds = bounds;
        uint8_t* line = Line(seed.Y);
        const int32_t left = FillLeft(line, seed.X, Clip.Left, Old, Colour);
        const int32_t right = FillRight(line, seed.X, Clip.Right, Old, Colour);
        Grow(seed.Y, left, right);
        Push(seed.Y - 1, left, right, -1);
        Push(seed.Y + 1, left, right, 1);
        while (!Stack.empty()) {
            Span span = Stack.back();
            Stack.pop_back();
            ScanSpan(span);
        }
        return Bounds;
    }

private:
    uint8_t* Line(int32_t y) { return Lines[static_cast<size_t>(y - Clip.Top)]; }

    void Push(int32_t y, int32_t left, int32_t right, int32_t dir) {
        if (y >= Clip.Top && y < Clip.Bottom && left < right) Stack.push_back({y, left, right, dir});
    }

    void Grow(int32_t y, int32_t left, int32_t right) {
        Bounds.Left = std::min(Bounds.Left, left);
        Bounds.Right = std::max(Bounds.Right, right);
        Bounds.Top = std::min(Bounds.Top, y);
        Bounds.Bottom = std::max(Bounds.Bottom, y + 1);
    }

    // Fills every run of Old pixels that meets the span and queues the line
    // beyond each run, and the stretches of the line behind that lie outside
    // the span (the only places a run can leak back to). The line beyond the
    // last run is followed at once instead of being queued, so that a narrow
    // corridor costs no stack traffic.
    void ScanSpan(Span span) {
        while (true) {
            uint8_t* line = Line(span.Y);
            if (span.Right - span.Left == 1 && FollowPixel(line, span.Left)) {
                // Every span lies within runs already counted in Bounds' columns.
                Bounds.Top = std::min(Bounds.Top, span.Y);
                Bounds.Bottom = std::max(Bounds.Bottom, span.Y + 1);
                span.Y += span.Dir;
                if (span.Y < Clip.Top || span.Y >= Clip.Bottom) return;
                continue;
            }
            Span ahead{span.Y + span.Dir, 0, 0, span.Dir};
            int32_t x = span.Left;
            if (line[x] == Old) {
                const int32_t left = FillLeft(line, x, Clip.Left, Old, Colour);
                Push(span.Y - span.Dir, left, span.Left, -span.Dir);
                x = RunFrom(line, span, ahead, left, x);
            }
            while (true) {
                x = FindValue(line, x, span.Right, Old);
                if (x >= span.Right) break;
                x = RunFrom(line, span, ahead, x, x);
            }
            if (ahead.Left >= ahead.Right || ahead.Y < Clip.Top || ahead.Y >= Clip.Bottom) return;
            span = ahead;
        }
    }

    // A corridor one pixel wide: when pixel x is Old and neither neighbour
    // is, it alone is the run; it is filled and the walk goes straight on.
    bool FollowPixel(uint8_t* line, int32_t x) {
        if (line[x] != Old) return false;
        if (x > Clip.Left && line[x - 1] == Old) return false;
        if (x + 1 < Clip.Right && line[x + 1] == Old) return false;
        line[x] = Colour;
        return true;
    }

    // Fills the run from x on, whose start (left) is already filled, makes it
    // the line ahead to follow (queueing the one found before) and returns
    // the run's end.
    int32_t RunFrom(uint8_t* line, const Span& span, Span& ahead, int32_t left, int32_t x) {
        const int32_t right = FillRight(line, x, Clip.Right, Old, Colour);
        Grow(span.Y, left, right);
        Push(ahead.Y, ahead.Left, ahead.Right, ahead.Dir);
        ahead.Left = left;
        ahead.Right = right;
        if (right > span.Right) Push(span.Y - span.Dir, span.Right, right, -span.Dir);
        return right;
    }

    const std::vector<uint8_t*>& Lines;
    std::vector<Span>& Stack;
    TRect Clip;
    uint8_t Old;
    uint8_t Colour;
    TRect Bounds;
};

} // namespace

TRect TZQ5ImageData::FloodFill(TPoint seed, uint8_t colour) {
    // The seed's colour is the surface's own, not that of a layer over it.
    EraseLayers(ClipRect);
    const uint8_t old = GetPixel(seed);
    TRect filled{Width, Height, 0, 0};
    if (old != colour && PtInRect(ClipRect, seed)) {
        thread_local FillScratch scratch;
        scratch.Lines.clear();
        for (int32_t y = ClipRect.Top; y < ClipRect.Bottom; ++y)
            scratch.Lines.push_back(LineBase(y));
        filled = ScanFill(scratch, ClipRect, old, colour).Run(seed, filled);
        UnlockLines(ClipRect.Top, ClipRect.Bottom);
    }
    Changed(ClipRect);
    return filled;
}
