#include "image/ZQ5Codec.h"
#include "image/ZQ5Image.h"

#include <algorithm>
#include <array>
#include <cstring>

namespace {
constexpr unsigned MaxRun = 255;

struct EscapePair {
    uint8_t E1 = 1;
    uint8_t E2 = 2;
};

// The least frequent values of the band become the escapes, so that literal
// pixels rarely need escaping; 0 is never one, ties go to the smaller value.
EscapePair ChooseEscapes(std::span<const uint8_t> lines, const ZQ5SegmentShape& shape) {
    std::array<uint32_t, 256> counts{};
    for (unsigned line = 0; line < shape.Lines; ++line) {
        const uint8_t* px = lines.data() + size_t{line} * shape.Stride;
        for (unsigned x = 0; x < shape.Width; ++x)
            ++counts[px[x]];
    }
    auto least = [&](int skip) {
        int best = -1;
        for (int v = 1; v < 256; ++v)
            if (v != skip && (best < 0 || counts[v] < counts[best])) best = v;
        return static_cast<uint8_t>(best);
    };
    EscapePair pair;
    pair.E1 = least(-1);
    pair.E2 = least(pair.E1);
    return pair;
}

unsigned RunLength(const uint8_t* px, unsigned x, unsigned width) {
    unsigned end = x + 1;
    while (end < width && px[end] == px[x])
        ++end;
    return end - x;
}

unsigned SameAsBefore(const uint8_t* px, const uint8_t* before, unsigned x, unsigned width) {
    unsigned end = x;
    while (end < width && px[end] == before[end])
        ++end;
    return end - x;
}

// Appends escape-coded run data for one line of the line-coded form.
class RunWriter {
public:
    RunWriter(std::vector<uint8_t>& out, EscapePair escapes) : Out(out), E(escapes) {}

    // Codes pixels from..width-1; with a line before, stretches equal to it
    // become copies when that is shorter than coding their runs.
    void Line(const uint8_t* px, const uint8_t* before, unsigned from, unsigned width) {
        unsigned x = from;
        while (x < width) {
            unsigned run = RunLength(px, x, width);
            if (before) {
                unsigned same = SameAsBefore(px, before, x, width);
                if (same >= 4 && x + same == width) {
                    Put({E.E1, 2, 0}); // copy up to the end of the line
                    return;
                }
                if (same >= 4 && same > run) {
                    unsigned m = std::min(same, MaxRun);
                    Put({E.E1, 2, static_cast<uint8_t>(m)});
                    x += m;
                    continue;
                }
            }
            run = std::min(run, MaxRun);
            Run(px[x], run);
            x += run;
        }
    }

    // One run of 1..255 pixels.
    void Run(uint8_t v, unsigned m) {
        auto count = static_cast<uint8_t>(m);
        if (v == E.E1) {
            if (m <= 2)
                Put({E.E1, static_cast<uint8_t>(m - 1)});
            else
                Put({E.E1, count, v});
        } else if (v == E.E2) {
            if (m <= 2)
                Put({E.E2, m == 1 ? E.E1 : E.E2});
            else
                Put({E.E1, count, v});
        } else if (m <= 2) {
            Put({v});
            if (m == 2) Put({v});
        } else if (m == 3)
            Put({E.E2, v});
        else
            Put({E.E1, count, v});
    }

private:
    std::vector<uint8_t>& Out;
    EscapePair E;

    void Put(std::initializer_list<uint8_t> bytes) { Out.insert(Out.end(), bytes); }
};

std::vector<uint8_t> RunsLine(const uint8_t* px, const uint8_t* before, unsigned width, EscapePair escapes) {
    std::vector<uint8_t> out;
    if (before) {
        unsigned lead = SameAsBefore(px, before, 0, width);
        if (lead >= lcFirstCopyCount) out.push_back(static_cast<uint8_t>(std::min(lead, MaxRun)));
    }
    unsigned from = out.empty() ? 0 : out[0];
    out.push_back(lcRuns);
    RunWriter(out, escapes).Line(px, before, from, width);
    return out;
}

std::vector<uint8_t> XorLine(const uint8_t* px, const uint8_t* before, unsigned width, EscapePair escapes) {
    std::vector<uint8_t> diff(width);
    for (unsigned x = 0; x < width; ++x)
        diff[x] = px[x] ^ before[x];
    std::vector<uint8_t> out{lcXorRuns};
    RunWriter(out, escapes).Line(diff.data(), nullptr, 0, width);
    return out;
}

void AppendLine(std::vector<uint8_t>& out, const uint8_t* px, const uint8_t* before, unsigned width,
                EscapePair escapes) {
    if (before && std::memcmp(px, before, width) == 0) {
        out.push_back(lcCopyLine);
        return;
    }
    if (RunLength(px, 0, width) == width) {
        out.insert(out.end(), {lcFill, px[0]});
        return;
    }
    std::vector<uint8_t> coded = RunsLine(px, before, width, escapes);
    if (before) {
        std::vector<uint8_t> xored = XorLine(px, before, width, escapes);
        if (xored.size() < coded.size()) coded = std::move(xored);
    }
    if (coded.size() > width) {
        out.push_back(lcRaw);
        out.insert(out.end(), px, px + width);
    } else
        out.insert(out.end(), coded.begin(), coded.end());
}

std::vector<uint8_t> LineCoded(std::span<const uint8_t> lines, const ZQ5SegmentShape& shape,
                               EscapePair escapes) {
    std::vector<uint8_t> out;
    for (unsigned line = 0; line < shape.Lines; ++line) {
        const uint8_t* px = lines.data() + size_t{line} * shape.Stride;
        AppendLine(out, px, line == 0 ? nullptr : px - shape.Stride, shape.Width, escapes);
    }
    return out;
}

// The whole-segment form: runs of the pixel stream, carried over line ends;
// only E1 is an escape.
std::vector<uint8_t> WholeSegment(std::span<const uint8_t> lines, const ZQ5SegmentShape& shape, uint8_t e1) {
    std::vector<uint8_t> out;
    auto flush = [&](uint8_t v, unsigned m) {
        if (m == 0) return;
        if (v == e1 && m <= 2)
            out.insert(out.end(), {e1, static_cast<uint8_t>(m - 1)});
        else if (v != e1 && m <= 2)
            out.insert(out.end(), m, v);
        else
            out.insert(out.end(), {e1, static_cast<uint8_t>(m), v});
    };
    uint8_t value = 0;
    unsigned run = 0;
    for (unsigned line = 0; line < shape.Lines; ++line) {
        const uint8_t* px = lines.data() + size_t{line} * shape.Stride;
        for (unsigned x = 0; x < shape.Width; ++x) {
            if (run > 0 && (px[x] != value || run == MaxRun)) {
                flush(value, run);
                run = 0;
            }
            value = px[x];
            ++run;
        }
    }
    flush(value, run);
    return out;
}

std::vector<uint8_t> PlainLines(std::span<const uint8_t> lines, const ZQ5SegmentShape& shape) {
    std::vector<uint8_t> out;
    out.reserve(size_t{shape.Width} * shape.Lines);
    for (unsigned line = 0; line < shape.Lines; ++line) {
        const uint8_t* px = lines.data() + size_t{line} * shape.Stride;
        out.insert(out.end(), px, px + shape.Width);
    }
    return out;
}
} // namespace

ZQ5EncodedSegment EncodeSegment(std::span<const uint8_t> lines, const ZQ5SegmentShape& shape) {
    EscapePair escapes = ChooseEscapes(lines, shape);
    ZQ5EncodedSegment result;
    result.Escapes = static_cast<uint16_t>(escapes.E1 | (escapes.E2 << 8));
    result.Flags = sfCompressed;
    size_t plainSize = size_t{shape.Width} * shape.Lines;
    result.Data = LineCoded(lines, shape, escapes);
    if (result.Data.size() < plainSize) return result;
    result.Data = WholeSegment(lines, shape, escapes.E1);
    if (result.Data.size() < plainSize) {
        result.Flags |= sfWholeSegment;
        return result;
    }
    result.Data = PlainLines(lines, shape);
    result.Flags |= sfPlainLines;
    return result;
}
