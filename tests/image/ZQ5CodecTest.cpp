// The segment codec: exact bytes of each coding path, the decoder's escape
// sequences and refusals, and round trips of many pictures.

#include "image/ZQ5Codec.h"
#include "foundation/KelException.h"
#include "image/ZQ5TestPictures.h"

#include <gtest/gtest.h>

#include <random>

using namespace zq5test;

namespace {
using Bytes = std::vector<uint8_t>;

// Lines given top to bottom in the test read naturally; stored line 0 is the first given here.
Bytes Lines(const std::vector<Bytes>& lines, uint32_t stride) {
    Bytes out;
    for (const Bytes& line : lines) {
        out.insert(out.end(), line.begin(), line.end());
        out.resize(out.size() + stride - line.size(), 0);
    }
    return out;
}

Bytes Repeat(std::initializer_list<std::pair<unsigned, uint8_t>> runs) {
    Bytes out;
    for (auto [count, value] : runs)
        out.insert(out.end(), count, value);
    return out;
}

Bytes Alternate(unsigned count, uint8_t a, uint8_t b) {
    Bytes out;
    for (unsigned i = 0; i < count; ++i)
        out.push_back(i % 2 ? b : a);
    return out;
}

ZQ5EncodedSegment EncodeLines(const std::vector<Bytes>& lines) {
    auto width = static_cast<uint16_t>(lines[0].size());
    ZQ5SegmentShape shape{width, static_cast<uint16_t>(lines.size()), Stride(width)};
    Bytes raw = Lines(lines, shape.Stride);
    ZQ5EncodedSegment encoded = EncodeSegment(raw, shape);
    // Every coded form must decode to exactly what went in.
    Bytes decoded(shape.Bytes(), 0xEE);
    if (encoded.Flags & sfWholeSegment)
        DecodeWholeSegment(encoded.Data, decoded, shape, static_cast<uint8_t>(encoded.Escapes));
    else
        DecodeLineCoded(encoded.Data, decoded, shape, encoded.Escapes, encoded.Flags & sfPlainLines);
    EXPECT_EQ(decoded, raw);
    return encoded;
}

Bytes DecodeOneLine(const Bytes& source, uint16_t width, uint16_t escapes = 0x0201) {
    ZQ5SegmentShape shape{width, 1, Stride(width)};
    Bytes out(shape.Bytes(), 0xEE);
    DecodeLineCoded(source, out, shape, escapes, false);
    return out;
}

template <class Step> std::string ErrorOf(Step step) {
    try {
        step();
    } catch (const ZQ5Exception& error) {
        return error.what();
    }
    return "no error";
}

// What decoding raises, after making sure that checking alone raises the same.
std::string DecodeError(const Bytes& source, const ZQ5SegmentShape& shape, bool whole, uint16_t escapes,
                        bool plain = false) {
    Bytes out(shape.Bytes());
    std::string decoded = ErrorOf([&] {
        if (whole)
            DecodeWholeSegment(source, out, shape, static_cast<uint8_t>(escapes));
        else
            DecodeLineCoded(source, out, shape, escapes, plain);
    });
    std::string checked = ErrorOf([&] {
        if (whole)
            CheckWholeSegment(source, shape, static_cast<uint8_t>(escapes));
        else
            CheckLineCoded(source, shape, escapes, plain);
    });
    EXPECT_EQ(checked, decoded) << "checking and decoding disagree";
    return decoded;
}

std::string DecodeError(const Bytes& source, uint16_t width, uint16_t lines, bool whole = false) {
    return DecodeError(source, {width, lines, Stride(width)}, whole, 0x0201);
}
} // namespace

TEST(ZQ5Encoder, FlatLinesUseFillAndCopyLineCodes) {
    ZQ5EncodedSegment encoded = EncodeLines({Bytes(16, 5), Bytes(16, 5), Bytes(16, 9)});
    EXPECT_EQ(encoded.Flags, sfCompressed);
    EXPECT_EQ(encoded.Escapes, 0x0201); // 1 and 2 never occur: the least frequent
    EXPECT_EQ(encoded.Data, (Bytes{6, 5, 7, 6, 9}));
}

TEST(ZQ5Encoder, RunsUseLiteralsAndBothEscapes) {
    ZQ5EncodedSegment encoded = EncodeLines({Repeat({{10, 3}, {2, 4}, {3, 7}, {1, 9}})});
    EXPECT_EQ(encoded.Data, (Bytes{1, /*E1,10,3*/ 1, 10, 3, /*two literals*/ 4, 4, /*E2,7*/ 2, 7, 9}));
}

TEST(ZQ5Encoder, LeadingCopyCountThenRunsEndingInCopyToEnd) {
    Bytes first = Repeat({{12, 3}, {12, 4}});
    Bytes second = Repeat({{10, 3}, {2, 9}, {12, 4}});
    ZQ5EncodedSegment encoded = EncodeLines({first, second});
    EXPECT_EQ(encoded.Data, (Bytes{1, 1, 12, 3, 1, 12, 4, /*k*/ 10, 1, 9, 9, /*E1,2,0*/ 1, 2, 0}));
}

TEST(ZQ5Encoder, RawLineThenXorLine) {
    Bytes first = Alternate(16, 3, 4);
    Bytes second = Alternate(16, 3 ^ 8, 4 ^ 8);
    ZQ5EncodedSegment encoded = EncodeLines({first, second});
    Bytes expected{0};
    expected.insert(expected.end(), first.begin(), first.end());
    expected.insert(expected.end(), {2, 1, 16, 8});
    EXPECT_EQ(encoded.Data, expected);
}

TEST(ZQ5Encoder, CopyInsideTheLine) {
    Bytes first = Alternate(16, 3, 4);
    Bytes second{9, 9};
    second.insert(second.end(), first.begin() + 2, first.begin() + 10);
    second.insert(second.end(), 6, 9);
    ZQ5EncodedSegment encoded = EncodeLines({first, second});
    Bytes tail(encoded.Data.begin() + 17, encoded.Data.end());
    EXPECT_EQ(tail, (Bytes{1, 9, 9, /*E1,2,8*/ 1, 2, 8, /*E1,6,9*/ 1, 6, 9}));
}

TEST(ZQ5Encoder, LongCopiesAndRunsAreCutAt255) {
    Bytes first = Alternate(600, 10, 11);
    Bytes second = first;
    second[0] = 12;   // no leading copy
    second[599] = 13; // no copy to the end
    ZQ5EncodedSegment encoded = EncodeLines({first, second, Bytes(600, 7), Repeat({{300, 5}, {300, 6}})});
    EXPECT_EQ(encoded.Flags, sfCompressed);
}

TEST(ZQ5Encoder, RunsAcrossLinesFallBackToTheWholeSegmentForm) {
    // Each line is two runs of two, continued by the next line: line codes
    // cost more than the pixels, runs carried over the line ends do not.
    std::vector<Bytes> lines;
    for (uint8_t i = 0; i < 40; ++i)
        lines.push_back({static_cast<uint8_t>(10 + i), static_cast<uint8_t>(10 + i),
                         static_cast<uint8_t>(11 + i), static_cast<uint8_t>(11 + i)});
    ZQ5EncodedSegment encoded = EncodeLines(lines);
    EXPECT_EQ(encoded.Flags, sfCompressed | sfWholeSegment);
    EXPECT_LT(encoded.Data.size(), 4u * 40u);
    EXPECT_EQ(Bytes(encoded.Data.begin(), encoded.Data.begin() + 5), (Bytes{10, 10, 1, 4, 11}));
}

TEST(ZQ5Encoder, IncompressibleLinesAreStoredPlain) {
    std::vector<Bytes> lines;
    for (uint8_t i = 0; i < 6; ++i) {
        Bytes line;
        for (uint8_t x = 0; x < 13; ++x)
            line.push_back(static_cast<uint8_t>(20 + (x * 7 + i * 3) % 13));
        lines.push_back(line);
    }
    ZQ5EncodedSegment encoded = EncodeLines(lines);
    EXPECT_EQ(encoded.Flags, sfCompressed | sfPlainLines);
    ASSERT_EQ(encoded.Data.size(), 13u * 6u); // no padding, no codes
    EXPECT_EQ(Bytes(encoded.Data.begin(), encoded.Data.begin() + 13), lines[0]);
}

TEST(ZQ5Encoder, EscapesAreTheLeastFrequentNonZeroValues) {
    // Every value occurs; 200 and 3 occur least, 0 even less but is never an escape.
    Bytes line;
    for (int v = 0; v < 256; ++v)
        if (v != 0) line.insert(line.end(), v == 200 || v == 3 ? 1 : 2, static_cast<uint8_t>(v));
    ZQ5EncodedSegment encoded = EncodeLines({line});
    EXPECT_EQ(encoded.Escapes, 3 | (200 << 8));
}

TEST(ZQ5Decoder, EscapeSequencesWithE1IsOneAndE2IsTwo) {
    EXPECT_EQ(DecodeOneLine({1, 1, 5, 9}, 5), (Bytes{9, 9, 9, 9, 9, 0, 0, 0}));
    EXPECT_EQ(DecodeOneLine({1, 2, 9}, 3), (Bytes{9, 9, 9, 0}));
    EXPECT_EQ(DecodeOneLine({1, 2, 1}, 1), (Bytes{2, 0, 0, 0}));
    EXPECT_EQ(DecodeOneLine({1, 1, 0}, 1), (Bytes{1, 0, 0, 0}));
    EXPECT_EQ(DecodeOneLine({1, 1, 1, 2, 2, 7}, 5), (Bytes{1, 1, 2, 2, 7, 0, 0, 0}));
    // Codes 3, 4 and 5 read escape-coded runs like 1.
    EXPECT_EQ(DecodeOneLine({4, 2, 9, 5}, 4), (Bytes{9, 9, 9, 5}));
}

TEST(ZQ5Decoder, CopiesFromTheLineBefore) {
    ZQ5SegmentShape shape{6, 3, 8};
    Bytes out(shape.Bytes());
    // Line 0 raw; line 1: 2 copied (E1,2,2), then two 7, then copy to the end;
    // line 2: code 8 cannot fit (6 wide), so use code 7.
    DecodeLineCoded(Bytes{0, 1, 2, 3, 4, 5, 6, 1, 1, 2, 2, 7, 7, 1, 2, 0, 7}, out, shape, 0x0201, false);
    EXPECT_EQ(out, Lines({{1, 2, 3, 4, 5, 6}, {1, 2, 7, 7, 5, 6}, {1, 2, 7, 7, 5, 6}}, 8));
}

TEST(ZQ5Decoder, CopyCountThenXorOfTheWholeLine) {
    ZQ5SegmentShape shape{10, 2, 12};
    Bytes out(shape.Bytes());
    // Line 1: 8 pixels copied, then code 2 with runs for the last two; the
    // XOR then covers the whole line, so the copied pixels become 0.
    DecodeLineCoded(Bytes{6, 4, 8, 2, 5, 5}, out, shape, 0x0201, false);
    EXPECT_EQ(out, Lines({Bytes(10, 4), {0, 0, 0, 0, 0, 0, 0, 0, 1, 1}}, 12));
}

TEST(ZQ5Decoder, RefusesWhatWouldLeaveTheBuffers) {
    EXPECT_EQ(DecodeError({7}, 4, 1), "Decode: invalid line code");
    EXPECT_EQ(DecodeError({2, 5, 5, 5, 5}, 4, 1), "Decode: invalid line code");
    EXPECT_EQ(DecodeError({9}, 4, 2), "Decode: invalid line code");
    // A copy from the line before inside the first line.
    EXPECT_EQ(DecodeError({1, 1, 2, 0}, 4, 1), "Decode: invalid line code");
    EXPECT_EQ(DecodeError({1, 1, 5, 9}, 4, 1), "Decode: output line overflow");
    EXPECT_EQ(DecodeError({6, 3, 8}, 4, 2), "Decode: output line overflow");
    EXPECT_EQ(DecodeError({1, 5, 5, 5, 5, 6}, 4, 2), "Decode: source buffer overflow");
    EXPECT_EQ(DecodeError({0, 1, 2}, 4, 1), "Decode: source buffer overflow");
    EXPECT_EQ(DecodeError({1, 5, 5, 1}, 4, 1), "Decode: source buffer overflow");
    EXPECT_EQ(DecodeError({}, 4, 1), "Decode: source buffer overflow");
}

TEST(ZQ5Decoder, WholeSegmentRunsCarryOverLineEnds) {
    ZQ5SegmentShape shape{3, 3, 4};
    Bytes out(shape.Bytes(), 0xEE);
    // Five 8s, E1 twice (1,1), one E1 (1,0), then a literal.
    DecodeWholeSegment(Bytes{1, 5, 8, 1, 1, 1, 0, 6}, out, shape, 1);
    EXPECT_EQ(out, Lines({{8, 8, 8}, {8, 8, 1}, {1, 1, 6}}, 4));
    EXPECT_EQ(DecodeError({1, 10, 8}, 3, 3, true), "Decode: output line overflow");
    EXPECT_EQ(DecodeError({1, 4, 8}, 3, 3, true), "Decode: source buffer overflow");
}

TEST(ZQ5Decoder, CheckingAloneRaisesWhereDecodingWouldOnDamagedSegments) {
    // Segments of every coded form, cut short, lengthened and with bytes
    // changed at random: the check must refuse exactly what decoding refuses.
    std::mt19937 random(11);
    std::vector<std::vector<Bytes>> pictures = {
        {Repeat({{20, 3}}), Repeat({{20, 3}}), Repeat({{5, 3}, {15, 4}})},
        {Alternate(20, 1, 2), Alternate(20, 2, 1), Repeat({{10, 1}, {10, 9}})},
        {Repeat({{7, 5}, {6, 6}, {7, 7}}), Repeat({{7, 6}, {6, 7}, {7, 5}}), Alternate(20, 5, 7)},
        {},
    };
    for (uint8_t i = 0; i < 40; ++i) // runs across the line ends: the whole-segment form
        pictures.back().push_back(
            Repeat({{2, static_cast<uint8_t>(10 + i)}, {2, static_cast<uint8_t>(11 + i)}}));
    unsigned refused = 0;
    unsigned wholeForms = 0;
    for (const auto& lines : pictures) {
        auto width = static_cast<uint16_t>(lines[0].size());
        ZQ5SegmentShape shape{width, static_cast<uint16_t>(lines.size()), Stride(width)};
        ZQ5EncodedSegment encoded = EncodeLines(lines);
        bool whole = encoded.Flags & sfWholeSegment;
        bool plain = encoded.Flags & sfPlainLines;
        wholeForms += whole;
        for (int trial = 0; trial < 400; ++trial) {
            Bytes damaged = encoded.Data;
            if (trial % 4 == 0 && !damaged.empty())
                damaged.resize(random() % damaged.size());
            else if (trial % 4 == 1)
                damaged.push_back(static_cast<uint8_t>(random()));
            for (int hit = trial % 3; hit > 0 && !damaged.empty(); --hit)
                damaged[random() % damaged.size()] = static_cast<uint8_t>(random() % 12);
            refused += DecodeError(damaged, shape, whole, encoded.Escapes, plain) != "no error";
        }
    }
    EXPECT_EQ(wholeForms, 1u);
    EXPECT_GT(refused, 100u); // the damage really was refused often
}

namespace {
void ExpectRoundTrip(const RawPicture& picture) {
    SCOPED_TRACE(std::to_string(picture.Width) + "x" + std::to_string(picture.Height));
    auto image = Encode(picture);
    ASSERT_EQ(image->State(), isCompressed);
    auto stored = ReadBack(image->RecordBytes());
    ASSERT_EQ(stored->Image.State(), isReady);
    EXPECT_EQ(PixelsOf(stored->Image), picture.Lines);
}
} // namespace

TEST(ZQ5RoundTrip, SmallAndOddSizes) {
    unsigned seed = 1;
    for (uint16_t w : {1, 2, 3, 4, 5, 7, 8, 9, 13, 31, 64, 255, 256, 257})
        for (uint16_t h : {1, 2, 3, 17}) {
            ExpectRoundTrip(Noise(w, h, seed++));
            ExpectRoundTrip(Noise(w, h, seed++, 3));
            ExpectRoundTrip(MakePicture(w, h, [](unsigned, unsigned) { return 1; }));
        }
}

TEST(ZQ5RoundTrip, StructuredPictures) {
    for (auto [w, h] : {std::pair<uint16_t, uint16_t>{376, 225}, {512, 320}, {640, 480}, {129, 79}}) {
        ExpectRoundTrip(LineArt(w, h, w));
        ExpectRoundTrip(Noise(w, h, h));
        ExpectRoundTrip(Noise(w, h, h, 2));
        ExpectRoundTrip(
            MakePicture(w, h, [](unsigned x, unsigned s) { return static_cast<uint8_t>(x / 7 + s / 5); }));
        ExpectRoundTrip(MakePicture(w, h, [](unsigned x, unsigned) { return static_cast<uint8_t>(x); }));
        ExpectRoundTrip(
            MakePicture(w, h, [](unsigned x, unsigned s) { return static_cast<uint8_t>((x ^ s) & 1); }));
        ExpectRoundTrip(
            MakePicture(w, h, [](unsigned x, unsigned s) { return static_cast<uint8_t>(x * s); }));
    }
}

TEST(ZQ5RoundTrip, EscapeValuesAmongThePixels) {
    // All 256 values occur, so the escapes themselves appear as pixels, alone,
    // in pairs, in threes and in long runs.
    std::mt19937 random(7);
    RawPicture picture = MakePicture(
        300, 40, [&](unsigned x, unsigned) { return static_cast<uint8_t>(x < 256 ? x : random() % 4); });
    for (unsigned s = 0; s < 40; ++s)
        for (unsigned run = 1, x = 0; x + run < 300; x += run + 1, run = run % 6 + 1)
            for (unsigned i = 0; i < run; ++i)
                picture.Lines[s * 300 + x + i] = static_cast<uint8_t>(1 + s % 3);
    ExpectRoundTrip(picture);
}

TEST(ZQ5RoundTrip, PicturesLargerThanOneSegment) {
    ExpectRoundTrip(LineArt(1000, 300, 3)); // 5 segments
    ExpectRoundTrip(Noise(700, 200, 4));    // plain segments
    ExpectRoundTrip(Noise(65280, 2, 5, 2)); // one line per segment
    ExpectRoundTrip(Noise(3, 30000, 6, 4)); // narrow and tall
}
