#include "foundation/KelException.h"
#include "image/ZQ5Codec.h"
#include "image/ZQ5Image.h"

#include <algorithm>
#include <cstring>

namespace {
[[noreturn]] void SourceOverflow() {
    throw ZQ5Exception("Decode: source buffer overflow");
}
[[noreturn]] void InvalidLineCode() {
    throw ZQ5Exception("Decode: invalid line code");
}
[[noreturn]] void LineOverflow() {
    throw ZQ5Exception("Decode: output line overflow");
}

// Decodes the lines of one segment. Every write is checked against the end of
// the current line and every read against the end of the source, so a corrupt
// segment raises instead of touching memory outside the two buffers.
// Without Write it only walks the codes: the checks depend on counts alone,
// so it raises exactly where decoding would, at a fraction of the cost.
template <bool Write> class LineDecoder {
public:
    LineDecoder(std::span<const uint8_t> source, std::span<uint8_t> output, const ZQ5SegmentShape& shape,
                uint16_t escapes)
        : Src(source), Out(output), Shape(shape), E1(static_cast<uint8_t>(escapes & 0xFF)),
          E2(static_cast<uint8_t>(escapes >> 8)) {}

    void Run(bool plain) {
        for (unsigned line = 0; line < Shape.Lines; ++line) {
            HasBefore = line != 0;
            if constexpr (Write) {
                Line = Out.data() + size_t{line} * Shape.Stride;
                Before = HasBefore ? Line - Shape.Stride : nullptr;
            }
            DecodeLine(plain);
            if constexpr (Write) std::memset(Line + Shape.Width, 0, Shape.Stride - Shape.Width);
        }
    }

private:
    std::span<const uint8_t> Src;
    std::span<uint8_t> Out;
    const ZQ5SegmentShape& Shape;
    uint8_t E1;
    uint8_t E2;
    size_t Pos = 0;
    uint8_t* Line = nullptr;
    const uint8_t* Before = nullptr; // the line before, nullptr on the first line
    bool HasBefore = false;
    unsigned X = 0;

    uint8_t Next() {
        if (Pos >= Src.size()) SourceOverflow();
        return Src[Pos++];
    }
    unsigned Remaining() const { return Shape.Width - X; }
    void Fill(unsigned count, uint8_t value) {
        if (count > Remaining()) LineOverflow();
        if constexpr (Write) std::memset(Line + X, value, count);
        X += count;
    }
    void CopyFromBefore(unsigned count) {
        if (!HasBefore) InvalidLineCode();
        if (count > Remaining()) LineOverflow();
        if constexpr (Write) std::memcpy(Line + X, Before + X, count);
        X += count;
    }

    void DecodeLine(bool plain) {
        X = 0;
        while (X < Shape.Width) {
            if (Pos >= Src.size()) SourceOverflow();
            uint8_t code = plain ? lcRaw : Next();
            if (!HasBefore && (code == lcXorRuns || code >= lcCopyLine)) InvalidLineCode();
            DecodeCode(code);
        }
    }

    void DecodeCode(uint8_t code) {
        switch (code) {
        case lcRaw:
            if (Src.size() - Pos < Remaining()) SourceOverflow();
            if constexpr (Write) std::memcpy(Line + X, Src.data() + Pos, Remaining());
            Pos += Remaining();
            X = Shape.Width;
            break;
        case lcXorRuns:
            DecodeRuns();
            if constexpr (Write)
                for (unsigned i = 0; i < Shape.Width; ++i)
                    Line[i] ^= Before[i];
            break;
        case lcFill:
            Fill(Remaining(), Next());
            break;
        case lcCopyLine:
            CopyFromBefore(Remaining());
            break;
        default:
            if (code >= lcFirstCopyCount)
                CopyFromBefore(code);
            else
                DecodeRuns(); // 1, 3, 4, 5
        }
    }

    void DecodeRuns() {
        while (X < Shape.Width) {
            uint8_t b = Next();
            if (b == E1)
                DecodeFirstEscape();
            else if (b == E2)
                DecodeSecondEscape();
            else
                Fill(1, b);
        }
    }

    void DecodeFirstEscape() {
        uint8_t m = Next();
        if (m == 0)
            Fill(1, E1);
        else if (m == 1)
            Fill(2, E1);
        else if (m == 2) {
            uint8_t count = Next();
            CopyFromBefore(count == 0 ? Remaining() : count);
        } else
            Fill(m, Next());
    }

    void DecodeSecondEscape() {
        uint8_t v = Next();
        if (v == E1)
            Fill(1, E2);
        else if (v == E2)
            Fill(2, E2);
        else
            Fill(3, v);
    }
};

template <bool Write>
void RunWholeSegment(std::span<const uint8_t> source, std::span<uint8_t> output, const ZQ5SegmentShape& shape,
                     uint8_t escape) {
    size_t pos = 0;
    auto next = [&]() -> uint8_t {
        if (pos >= source.size()) SourceOverflow();
        return source[pos++];
    };
    unsigned pending = 0;
    uint8_t value = 0;
    for (unsigned line = 0; line < shape.Lines; ++line) {
        uint8_t* out = Write ? output.data() + size_t{line} * shape.Stride : nullptr;
        unsigned x = 0;
        while (x < shape.Width) {
            if (pending == 0) {
                value = next();
                if (value == escape) {
                    uint8_t m = next();
                    if (m >= 2) value = next();
                    pending = m == 0 ? 1 : m == 1 ? 2 : m; // E1,1 is two E1

                } else
                    pending = 1;
            }
            // Runs carry over line ends: each line takes what it still needs.
            unsigned take = std::min(pending, shape.Width - x);
            if constexpr (Write) std::memset(out + x, value, take);
            x += take;
            pending -= take;
        }
        if constexpr (Write) std::memset(out + shape.Width, 0, shape.Stride - shape.Width);
    }
    // A run reaching past the last line would write beyond the band.
    if (pending != 0) LineOverflow();
}
} // namespace

void DecodeLineCoded(std::span<const uint8_t> source, std::span<uint8_t> output, const ZQ5SegmentShape& shape,
                     uint16_t escapes, bool plain) {
    if (output.size() < shape.Bytes()) LineOverflow();
    LineDecoder<true>(source, output, shape, escapes).Run(plain);
}

void DecodeWholeSegment(std::span<const uint8_t> source, std::span<uint8_t> output,
                        const ZQ5SegmentShape& shape, uint8_t escape) {
    if (output.size() < shape.Bytes()) LineOverflow();
    RunWholeSegment<true>(source, output, shape, escape);
}

void CheckLineCoded(std::span<const uint8_t> source, const ZQ5SegmentShape& shape, uint16_t escapes,
                    bool plain) {
    LineDecoder<false>(source, {}, shape, escapes).Run(plain);
}

void CheckWholeSegment(std::span<const uint8_t> source, const ZQ5SegmentShape& shape, uint8_t escape) {
    RunWholeSegment<false>(source, {}, shape, escape);
}
