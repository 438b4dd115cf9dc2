#include "shell/CommandLine.h"

#include <charconv>

namespace {
bool ParseScale(const std::string& text, int& scale) {
    int value = 0;
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), value);
    if (error != std::errc() || end != text.data() + text.size() || value < 1 || value > 16) return false;
    scale = value;
    return true;
}
} // namespace

const char* const ShellUsage = "Usage: vorel [--scale N] [--export FOLDER] [--help] [--version] [developer switch]\n"
                               "  --scale N        show the toy at N times its size (1 to 16)\n"
                               "  --export FOLDER  write the four pictures as PNG files, without a window\n"
                               "  --help           print this text and end\n"
                               "  --version        print the version and end\n";

ShellOptions ParseShellOptions(const std::vector<std::string>& arguments) {
    ShellOptions options;
    for (size_t i = 0; i < arguments.size(); ++i) {
        const std::string& a = arguments[i];
        bool hasValue = i + 1 < arguments.size();
        if (a == "--scale") {
            if (!hasValue || !ParseScale(arguments[++i], options.Scale)) {
                options.Error = "--scale needs a whole number from 1 to 16";
                return options;
            }
        } else if (a == "--export") {
            if (!hasValue || arguments[i + 1].empty()) {
                options.Error = "--export needs a folder";
                return options;
            }
            options.ExportFolder = arguments[++i];
        } else if (a == "--help" || a == "-h") {
            options.Help = true;
        } else if (a == "--version") {
            options.Version = true;
        } else if (a.size() > 1 && a[0] == '-') {
            options.Error = "unknown option " + a;
            return options;
        } else {
            options.CoreArguments.push_back(a);
        }
    }
    return options;
}
