#pragma once
// The commands of vorel-tool. A command file defines a static ToolCommand
// object, which registers itself.

#include <functional>
#include <string>
#include <vector>

struct ToolCommand {
    using Handler = std::function<int(const std::vector<std::string>& args)>;
    // group and name as typed: "zq5" "info"; usage is one line of help.
    ToolCommand(std::string group, std::string name, std::string usage, Handler handler);

    std::string Group;
    std::string Name;
    std::string Usage;
    Handler Run;
};

const std::vector<const ToolCommand*>& ToolCommands();
