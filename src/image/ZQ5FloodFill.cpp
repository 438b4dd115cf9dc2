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

// The first x in [x, end) whose pixel differs from value (Equal false) or
// equals it (Equal true), or end.
template <bool Equal> int32_t FindFirst(const uint8_t* line, int32_t x, int32_t end, uint8_t value) {
    if constexpr (WordScan) {
        const uint64_t pattern = Ones * value;
        for (; x + 8 <= end; x += 8) {
            const uint64_t differ = LoadWord(line + x) ^ pattern;
            // For equality the lowest flagged byte is exactly the first zero byte.
            const uint64_t found = Equal ? (differ - Ones) & ~differ & Highs : differ;
            if (found) return x + std::countr_zero(found) / 8;
        }
    }
    while (x < end && (line[x] == value) != Equal)
        ++x;
    return x;
}

int32_t FindOther(const uint8_t* line, int32_t x, int32_t end, uint8_t value) {
    return FindFirst<false>(line, x, end, value);
}

int32_t FindValue(const uint8_t* line, int32_t x, int32_t end, uint8_t value) {
    return FindFirst<true>(line, x, end, value);
}

// The leftmost x' <= x with every pixel of [x', x) equal to value, x' >= begin.
int32_t ExtendLeft(const uint8_t* line, int32_t x, int32_t begin, uint8_t value) {
    if constexpr (WordScan) {
        const uint64_t pattern = Ones * value;
        while (x - 8 >= begin) {
            uint64_t differ = LoadWord(line + x - 8) ^ pattern;
            if (differ) return x - 8 + (63 - std::countl_zero(differ)) / 8 + 1;
            x -= 8;
        }
    }
    while (x > begin && line[x - 1] == value)
        --x;
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

class ScanFill {
public:
    ScanFill(std::vector<uint8_t*> lines, const TRect& clip, uint8_t old, uint8_t colour)
        : Lines(std::move(lines)), Clip(clip), Old(old), Colour(colour) {}

    TRect Run(TPoint seed, TRect bounds) {
        Bounds = bounds;
        uint8_t* line = Line(seed.Y);
        int32_t left = ExtendLeft(line, seed.X, Clip.Left, Old);
        int32_t right = FindOther(line, seed.X, Clip.Right, Old);
        Fill(seed.Y, left, right);
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

    void Fill(int32_t y, int32_t left, int32_t right) {
        std::memset(Line(y) + left, Colour, static_cast<size_t>(right - left));
        Bounds.Left = std::min(Bounds.Left, left);
        Bounds.Right = std::max(Bounds.Right, right);
        Bounds.Top = std::min(Bounds.Top, y);
        Bounds.Bottom = std::max(Bounds.Bottom, y + 1);
    }

    // Fills every run of Old pixels that meets the span, and queues the line
    // beyond each run and the stretches of the line behind that lie outside
    // the span (the only places a run can leak back to).
    void ScanSpan(const Span& span) {
        uint8_t* line = Line(span.Y);
        int32_t x = span.Left;
        if (line[x] == Old) {
            int32_t left = ExtendLeft(line, x, Clip.Left, Old);
            Push(span.Y - span.Dir, left, span.Left, -span.Dir);
            x = RunFrom(line, span, left, x);
        }
        while (true) {
            x = FindValue(line, x, span.Right, Old);
            if (x >= span.Right) break;
            x = RunFrom(line, span, x, x);
        }
    }

    // Fills the run that starts at left and reaches at least to x; returns its end.
    int32_t RunFrom(uint8_t* line, const Span& span, int32_t left, int32_t x) {
        int32_t right = FindOther(line, x, Clip.Right, Old);
        Fill(span.Y, left, right);
        Push(span.Y + span.Dir, left, right, span.Dir);
        if (right > span.Right) Push(span.Y - span.Dir, span.Right, right, -span.Dir);
        return right;
    }

    std::vector<uint8_t*> Lines;
    TRect Clip;
    uint8_t Old;
    uint8_t Colour;
    TRect Bounds;
    std::vector<Span> Stack;
};

} // namespace

TRect TZQ5ImageData::FloodFill(TPoint seed, uint8_t colour) {
    const uint8_t old = GetPixel(seed);
    EraseLayers(ClipRect);
    TRect filled{Width, Height, 0, 0};
    if (old != colour && PtInRect(ClipRect, seed)) {
        std::vector<uint8_t*> lines;
        lines.reserve(static_cast<size_t>(RectHeight(ClipRect)));
        for (int32_t y = ClipRect.Top; y < ClipRect.Bottom; ++y)
            lines.push_back(LineBase(y));
        filled = ScanFill(std::move(lines), ClipRect, old, colour).Run(seed, filled);
        UnlockLines(ClipRect.Top, ClipRect.Bottom);
    }
    Changed(ClipRect);
    return filled;
}
