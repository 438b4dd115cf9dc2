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
        } else {
            options.CoreArguments.push_back(a);
        }
    }
    return options;
}
