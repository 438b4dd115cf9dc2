#include "engine/ObfText.h"

#include "foundation/KelException.h"
#include "foundation/Text.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

#include <random>

namespace {
MemoryStream Source(const std::string& text) {
    return MemoryStream(std::vector<uint8_t>(text.begin(), text.end()));
}

std::vector<uint8_t> Plain(const std::string& text, const TObfText::LineFilter& filter = {}) {
    MemoryStream source = Source(text);
    return TObfText::MakePlain(source, filter);
}

std::vector<uint8_t> Scrambled(std::vector<uint8_t> bytes) {
    ObfScramble(bytes);
    return bytes;
}

// Every line of a container, up to its end.
std::vector<std::string> ReadAll(TObfText& text) {
    std::vector<std::string> lines;
    // A reader that never reaches its end would hang the loader; the guard
    // turns that fault into a failure.
    for (int guard = 0; !text.AtEnd() && guard < 1000000; ++guard)
        lines.push_back(text.ReadLine());
    EXPECT_TRUE(text.AtEnd());
    return lines;
}

std::vector<std::string> ReadPlain(const std::vector<uint8_t>& plain) {
    TObfText text(Scrambled(plain));
    return ReadAll(text);
}

// Lines of a container with continuation records joined back and the
// padding's empty records dropped.
std::vector<std::string> Joined(const std::vector<std::string>& records) {
    std::vector<std::string> lines;
    for (const std::string& record : records) {
        if (record.empty()) continue;
        if (record[0] == '+' && !lines.empty())
            lines.back() += " " + record.substr(1);
        else
            lines.push_back(record);
    }
    return lines;
}

size_t RecordCount(const std::vector<uint8_t>& plain) {
    size_t count = 0;
    for (size_t at = 0; at < plain.size(); at += plain[at] + 1)
        ++count;
    return count;
}
} // namespace

TEST(ObfContainer, ShortLinesGetLengthBytesAndPadding) {
    // A, an empty line (dropped without a filter) and BC: 5 bytes of records
    // and 3 zero bytes up to a multiple of 4.
    EXPECT_EQ(Plain("A\r\n\r\nBC\r\n"), Hex("01 41 02 42 43 00 00 00"));
}

TEST(ObfContainer, ExactMultipleStillGetsAWholeBlockOfPadding) {
    EXPECT_EQ(Plain("ABC\nDEF\n"), Hex("03 41 42 43 03 44 45 46 00 00 00 00"));
}

TEST(ObfContainer, WithoutFilterLinesAreTrimmedAndWithFilterNot) {
    EXPECT_EQ(Plain("  A \t\n"), Hex("01 41 00 00"));
    auto keepAll = [](std::string&) { return true; };
    EXPECT_EQ(Plain(" A \n\n", keepAll), Hex("03 20 41 20 00 00 00 00"));
    auto dropX = [](std::string& line) {
        line += "!";
        return line != "X!";
    };
    EXPECT_EQ(Plain("X\nY\n", dropX), Hex("02 59 21 00"));
}

TEST(ObfContainer, TextIsStoredInLatin1AndReadBackAsUtf8) {
    // The text form is in the 8-bit code page as well.
    EXPECT_EQ(Plain("caf\xE9\n"), Hex("04 63 61 66 E9 00 00 00"));
    EXPECT_EQ(ReadPlain(Hex("04 63 61 66 E9 00 00 00"))[0], "caf\xC3\xA9");
}

TEST(ObfContainer, UnfinishedLastLineIsDropped) {
    EXPECT_EQ(Plain("AB\nCD"), Hex("02 41 42 00"));
}

TEST(ObfContainer, LongLineSplitsAtLastSpace) {
    std::string line = std::string(199, 'a') + " " + std::string(100, 'b');
    std::vector<std::string> records = ReadPlain(Plain(line + "\n"));
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records[0], std::string(199, 'a'));
    EXPECT_EQ(records[1], "+" + std::string(100, 'b'));
}

TEST(ObfContainer, LongLineWithoutSpaceSplitsAfter254Characters) {
    std::string line(300, 'x');
    std::vector<std::string> records = ReadPlain(Plain(line + "\n"));
    ASSERT_GE(records.size(), 2u);
    EXPECT_EQ(records[0], std::string(254, 'x'));
    EXPECT_EQ(records[1], "+" + std::string(46, 'x'));
}

TEST(ObfContainer, NoRecordIsEverAStopMark) {
    // 254 characters fit one record; 255 would collide with the stop mark.
    std::vector<uint8_t> fits = Plain(std::string(254, 'y') + "\n");
    EXPECT_EQ(fits[0], 254);
    EXPECT_EQ(RecordCount(fits), 2u); // the line and one padding byte
    std::vector<uint8_t> split = Plain(std::string(255, 'y') + "\n");
    EXPECT_EQ(split[0], 254);
    EXPECT_EQ(split[255], 2);
    EXPECT_EQ(split[256], '+');
    // A space exactly at position 255 is the split point.
    std::vector<uint8_t> atSpace = Plain(std::string(254, 'y') + " z\n");
    EXPECT_EQ(atSpace[0], 254);
    EXPECT_EQ(atSpace[255], 2);
    EXPECT_EQ(atSpace[257], 'z');
}

TEST(ObfContainer, VeryLongLineBecomesManyContinuations) {
    std::string line(1000, 'q');
    std::vector<std::string> records = Joined(ReadPlain(Plain(line + "\n")));
    ASSERT_EQ(records.size(), 1u);
    // Every split without a space inserted one, which Joined turns back.
    std::string expected = line;
    // The continuations hold "+" and 253 characters each.
    for (size_t at = 254; at < expected.size(); at += 254)
        expected.insert(at, " ");
    EXPECT_EQ(records[0], expected);
}

TEST(ObfScrambling, ScramblesBlockByBlock) {
    // Blocks of 2: 01 41 | 02 42 | 43 00 | 00 00. Each block takes its
    // plain successor, the last takes the scrambled first block.
    EXPECT_EQ(Scrambled(Hex("01 41 02 42 43 00 00 00")), Hex("03 03 41 42 43 00 03 03"));
}

TEST(ObfScrambling, BlockCountGrowsBeyond261120Bytes) {
    EXPECT_EQ(ObfBlockCount(0), 4u);
    EXPECT_EQ(ObfBlockCount(261120), 4u);
    EXPECT_EQ(ObfBlockCount(261121), 4u); // 261121 div 4 is still 65280
    EXPECT_EQ(ObfBlockCount(261124), 5u);
    EXPECT_EQ(ObfBlockCount(326404), 5u);
    EXPECT_EQ(ObfBlockCount(326405), 6u);
}

TEST(ObfScrambling, RoundTripsEveryWholeSize) {
    std::mt19937 random(7);
    std::vector<size_t> sizes = {4, 8, 12, 400, 4096, 261120, 261125, 326400, 326406, 400001};
    for (size_t size = 1; size < 64; ++size)
        sizes.push_back(size * 4);
    for (size_t size : sizes) {
        std::vector<uint8_t> plain(size);
        for (uint8_t& byte : plain)
            byte = static_cast<uint8_t>(random());
        ASSERT_EQ(size % ObfBlockCount(size), 0u) << size;
        std::vector<uint8_t> bytes = Scrambled(plain);
        if (size >= 8) {
            EXPECT_NE(bytes, plain) << size;
        }
        ASSERT_TRUE(ObfUnscramble(bytes)) << size;
        EXPECT_EQ(bytes, plain) << size;
    }
}

TEST(ObfScrambling, SizeThatIsNoMultipleIsReadAsLoaded) {
    std::vector<uint8_t> bytes = Hex("02 41 42 01 43");
    std::vector<uint8_t> copy = bytes;
    EXPECT_FALSE(ObfUnscramble(copy));
    EXPECT_EQ(copy, bytes);
    TObfText text(bytes);
    EXPECT_EQ(ReadAll(text), (std::vector<std::string>{"AB", "C"}));
    // Scrambling leaves the bytes after the last whole block alone.
    std::vector<uint8_t> odd = Hex("01 02 03 04 05 06");
    ObfScramble(odd);
    EXPECT_EQ(odd[4], 5);
    EXPECT_EQ(odd[5], 6);
}

TEST(ObfReader, ReadsRecordsThenPaddingThenEnds) {
    TObfText text(Hex("03 03 41 42 43 00 03 03"));
    EXPECT_FALSE(text.AtEnd());
    EXPECT_EQ(ReadAll(text), (std::vector<std::string>{"A", "BC", "", "", ""}));
    EXPECT_EQ(text.ReadLine(), "");
}

TEST(ObfReader, StopMarkEndsTheText) {
    TObfText first(Scrambled(Hex("FF 41 00 00")));
    EXPECT_FALSE(first.AtEnd());
    EXPECT_EQ(first.ReadLine(), "");
    EXPECT_TRUE(first.AtEnd());
    EXPECT_EQ(first.ReadLine(), "");

    TObfText middle(Scrambled(Hex("01 41 FF 01 42 00 00 00")));
    EXPECT_EQ(ReadAll(middle), (std::vector<std::string>{"A", ""}));
}

TEST(ObfReader, RecordRunningPastTheEndGivesWhatIsThere) {
    TObfText text(Scrambled(Hex("05 41 42 43")));
    std::string line = text.ReadLine();
    EXPECT_EQ(line, "ABC");
    EXPECT_TRUE(text.AtEnd());
}

TEST(ObfReader, EmptyContainerIsAtEndAtOnce) {
    TObfText text(std::vector<uint8_t>{});
    EXPECT_TRUE(text.AtEnd());
    EXPECT_EQ(text.ReadLine(), "");
}

TEST(ObfFile, MakeFileWritesTheScrambledContainer) {
    TempDir dir;
    dir.Write("in.txt", "A\n\nBC\n");
    TObfText::MakeFile(dir.File("in.txt"), dir.File("out.dat"));
    EXPECT_EQ(dir.Read("out.dat"), Hex("03 03 41 42 43 00 03 03"));
    TObfText text(dir.File("out.dat"));
    EXPECT_EQ(Joined(ReadAll(text)), (std::vector<std::string>{"A", "BC"}));
}

TEST(ObfFile, MakeFileOverwritesAnOlderContainer) {
    TempDir dir;
    dir.Write("in.txt", "X\n");
    dir.Write("out.dat", std::string(100, 'z'));
    TObfText::MakeFile(dir.File("in.txt"), dir.File("out.dat"));
    EXPECT_EQ(dir.Read("out.dat").size(), 4u);
}

TEST(ObfFile, MissingFileReadsAsEmpty) {
    TempDir dir;
    TObfText text(dir.File("none.dat"));
    EXPECT_TRUE(text.AtEnd());
    EXPECT_EQ(text.ReadLine(), "");
}

TEST(ObfFile, MakeFileRefusesMissingSourceOrUnwritableDestination) {
    TempDir dir;
    EXPECT_THROW(TObfText::MakeFile(dir.File("none.txt"), dir.File("out.dat")), FileOpenError);
    EXPECT_FALSE(FileExists(dir.File("out.dat")));
    dir.Write("in.txt", "A\n");
    EXPECT_THROW(TObfText::MakeFile(dir.File("in.txt"), dir.File("no/such/folder/out.dat")), FileOpenError);
}

TEST(ObfFile, RandomTextsRoundTripAtManySizes) {
    std::mt19937 random(11);
    TempDir dir;
    for (int round = 0; round < 60; ++round) {
        std::string text;
        std::vector<std::string> expected;
        int lineCount = static_cast<int>(random() % 40);
        for (int i = 0; i < lineCount; ++i) {
            size_t length = random() % (round % 5 == 0 ? 700 : 120);
            std::string line;
            for (size_t k = 0; k < length; ++k) {
                unsigned pick = random() % 20;
                line += pick == 0 ? ' ' : pick == 1 ? '+' : static_cast<char>('a' + random() % 26);
            }
            if (random() % 8 == 0) line += "\xFC"; // a Latin-1 letter
            text += line + (random() % 2 ? "\r\n" : "\n");
            std::string trimmed = Latin1ToUtf8(Trim(line));
            if (!trimmed.empty()) expected.push_back(trimmed);
        }
        dir.Write("in.txt", text);
        TObfText::MakeFile(dir.File("in.txt"), dir.File("out.dat"));
        std::vector<uint8_t> bytes = dir.Read("out.dat");
        ASSERT_EQ(bytes.size() % 4, 0u);
        TObfText reader(dir.File("out.dat"));
        std::vector<std::string> records = ReadAll(reader);
        // Records hold at most 254 characters, and the line contents come
        // back; a line that itself begins with "+" is the one ambiguity of
        // the format, so such lines are compared by their records instead.
        for (const std::string& record : records)
            EXPECT_LE(Utf8ToLatin1(record).size(), ObfMaxRecord);
        bool ambiguous = false;
        for (const std::string& line : expected)
            ambiguous |= line[0] == '+';
        if (!ambiguous) {
            EXPECT_EQ(Joined(records), expected) << "round " << round;
        }
    }
}

TEST(ObfFile, PaddingAcrossTheBlockCountLimitStaysReadable) {
    // 1024 records of 254 characters fill exactly 261,120 bytes; the padding
    // lifts the file into five blocks, and it is padded to a multiple of five.
    std::string line(254, 'm');
    std::string text;
    for (int i = 0; i < 1024; ++i)
        text += line + "\n";
    std::vector<uint8_t> plain = Plain(text);
    EXPECT_EQ(plain.size(), 261125u);
    EXPECT_EQ(ObfBlockCount(plain.size()), 5u);
    std::vector<std::string> records = ReadPlain(plain);
    ASSERT_EQ(records.size(), 1024u + 5u);
    EXPECT_EQ(records[1023], line);
    EXPECT_EQ(records[1024], "");
}
