// Image records: segment geometry, the record header checks, reading with
// discarded segments and their reload, both storage kinds, buffer states.

#include "foundation/KelException.h"
#include "image/ZQ5Record.h"
#include "image/ZQ5TestPictures.h"

#include <gtest/gtest.h>

#include <algorithm>

#include <cstring>

using namespace zq5test;

namespace {
using Bytes = std::vector<uint8_t>;

std::string ReadError(const Bytes& record) {
    MemoryStream stream(record);
    TZQ5Image image;
    try {
        image.Read(stream);
        image.DecodeAll();
    } catch (const ZQ5Exception& error) {
        EXPECT_EQ(image.State(), isEmpty);
        EXPECT_TRUE(image.Segments.empty());
        return error.what();
    }
    return "no error";
}

// A one-segment kind-1 record of a w x h picture around the given segment data.
Bytes Record(uint16_t w, uint16_t h, const Bytes& data, uint8_t flags = sfCompressed, uint8_t kind = 1) {
    TZQ5ImageHeader header;
    std::memcpy(header.Name, "test", 4);
    header.Width = w;
    header.Height = h;
    header.SegmentCount = 1;
    header.State = kind;
    Bytes out;
    WriteRecordHeader(out, header);
    AppendCardinal(out, static_cast<uint32_t>(ZQ5RecordHeaderSize + 4 + 3 + data.size()));
    out.insert(out.end(), {1, 2, flags});
    out.insert(out.end(), data.begin(), data.end());
    return out;
}
} // namespace

TEST(ZQ5Geometry, NamedSizes) {
    EXPECT_EQ(Stride(100), 100);
    EXPECT_EQ(ImageBytes(100, 100), 10000u);
    EXPECT_EQ(SegmentCount(100, 100), 1u);
    EXPECT_EQ(LinesPerSegment(100, 100), 100);

    EXPECT_EQ(Stride(640), 640);
    EXPECT_EQ(ImageBytes(640, 480), 307200u);
    EXPECT_EQ(LinesPerSegment(640, 480), 96);
    EXPECT_EQ(SegmentBytes(640, 480, 0), 61440u);
    EXPECT_EQ(SegmentCount(640, 480), 5u);
    EXPECT_EQ(SegmentLines(640, 480, 4), 96);

    EXPECT_EQ(Stride(1), 4);
    EXPECT_EQ(SegmentCount(1, 1), 1u);
    EXPECT_EQ(SegmentBytes(1, 1, 0), 4u);
    EXPECT_EQ(Stride(3), 4);
    EXPECT_EQ(Stride(4), 4);
    EXPECT_EQ(Stride(5), 8);
    EXPECT_EQ(SegmentCount(0, 10), 0u);
    EXPECT_EQ(SegmentCount(10, 0), 0u);
}

TEST(ZQ5Geometry, BandsCoverThePictureWithinTheLimit) {
    for (uint16_t w : {1, 3, 17, 255, 376, 512, 1000, 4093, 32768, 65280})
        for (uint16_t h : {1, 2, 97, 225, 320, 1000, 16321, 65535}) {
            unsigned count = SegmentCount(w, h);
            ASSERT_GT(count, 0u);
            unsigned lines = 0;
            for (unsigned i = 0; i < count; ++i) {
                ASSERT_GT(SegmentLines(w, h, i), 0) << w << "x" << h << " band " << i;
                ASSERT_LE(SegmentBytes(w, h, i), ZQ5SegmentLimit);
                lines += SegmentLines(w, h, i);
            }
            EXPECT_EQ(lines, h) << w << "x" << h;
        }
    EXPECT_EQ(SegmentCount(65281, 1), 0u); // a line wider than a band
}

TEST(ZQ5Geometry, LinesPerSegmentFollowsTheCountingRule) {
    // The counting rule as stated for the format: add bands one at a time
    // until a band of evenly spread lines fits.
    auto counted = [](uint32_t w, uint32_t h) {
        uint32_t stride = (w + 3) & ~3u, bytes = stride * h;
        uint32_t n = (bytes + 65279) / 65280;
        uint32_t lines = ((bytes / n) + stride - 1) / stride;
        while (stride * lines > 65280)
            lines = ((bytes / ++n) + stride - 1) / stride;
        return lines;
    };
    for (uint32_t w = 1; w < 3000; w += 37)
        for (uint32_t h = 1; h < 3000; h += 53)
            ASSERT_EQ(LinesPerSegment(static_cast<uint16_t>(w), static_cast<uint16_t>(h)), counted(w, h))
                << w << "x" << h;
}

TEST(ZQ5Image, InitWithoutSourceIsZeroAndReady) {
    TZQ5Image image;
    image.Init("a_very_long_name", nullptr, 640, 480);
    EXPECT_EQ(image.Name(), "a_very_l");
    EXPECT_EQ(image.State(), isReady);
    EXPECT_EQ(image.Header.SegmentCount, 5);
    EXPECT_EQ(image.Header.Revision, 3);
    EXPECT_EQ(PixelsOf(image), Bytes(ImageBytes(640, 480), 0));
    EXPECT_EQ(image.Segments[4]->Size, 61440u);

    image.Init("empty", nullptr, 0, 5);
    EXPECT_EQ(image.State(), isReady);
    EXPECT_TRUE(image.Segments.empty());
}

TEST(ZQ5Image, InitRefusesPicturesTheFormatCannotHold) {
    TZQ5Image image;
    EXPECT_THROW(image.Init("big", nullptr, 2000, 20000), ZQ5Exception); // 613 bands
    EXPECT_THROW(image.Init("wide", nullptr, 65400, 1), ZQ5Exception);   // a line beyond a band
    EXPECT_EQ(image.State(), isEmpty);
    MemoryStream shortSource(Bytes(10, 1));
    EXPECT_THROW(image.Init("short", &shortSource, 10, 10), ZQ5Exception);
    EXPECT_EQ(image.State(), isEmpty);
}

TEST(ZQ5Image, RecordHeaderChecks) {
    Bytes good = Record(4, 1, {6, 9});
    EXPECT_EQ(ReadError(good), "no error");
    auto changed = [&](size_t offset, uint8_t value) {
        Bytes bad = good;
        bad[offset] = value;
        return ReadError(bad);
    };
    const std::string invalid = "Invalid ZQ5 image header";
    EXPECT_EQ(changed(13, 0), invalid);  // storage kind 0
    EXPECT_EQ(changed(13, 3), invalid);  // storage kind 3
    EXPECT_EQ(changed(16, 2), invalid);  // revision 2
    EXPECT_EQ(changed(8, 0), invalid);   // width 0
    EXPECT_EQ(changed(10, 0), invalid);  // height 0
    EXPECT_EQ(changed(12, 0), invalid);  // no segments
    EXPECT_EQ(changed(12, 2), invalid);  // more segments than the geometry has
    EXPECT_EQ(changed(18, 0), invalid);  // record size 0, below 18 + 4n
    EXPECT_EQ(changed(18, 24), invalid); // too short for the segment header
    EXPECT_EQ(changed(18, 30), invalid); // past the end of the data
    EXPECT_EQ(changed(24, 0), invalid);  // compressed record without the compressed flag
    EXPECT_EQ(changed(24, sfCompressed | sfDrawing), invalid);
    EXPECT_EQ(ReadError(Bytes(good.begin(), good.begin() + 20)), invalid);
    EXPECT_EQ(ReadError(Bytes(good.begin(), good.begin() + 10)), invalid);
}

TEST(ZQ5Image, ImagesBeyondThePixelBoundAreRefusedBeforeAnyBand) {
    auto readBack = [](uint16_t w, uint16_t h) {
        TZQ5Image blank;
        blank.Init("big", nullptr, w, h);
        return ReadError(blank.RecordBytes());
    };
    EXPECT_EQ(readBack(1448, 1448), "no error"); // just within the bound
    EXPECT_EQ(readBack(2048, 1025), "Invalid ZQ5 image header");
    EXPECT_EQ(readBack(65280, 33), "Invalid ZQ5 image header");
}

TEST(ZQ5Image, SegmentsOutOfOrderAreRefused) {
    auto image = Encode(LineArt(640, 480, 1));
    Bytes record = image->RecordBytes();
    EXPECT_EQ(ReadError(record), "no error");
    // Swap the second and third end offsets.
    std::swap_ranges(record.begin() + 22, record.begin() + 26, record.begin() + 26);
    EXPECT_EQ(ReadError(record), "Invalid ZQ5 image header");
}

TEST(ZQ5Image, DecodeErrorsLeaveTheImageEmpty) {
    EXPECT_EQ(ReadError(Record(4, 2, {7})), "Decode: invalid line code");
    EXPECT_EQ(ReadError(Record(4, 1, {1, 1, 5, 9})), "Decode: output line overflow");
    EXPECT_EQ(ReadError(Record(4, 2, {6, 9})), "Decode: source buffer overflow");
    EXPECT_EQ(ReadError(Record(4, 2, {1, 9, 8}, sfCompressed | sfWholeSegment)),
              "Decode: output line overflow");
}

TEST(ZQ5Image, SecondLineCopiesTheFirst) {
    auto stored = ReadBack(Record(3, 2, {0, 4, 5, 6, 7}));
    EXPECT_EQ(PixelsOf(stored->Image), (Bytes{4, 5, 6, 0, 4, 5, 6, 0}));
}

TEST(ZQ5Image, ReadKeepsSegmentsDiscardedUntilDecoded) {
    auto encoded = Encode(LineArt(640, 480, 2));
    auto stored = ReadBack(encoded->RecordBytes(), false);
    TZQ5Image& image = stored->Image;
    EXPECT_EQ(image.State(), isCompressed);
    ASSERT_EQ(image.Segments.size(), 5u);
    for (auto& segment : image.Segments) {
        EXPECT_TRUE(segment->IsDiscarded());
        EXPECT_TRUE(segment->Flags & sfCompressed);
        EXPECT_EQ(segment->Size, encoded->Segments[segment->Index]->Size);
        EXPECT_EQ(segment->Escapes, encoded->Segments[segment->Index]->Escapes);
    }
    image.DecodeAll();
    EXPECT_EQ(image.State(), isReady);
    for (auto& segment : image.Segments) {
        EXPECT_FALSE(segment->Flags & sfCompressed);
        EXPECT_EQ(segment->Size, SegmentBytes(640, 480, segment->Index));
    }
}

TEST(ZQ5Image, PlainRecordsReloadEachSegmentOnItsFirstLock) {
    // A blank image written out is a kind-2 record of plain bands.
    TZQ5Image blank;
    blank.Init("plain", nullptr, 700, 200);
    uint8_t* first = blank.Segments[1]->Lock();
    first[0] = 42;
    blank.Segments[1]->Unlock();
    Bytes record = blank.RecordBytes();
    EXPECT_EQ(record[13], 2);
    auto stored = ReadBack(record);
    TZQ5Image& image = stored->Image;
    EXPECT_EQ(image.State(), isReady); // DecodeAll leaves kind 2 alone
    for (auto& segment : image.Segments)
        EXPECT_TRUE(segment->IsDiscarded());
    uint8_t* pixels = image.Segments[1]->Lock();
    EXPECT_EQ(pixels[0], 42);
    EXPECT_TRUE(image.Segments[1]->IsLocked());
    EXPECT_FALSE(image.Segments[1]->IsDiscarded());
    EXPECT_TRUE(image.Segments[0]->IsDiscarded());
    EXPECT_EQ(PixelsOf(image), PixelsOf(blank));

    Bytes wrongSize = record;
    wrongSize[18] = static_cast<uint8_t>(wrongSize[18] + 1);
    EXPECT_EQ(ReadError(wrongSize), "Invalid ZQ5 image header");
}

TEST(ZQ5Segment, BufferStates) {
    TZQ5Image image;
    image.Init("s", nullptr, 8, 2);
    TZQ5ImageSegment& segment = *image.Segments[0];
    EXPECT_TRUE(segment.HasBuffer());
    uint8_t* a = segment.Lock();
    uint8_t* b = segment.Lock();
    EXPECT_EQ(a, b);
    segment.Unlock(); // one Unlock undoes any number of Locks
    EXPECT_FALSE(segment.IsLocked());

    a = segment.Lock();
    a[3] = 9;
    segment.Reallocate(32);
    EXPECT_TRUE(segment.IsLocked());
    EXPECT_EQ(segment.Size, 32u);
    EXPECT_EQ(segment.Lock()[3], 9);
    EXPECT_EQ(std::count(segment.Lock() + 16, segment.Lock() + 32, 0), 16); // grown with zeros

    BandBytes taken = segment.Detach();
    EXPECT_EQ(taken.size(), 32u);
    EXPECT_EQ(taken[3], 9);
    EXPECT_FALSE(segment.HasBuffer());
    EXPECT_EQ(segment.Size, 0u);
    try {
        segment.Lock();
        FAIL();
    } catch (const ZQ5Exception& error) {
        EXPECT_STREQ(error.what(), "Segment Lock: segment buffer not allocated");
    }
    try {
        segment.Reallocate(4);
        FAIL();
    } catch (const ZQ5Exception& error) {
        EXPECT_STREQ(error.what(), "Reallocate: segment buffer not allocated");
    }

    segment.Allocate(16);
    segment.Flags = sfCompressed;
    segment.Free();
    EXPECT_FALSE(segment.HasBuffer());
    EXPECT_EQ(segment.Flags, 0);
}

TEST(ZQ5Segment, DetachingADiscardedSegmentReloadsIt) {
    auto encoded = Encode(LineArt(100, 100, 3));
    auto stored = ReadBack(encoded->RecordBytes(), false);
    TZQ5ImageSegment& segment = *stored->Image.Segments[0];
    BandBytes bytes = segment.Detach();
    EXPECT_EQ(bytes, encoded->Segments[0]->Detach());
    EXPECT_FALSE(segment.HasBuffer());
}

TEST(ZQ5Segment, ReloadFromAStreamCutShortRaises) {
    auto encoded = Encode(LineArt(100, 100, 3));
    auto stored = ReadBack(encoded->RecordBytes(), false);
    stored->Stream.Data().resize(40);
    EXPECT_THROW(stored->Image.DecodeAll(), ZQ5Exception);
    EXPECT_EQ(stored->Image.State(), isEmpty);
}

TEST(ZQ5Image, RecordBytesAreStableAndKeepTheHeader) {
    RawPicture picture = LineArt(376, 225, 9);
    auto image = Encode(picture, "BgOne");
    image->Header.TransparentIndex = 217;
    image->Header.Transparent = 1;
    Bytes record = image->RecordBytes();
    auto again = Encode(picture, "BgOne");
    again->Header.TransparentIndex = 217;
    again->Header.Transparent = 1;
    EXPECT_EQ(again->RecordBytes(), record);
    auto stored = ReadBack(record);
    EXPECT_EQ(stored->Image.Name(), "BgOne");
    EXPECT_EQ(stored->Image.Header.TransparentIndex, 217);
    EXPECT_EQ(stored->Image.Header.Transparent, 1);
    EXPECT_EQ(PixelsOf(stored->Image), picture.Lines);
}

TEST(ZQ5Image, AReadRecordIsWrittenBackUnchangedAndStillDecodes) {
    RawPicture picture = LineArt(640, 480, 12);
    Bytes record = Encode(picture)->RecordBytes();
    auto stored = ReadBack(record, false);
    // Writing reloads each compressed band; it must stay marked compressed.
    EXPECT_EQ(stored->Image.RecordBytes(), record);
    stored->Image.DecodeAll();
    EXPECT_EQ(PixelsOf(stored->Image), picture.Lines);
}
