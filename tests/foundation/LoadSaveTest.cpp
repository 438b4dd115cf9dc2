#include "foundation/LoadSave.h"
#include "foundation/ByteStream.h"
#include "foundation/IDList.h"
#include "foundation/KelException.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>
#include <vector>

namespace {
std::vector<uint8_t> Written(const std::function<void(ByteStream&)>& write) {
    MemoryStream out;
    write(out);
    return out.Data();
}

void ExpectKelMessage(const std::function<void()>& action, const std::string& message) {
    try {
        action();
        FAIL() << "expected: " << message;
    } catch (const KelException& e) {
        EXPECT_EQ(e.what(), message);
    }
}
} // namespace

TEST(Strings, UnicodeRecordsAreByteExact) {
    EXPECT_EQ(Written([](ByteStream& s) { WriteString(s, ""); }), Hex("00 00 00 00"));
    EXPECT_EQ(Written([](ByteStream& s) { WriteString(s, "AB"); }), Hex("04 00 00 00 41 00 42 00"));
    EXPECT_EQ(Written([](ByteStream& s) { WriteAnsiString(s, "vrlbg"); }), Hex("05 00 00 00 76 72 6C 62 67"));
    EXPECT_EQ(Written([](ByteStream& s) { WriteOptString(s, nullptr); }), Hex("04 00 00 00 2F 4E 49 4C"));
}

TEST(Strings, RoundTripTextOutsideAscii) {
    const std::string text =
        "Vimo's \xC3\xA9t\xC3\xA9 \xF0\x9F\x8E\xA8"; // accents and an emoji (surrogate pair)
    MemoryStream stream;
    WriteString(stream, text);
    WriteAnsiString(stream, "caf\xC3\xA9");
    stream.Seek(0);
    EXPECT_EQ(ReadString(stream), text);
    EXPECT_EQ(ReadAnsiString(stream), "caf\xC3\xA9");
}

TEST(Strings, OptionalStringReadsNilAsAbsent) {
    MemoryStream stream(Hex("04 00 00 00 2F 4E 49 4C  04 00 00 00 2F 6E 69 6C"));
    EXPECT_FALSE(ReadOptString(stream).has_value());
    EXPECT_EQ(ReadOptString(stream).value(), "/nil"); // the mark is case-sensitive
}

TEST(Strings, ImpossibleLengthsAreCorruption) {
    const std::string unicode =
        "ReadString (Unicode): Input file is corrupt - impossible string length detected.";
    ExpectKelMessage(
        [] {
            MemoryStream s(Hex("FF FF FF FF"));
            ReadString(s);
        },
        unicode);
    ExpectKelMessage(
        [] {
            MemoryStream s(Hex("06 00 00 00 41 00 42 00 43"));
            ReadString(s);
        },
        unicode);
    ExpectKelMessage(
        [] {
            MemoryStream s(Hex("02 00 00 00 41"));
            ReadAnsiString(s);
        },
        "ReadAnsiString: Input file is corrupt - impossible string length detected.");
}

TEST(Strings, CountEqualToWhatRemainsIsValid) {
    MemoryStream six(Hex("06 00 00 00 41 00 42 00 43 00"));
    EXPECT_EQ(ReadString(six), "ABC");
    MemoryStream odd(Hex("03 00 00 00 41 00 42"));
    EXPECT_EQ(ReadString(odd), "A"); // the unpaired byte is consumed and dropped
    EXPECT_EQ(odd.Position(), odd.Size());
}

TEST(ShortReads, FixedWidthFieldsAndCountsRaiseInsteadOfHalfFilling) {
    EXPECT_THROW(
        {
            MemoryStream s(Hex("01"));
            ReadWord(s);
        },
        KelException);
    EXPECT_THROW(
        {
            MemoryStream s(Hex("01 02 03"));
            ReadLongInt(s);
        },
        KelException);
    EXPECT_THROW(
        {
            MemoryStream s(Hex(""));
            ReadByte(s);
        },
        KelException);
    EXPECT_THROW(
        {
            MemoryStream s(Hex("01 00 00"));
            ReadString(s);
        },
        KelException);
    EXPECT_THROW(
        {
            MemoryStream s(Hex("01 00 00 00 02 00 00 00 03"));
            ReadRect(s);
        },
        KelException);
    EXPECT_THROW(
        {
            MemoryStream s(Hex("05 41 42"));
            ReadShortString(s);
        },
        KelException);
    try {
        MemoryStream s(Hex("01"));
        ReadWord(s);
    } catch (const KelException& e) {
        EXPECT_EQ(std::string(e.what()).rfind("ReadWord:", 0), 0u) << e.what();
    }
}

TEST(FixedFields, LittleEndianRoundTrip) {
    MemoryStream s;
    WriteByte(s, 0xAB);
    WriteBoolean(s, true);
    WriteWord(s, 0xBEEF);
    WriteSmallInt(s, -2);
    WritePoint(s, {-1, 7});
    WriteRect(s, {1, 2, 3, 4});
    EXPECT_EQ(
        s.Data(),
        Hex("AB 01 EF BE FE FF  FF FF FF FF 07 00 00 00  01 00 00 00 02 00 00 00 03 00 00 00 04 00 00 00"));
    s.Seek(0);
    EXPECT_EQ(ReadByte(s), 0xAB);
    EXPECT_TRUE(ReadBoolean(s));
    EXPECT_EQ(ReadWord(s), 0xBEEF);
    EXPECT_EQ(ReadSmallInt(s), -2);
    EXPECT_EQ(ReadPoint(s), (TPoint{-1, 7}));
    EXPECT_EQ(ReadRect(s), (TRect{1, 2, 3, 4}));
}

TEST(FixedFields, CoordinatesBeyondTheLimitAreCorruption) {
    const int32_t limit = FileCoordinateLimit;
    MemoryStream edge;
    WritePoint(edge, {-limit, limit});
    WriteRect(edge, {-limit, -limit, limit, limit});
    edge.Seek(0);
    EXPECT_EQ(ReadPoint(edge), (TPoint{-limit, limit}));
    EXPECT_EQ(ReadRect(edge), (TRect{-limit, -limit, limit, limit}));
    for (int32_t wild : {limit + 1, -limit - 1, INT32_MAX, INT32_MIN}) {
        MemoryStream point;
        WritePoint(point, {0, wild});
        point.Seek(0);
        ExpectKelMessage([&] { ReadPoint(point); },
                         "ReadPoint: Input file is corrupt - a coordinate is out of range.");
        MemoryStream rect;
        WriteRect(rect, {wild, 0, 1, 1});
        rect.Seek(0);
        ExpectKelMessage([&] { ReadRect(rect); },
                         "ReadRect: Input file is corrupt - a coordinate is out of range.");
    }
}

TEST(FixedFields, AnyNonZeroByteIsTrue) {
    MemoryStream s(Hex("00 02 FF"));
    EXPECT_FALSE(ReadBoolean(s));
    EXPECT_TRUE(ReadBoolean(s));
    EXPECT_TRUE(ReadBoolean(s));
}

TEST(NodeReader, IdNodeAndUnknownClasses) {
    MemoryStream id(Hex("01 02 00 00 00 58 00"));
    auto node = ReadNode(id);
    ASSERT_NE(dynamic_cast<TIDNode*>(node.get()), nullptr);
    EXPECT_EQ(static_cast<TIDNode*>(node.get())->GetID(), "X");
    EXPECT_EQ(node->ClassId, 1);

    MemoryStream unknown(Hex("09 55"));
    auto plain = ReadNode(unknown);
    EXPECT_EQ(typeid(*plain), typeid(TKelNode));
    EXPECT_EQ(plain->ClassId, 9);
    EXPECT_EQ(unknown.Position(), 1);
}

TEST(NodeReader, RegisteredClassesAreCreatedByTheirId) {
    struct Marker : TKelNode {
        uint16_t Value = 0;
        void LoadFromStream(ByteStream& s) override { Value = ReadWord(s); }
    };
    RegisterNodeClass(200, [] { return std::make_unique<Marker>(); });
    MemoryStream in(Hex("C8 34 12"));
    auto node = ReadNode(in);
    auto* marker = dynamic_cast<Marker*>(node.get());
    ASSERT_NE(marker, nullptr);
    EXPECT_EQ(marker->Value, 0x1234);
    EXPECT_EQ(marker->ClassId, 200);
    RegisterNodeClass(200, nullptr);
}

TEST(Streams, FileStreamReportsMissingFilesAndRoundTrips) {
    TempDir dir;
    EXPECT_THROW(FileStream(dir.File("missing.dat"), FileStream::Mode::Read), FileOpenError);
    {
        FileStream out(dir.File("a.dat"), FileStream::Mode::Create);
        WriteString(out, "hello");
        out.Close();
    }
    FileStream in(dir.File("a.dat"), FileStream::Mode::Read);
    EXPECT_EQ(in.Size(), 14);
    EXPECT_EQ(ReadString(in), "hello");
    EXPECT_TRUE(FileExists(dir.File("a.dat")));
    EXPECT_FALSE(FileExists(dir.Folder()));
}

// A reader asks for the size between its reads; a writer's size includes
// what is still buffered.
TEST(Streams, FileSizeKeepsTheReadingPlaceAndCountsBufferedWrites) {
    TempDir dir;
    const uint8_t bytes[10] = {0, 1, 2, 3, 4, 5, 6, 7, 8, 9};
    {
        FileStream out(dir.File("b.dat"), FileStream::Mode::Create);
        out.Write(bytes, sizeof bytes);
        EXPECT_EQ(out.Size(), 10);
        out.Close();
    }
    FileStream in(dir.File("b.dat"), FileStream::Mode::Read);
    uint8_t got[3] = {};
    ASSERT_EQ(in.Read(got, 3), 3u);
    EXPECT_EQ(in.Size(), 10);
    ASSERT_EQ(in.Read(got, 3), 3u);
    EXPECT_EQ(got[0], 3);
    EXPECT_EQ(in.Position(), 6);
    FileStream both(dir.File("b.dat"), FileStream::Mode::ReadWrite);
    both.Seek(10);
    both.Write(bytes, 5);
    EXPECT_EQ(both.Size(), 15);
}

// A file opened for reading is read through a window of its own: whatever
// the seeks and the sizes of the reads (small, across the window's edge,
// larger than it, past the end), it gives what the same bytes in memory give.
TEST(Streams, ReadingAFileMatchesReadingItsBytesInMemory) {
    TempDir dir;
    std::mt19937 random(11);
    std::vector<uint8_t> bytes(50'000);
    for (uint8_t& b : bytes)
        b = static_cast<uint8_t>(random());
    MemoryStream(bytes).SaveToFile(dir.File("c.dat"));
    FileStream file(dir.File("c.dat"), FileStream::Mode::Read);
    MemoryStream memory(bytes);
    std::vector<uint8_t> fromFile(40'000), fromMemory(40'000);
    for (int round = 0; round < 400; ++round) {
        if (round % 3 == 0) {
            const int64_t to = static_cast<int64_t>(random() % 52'000);
            file.Seek(to);
            memory.Seek(to);
        }
        const size_t count = round % 10 == 0 ? random() % 40'000 : random() % 300;
        const size_t got = file.Read(fromFile.data(), count);
        ASSERT_EQ(got, memory.Read(fromMemory.data(), count)) << "round " << round;
        ASSERT_TRUE(
            std::equal(fromFile.begin(), fromFile.begin() + static_cast<ptrdiff_t>(got), fromMemory.begin()))
            << "round " << round;
        ASSERT_EQ(file.Position(), memory.Position()) << "round " << round;
    }
    EXPECT_EQ(file.Size(), 50'000);
}

// Writing appends at the end, overwrites before it, and fills a gap left by
// seeking past the end with zeros, whatever the size of each write.
TEST(MemoryStreamTest, WritesAppendOverwriteAndFillGapsAlike) {
    MemoryStream stream;
    const uint8_t bytes[12] = {1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12};
    stream.Write(bytes, 1);
    stream.Write(bytes + 1, 8);
    stream.Write(bytes + 9, 3);
    EXPECT_EQ(stream.Data(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 11, 12}));
    stream.Seek(10);
    stream.Write(bytes, 4); // over the last two and past them
    EXPECT_EQ(stream.Data(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2, 3, 4}));
    EXPECT_EQ(stream.Position(), 14);
    stream.Seek(16);
    stream.Write(bytes + 4, 1);
    EXPECT_EQ(stream.Data(), (std::vector<uint8_t>{1, 2, 3, 4, 5, 6, 7, 8, 9, 10, 1, 2, 3, 4, 0, 0, 5}));
    stream.Seek(0);
    stream.Write(bytes + 11, 1);
    EXPECT_EQ(stream.Data()[0], 12);
    EXPECT_EQ(stream.Size(), 17);
}
