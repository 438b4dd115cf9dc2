#include "engine/ScriptWords.h"

#include "foundation/KelException.h"

#include <gtest/gtest.h>

TEST(ScriptWords, ShortFormsExpandAndEverythingElseStays) {
    EXPECT_EQ(ExpandCommand("HBX"), "HITBOX");
    EXPECT_EQ(ExpandCommand("IOE"), "INFORMONENTRY");
    EXPECT_EQ(ExpandCommand("HACT"), "HITACTION");
    EXPECT_EQ(ExpandCommand("HCUR"), "HITCURSOR");
    EXPECT_EQ(ExpandCommand("FS"), "FRAMESET");
    EXPECT_EQ(ExpandCommand("HITBOX"), "HITBOX");
    EXPECT_EQ(ExpandCommand("hbx"), "hbx"); // letter case counts
    EXPECT_EQ(ExpandCommand("BX"), "BX");   // not a part of a short form
    EXPECT_EQ(ExpandCommand(""), "");
    EXPECT_EQ(ExpandCommand("HITBOX_HBX"), "HITBOX_HBX");
}

TEST(ScriptWords, FullCommandsShortenInAnyCase) {
    EXPECT_EQ(ShortenCommand("hitbox"), "HBX");
    EXPECT_EQ(ShortenCommand("InformOnEntry"), "IOE");
    EXPECT_EQ(ShortenCommand("HITACTION"), "HACT");
    EXPECT_EQ(ShortenCommand("hitcursor"), "HCUR");
    EXPECT_EQ(ShortenCommand("frameset"), "FS");
    EXPECT_EQ(ShortenCommand("gobox"), "GOBOX");
    EXPECT_EQ(ShortenCommand("HIT"), "HIT"); // the start of a command is no command
    EXPECT_EQ(ShortenCommand(""), "");
    for (const char* full : {"HITBOX", "INFORMONENTRY", "HITACTION", "HITCURSOR", "FRAMESET"})
        EXPECT_EQ(ExpandCommand(ShortenCommand(full)), full);
}

TEST(ScriptWords, ConvertLineUpperCasesAndShortensTheCommandOnly) {
    struct Case {
        const char* In;
        const char* Out;
    };
    const Case cases[] = {
        {"hitbox go door 1 2 3 4", "HBX go door 1 2 3 4"},
        {" \tgobox  b 0 0 10 10 hall \r", "GOBOX b 0 0 10 10 hall"},
        {"# a comment", "# a comment"},
        {"trap", "TRAP"},
    };
    for (const Case& c : cases) {
        std::string line = c.In;
        EXPECT_TRUE(ConvertLine(line)) << c.In;
        EXPECT_EQ(line, c.Out);
    }
    std::string blank = " \t ";
    EXPECT_FALSE(ConvertLine(blank));
    EXPECT_EQ(blank, "");
}

TEST(ScriptWords, CursorKeywordsInAnyCase) {
    EXPECT_EQ(CursorKeyword("NONE"), -1);
    EXPECT_EQ(CursorKeyword("default"), 0);
    EXPECT_EQ(CursorKeyword("Action"), 1);
    EXPECT_EQ(CursorKeyword("EXAMINE"), 2);
    EXPECT_EQ(CursorKeyword("take"), 3);
    EXPECT_EQ(CursorKeyword("BRUSH"), 4);
    EXPECT_EQ(CursorKeyword("dynamic1"), 100);
    EXPECT_EQ(CursorKeyword("DYNAMIC2"), 101);
}

TEST(ScriptWords, UnknownCursorKeywordRaises) {
    for (const char* bad : {"ACTION EXTRA", "", "LINK", "5", " ACTION"}) {
        try {
            CursorKeyword(bad);
            ADD_FAILURE() << bad;
        } catch (const StdException& error) {
            EXPECT_STREQ(error.what(), "Invalid cursor keyword");
        }
    }
}
