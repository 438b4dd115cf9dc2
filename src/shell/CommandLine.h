#pragma once
// The shell's own options, taken off the command line before the rest (the
// developer switch) goes to the core:
//   --scale N     show the block at scale N (1 = original size)
//   --export DIR  write the four pictures as PNG files into DIR and end
//   --help        print the usage and end
//   --version     print the version and end
// Any other word beginning with "-" is an error; a plain word (the developer
// switch) goes to the core.

#include <optional>
#include <string>
#include <vector>

struct ShellOptions {
    int Scale = 0; // 0: the largest that fits
    std::optional<std::string> ExportFolder;
    std::vector<std::string> CoreArguments;
    bool Help = false;
    bool Version = false;
    std::string Error; // a bad option, named
};

ShellOptions ParseShellOptions(const std::vector<std::string>& arguments);

// One line per option, for --help and after an error.
extern const char* const ShellUsage;
