#include "shell/CommandLine.h"

#include <gtest/gtest.h>

TEST(CommandLineTest, ShellOptionsAreTakenOffAndTheRestGoesToTheCore) {
    ShellOptions o = ParseShellOptions({"--scale", "3", "mordanthe", "--export", "/tmp/x"});
    EXPECT_TRUE(o.Error.empty());
    EXPECT_EQ(o.Scale, 3);
    ASSERT_TRUE(o.ExportFolder);
    EXPECT_EQ(*o.ExportFolder, "/tmp/x");
    EXPECT_EQ(o.CoreArguments, std::vector<std::string>{"mordanthe"});
}

TEST(CommandLineTest, NoOptionsMeansLargestScaleAndWindow) {
    ShellOptions o = ParseShellOptions({});
    EXPECT_EQ(o.Scale, 0);
    EXPECT_FALSE(o.ExportFolder);
    EXPECT_TRUE(o.CoreArguments.empty());
}

TEST(CommandLineTest, BadValuesAreNamed) {
    for (auto args : std::vector<std::vector<std::string>>{
             {"--scale"}, {"--scale", "0"}, {"--scale", "2x"}, {"--scale", "-1"}, {"--scale", "99"}}) {
        ShellOptions o = ParseShellOptions(args);
        EXPECT_NE(o.Error.find("--scale"), std::string::npos) << args.size();
    }
    EXPECT_NE(ParseShellOptions({"--export"}).Error.find("--export"), std::string::npos);
    EXPECT_NE(ParseShellOptions({"--export", ""}).Error.find("--export"), std::string::npos);
}

TEST(CommandLineTest, HelpAndVersionAreFlagsAndUnknownOptionsAreNamed) {
    ShellOptions help = ParseShellOptions({"--help"});
    EXPECT_TRUE(help.Help);
    EXPECT_TRUE(help.Error.empty());
    EXPECT_TRUE(ParseShellOptions({"--scale", "2", "--version"}).Version);

    for (std::string bad : {"--frobnicate", "-x", "--Scale"}) {
        ShellOptions o = ParseShellOptions({"mordanthe", bad});
        EXPECT_NE(o.Error.find(bad), std::string::npos) << bad;
        EXPECT_TRUE(o.CoreArguments.size() <= 1) << "an unknown option must not reach the core";
    }
    // A plain word is the developer switch, not an option.
    EXPECT_TRUE(ParseShellOptions({"mordanthe"}).Error.empty());
}
