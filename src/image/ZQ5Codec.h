#pragma once
// The two compressed segment forms: the line-coded form (one code per line,
// escape-coded runs, copies from and XOR with the line before) and the
// whole-segment run-length form, with the plain lines as the last resort.
//
// Decoders never read or write outside the spans they are given: any input
// that would make them do so raises a ZQ5Exception with a "Decode:" text.

#include <cstdint>
#include <span>
#include <vector>

// The lines of one segment: Width pixels each, Stride bytes apart, the first
// stored line (the lowest of the band) first.
struct ZQ5SegmentShape {
    uint16_t Width = 0;
    uint16_t Lines = 0;
    uint32_t Stride = 0;

    size_t Bytes() const { return size_t{Lines} * Stride; }
};

// Line codes of the line-coded form.
constexpr uint8_t lcRaw = 0;
constexpr uint8_t lcRuns = 1;
constexpr uint8_t lcXorRuns = 2;
constexpr uint8_t lcFill = 6;
constexpr uint8_t lcCopyLine = 7;
constexpr uint8_t lcFirstCopyCount = 8; // 8..255: copy that many pixels, then another code

// Fills output (Shape.Bytes() bytes, padding zeroed) from the line-coded form;
// plain means no code bytes are stored and every line is raw.
void DecodeLineCoded(std::span<const uint8_t> source, std::span<uint8_t> output, const ZQ5SegmentShape& shape,
                     uint16_t escapes, bool plain);
// Fills output from the whole-segment run-length form, where only E1 is special.
void DecodeWholeSegment(std::span<const uint8_t> source, std::span<uint8_t> output,
                        const ZQ5SegmentShape& shape, uint8_t escape);
// Raise what the two decoders would raise for the same source and shape, and
// nothing else, without writing a pixel: checking a library costs no memory.
void CheckLineCoded(std::span<const uint8_t> source, const ZQ5SegmentShape& shape, uint16_t escapes,
                    bool plain);
void CheckWholeSegment(std::span<const uint8_t> source, const ZQ5SegmentShape& shape, uint8_t escape);

struct ZQ5EncodedSegment {
    std::vector<uint8_t> Data;
    uint16_t Escapes = 0; // E1 low, E2 high
    uint8_t Flags = 0;    // the stored segment flags, sfCompressed included
};

// Codes stride-padded lines in the smallest of the three stored forms.
ZQ5EncodedSegment EncodeSegment(std::span<const uint8_t> lines, const ZQ5SegmentShape& shape);
