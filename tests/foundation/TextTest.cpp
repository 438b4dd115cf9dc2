#include "foundation/Text.h"
#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "foundation/ResStrings.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {
std::vector<std::string> ReadAllLines(const std::vector<uint8_t>& bytes, bool ansi) {
    MemoryStream stream(bytes);
    std::vector<std::string> lines;
    try {
        for (;;) {
            std::string line;
            ReadLine(stream, ansi, line);
            lines.push_back(line);
        }
    } catch (const SilentAbort&) {
    }
    return lines;
}
} // namespace

TEST(ReadLine, DropsControlCharactersAndEndsOnlyAtLineFeed) {
    EXPECT_EQ(ReadAllLines(Hex("41 42 0D 0A"), true), std::vector<std::string>{"AB"});
    EXPECT_EQ(ReadAllLines(Hex("41 09 42 0A"), true), std::vector<std::string>{"AB"});
    EXPECT_EQ(ReadAllLines(Hex("41 0D 42 0A 0A"), true), (std::vector<std::string>{"AB", ""}));
    EXPECT_EQ(ReadAllLines(Hex("7F 80 9F A0 FF 0A"), true), std::vector<std::string>{"\xC2\xA0\xC3\xBF"});
}

TEST(ReadLine, UnfinishedLastLineIsDroppedAtTheEnd) {
    EXPECT_TRUE(ReadAllLines(Hex("41 42"), true).empty());
    EXPECT_EQ(ReadAllLines(Hex("41 0A 42"), true), std::vector<std::string>{"A"});
}

TEST(ReadLine, WideVariantDropsUnitsAbove255) {
    EXPECT_EQ(ReadAllLines(Hex("41 00 01 04 42 00 E9 00 0A 00"), false),
              std::vector<std::string>{"AB\xC3\xA9"});
    // An odd trailing byte is not a whole unit: end of input.
    EXPECT_EQ(ReadAllLines(Hex("41 00 0A 00 42"), false), std::vector<std::string>{"A"});
}

TEST(ReadLine, LongLinesComeBackWhole) {
    std::string text(300, 'x');
    std::vector<uint8_t> bytes(text.begin(), text.end());
    bytes.push_back(10);
    EXPECT_EQ(ReadAllLines(bytes, true), std::vector<std::string>{text});
}

TEST(ExtractWord, SplitsAtTheFirstSpaceOnly) {
    std::string s = "GO  ROOM1";
    EXPECT_EQ(ExtractWord(s), "GO");
    EXPECT_EQ(s, "ROOM1");
    EXPECT_EQ(ExtractWord(s), "ROOM1");
    EXPECT_EQ(s, "");
    std::string tabbed = "A\tB C";
    EXPECT_EQ(ExtractWord(tabbed), "A\tB");
    std::string leading = " X";
    EXPECT_EQ(ExtractWord(leading), "");
    EXPECT_EQ(leading, "X");
}

TEST(ExtractWord, RestKeepsAtMost255Characters) {
    std::string s = "W " + std::string(300, 'r');
    ExtractWord(s);
    EXPECT_EQ(s.size(), 255u);
}

TEST(ExtractBounds, FourNumbersGiveLeftTopRightBottom) {
    std::string s = "10 20 30 40 rest";
    TRect r;
    ExtractBounds(s, r);
    EXPECT_EQ(r, (TRect{10, 20, 40, 60}));
    EXPECT_EQ(s, "rest");
    std::string hex = "$10 0x10 0 0";
    ExtractBounds(hex, r);
    EXPECT_EQ(r, (TRect{16, 16, 16, 16}));
}

TEST(ExtractBounds, RefusesNegativeSizesAndMissingNumbers) {
    for (std::string s : {"10 20 -1 5", "10 20 30", "10 20 x 40", "10 20 30 -4", "2147483647 0 2147483647 5",
                          "-2147483648 0 5 5", "0 0 40000 5"}) {
        TRect r;
        try {
            ExtractBounds(s, r);
            FAIL() << s;
        } catch (const KelException&) {
            FAIL() << "must not be a KelException";
        } catch (const std::runtime_error& e) {
            EXPECT_STREQ(e.what(), "ExtractBounds: invalid rectangle");
        }
    }
}

TEST(StrToInt, AcceptsSignsBlanksAndHexOnly) {
    EXPECT_EQ(StrToInt(" -12"), -12);
    EXPECT_EQ(StrToInt("+7"), 7);
    EXPECT_EQ(StrToInt("$FF"), 255);
    EXPECT_EQ(StrToInt("0xFFFFFFFF"), -1);
    EXPECT_EQ(StrToInt("2147483647"), 2147483647);
    EXPECT_EQ(StrToInt("-2147483648"), INT32_MIN);
    for (const char* bad : {"", "12a", "2147483648", "-", "0x", "1 2"})
        EXPECT_THROW(StrToInt(bad), std::runtime_error) << bad;
}

TEST(Text, TrimAndCase) {
    EXPECT_EQ(Trim("\t  a b \r\n"), "a b");
    EXPECT_EQ(TrimLeading("  a "), "a ");
    EXPECT_EQ(UpperCase("room1-\xC3\xA9"), "ROOM1-\xC3\xA9"); // only ASCII letters change
    EXPECT_EQ(LowerCase("VRLBG1M"), "vrlbg1m");
    EXPECT_TRUE(ContainsText("~", "BIRD~"));
    EXPECT_FALSE(ContainsText("bird", "BIRD"));
}

TEST(Text, FormatAndCodePages) {
    EXPECT_EQ(FormatText("GoRoom: exception A%d caught", 1), "GoRoom: exception A1 caught");
    EXPECT_EQ(FormatText(LoadResString(SMissingFile), "/x/vorel.zq5"),
              "Sorry! We cannot find the needed file \"/x/vorel.zq5\".");
    EXPECT_EQ(Utf8ToLatin1("\xC3\xA9\xE2\x82\xAC"), "\xE9?");
    EXPECT_EQ(Latin1ToUtf8("\xE9"), "\xC3\xA9");
    EXPECT_EQ(Utf16ToUtf8(std::u16string(1, char16_t(0xD800))), "\xEF\xBF\xBD");
    EXPECT_EQ(Utf8Left("\xC3\xA9t\xC3\xA9", 2), "\xC3\xA9t");
}

TEST(ResStrings, ExactTextsAndMissingIds) {
    EXPECT_EQ(LoadResString(SMonochrome), "\"This game\" cannot be played on a monochrome display.'");
    EXPECT_EQ(LoadResString(SNilPointer), "NIL pointer detected");
    EXPECT_EQ(LoadResString(1351), "Saved game is damaged.");
    EXPECT_EQ(LoadResString(1347), "");
}

TEST(Geometry, HalfOpenRectangles) {
    TRect r{1, 2, 4, 6};
    EXPECT_TRUE(PtInRect(r, {1, 2}));
    EXPECT_FALSE(PtInRect(r, {4, 2}));
    EXPECT_FALSE(PtInRect(r, {1, 6}));
    EXPECT_EQ(RectWidth(r), 3);
    EXPECT_EQ(RectHeight(r), 4);
    EXPECT_EQ(RectAddPt(r, {10, 20}), (TRect{11, 22, 14, 26}));
    EXPECT_EQ(RectSubPt(r, {1, 2}), (TRect{0, 0, 3, 4}));
    EXPECT_EQ(RectAtPt(r, {7, 7}), (TRect{7, 7, 10, 11}));
    EXPECT_EQ(PtSub(PtAdd({1, 2}, {3, 4}), {1, 1}), (TPoint{3, 5}));
    EXPECT_EQ(IntersectRect(r, {4, 0, 9, 9}), TRect{}); // touching edges do not overlap
    EXPECT_EQ(UnionRect(TRect{}, r), r);
}
