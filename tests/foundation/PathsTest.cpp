#include "foundation/Paths.h"
#include "foundation/KelException.h"
#include "support/FakePlatform.h"

#include <gtest/gtest.h>

TEST(Paths, OrdinaryFoldersHangBelowTheProductFolder) {
    FakePlatform platform;
    platform.DataFolder = "/home/kid/.local/share";
    platform.ProgramDir = "/usr/lib/vorel";
    SetPaths(platform);
    EXPECT_EQ(CommonPath, "/home/kid/.local/share/");
    EXPECT_EQ(ProductPath, "/home/kid/.local/share/Tamblin Games/Vimo's Quilo Vorel/");
    EXPECT_EQ(ProgramPath, "/usr/lib/vorel/");
    EXPECT_EQ(GamePath, ProductPath);
    EXPECT_EQ(DatPath, ProductPath + "dat/");
}

TEST(Paths, OverrideIsUsedAsItStands) {
    FakePlatform platform;
    SetPaths(platform, "/tmp/product");
    EXPECT_EQ(ProductPath, "/tmp/product");
    EXPECT_EQ(DatPath, "/tmp/productdat/");
}

TEST(Paths, DeveloperSwitchNeedsBothTheTreeAndTheExactWord) {
    FakePlatform platform;
    platform.ProgramDir = "/work/Vorel/Build/Bin";
    platform.Args = {"mordanthe"};
    SetPaths(platform);
    EXPECT_EQ(GamePath, "/work/Vorel/Build/Bin/game/");
    EXPECT_EQ(DatPath, "/work/Vorel/Build/Bin/dat/");

    platform.Args = {"Mordanthe"};
    SetPaths(platform);
    EXPECT_EQ(GamePath, ProductPath);

    platform.ProgramDir = "/usr/bin";
    platform.Args = {"mordanthe"};
    SetPaths(platform);
    EXPECT_EQ(GamePath, ProductPath);
    EXPECT_EQ(DatPath, ProductPath + "dat/");
}

TEST(Paths, MissingDataFolderIsAnError) {
    FakePlatform platform;
    platform.DataFolder.reset();
    try {
        SetPaths(platform);
        FAIL();
    } catch (const KelException& e) {
        EXPECT_STREQ(e.what(), "SetPaths: Unable to get public documents path");
    }
}

TEST(Paths, EnsurePathsSetsOnlyOnceUnlessForced) {
    FakePlatform platform;
    platform.ProgramDir = "/first";
    EnsurePaths(platform, true);
    platform.ProgramDir = "/second";
    EnsurePaths(platform);
    EXPECT_EQ(ProgramPath, "/first/");
    EnsurePaths(platform, true);
    EXPECT_EQ(ProgramPath, "/second/");
}
