// vorel-tool: inspects and makes the data files of the toy.

#include "ToolCommand.h"

#include <exception>
#include <iostream>

namespace {
std::vector<const ToolCommand*>& Registry() {
    static std::vector<const ToolCommand*> commands;
    return commands;
}

int Usage() {
    std::cerr << "usage:\n";
    for (const ToolCommand* command : ToolCommands())
        std::cerr << "  vorel-tool " << command->Group << " " << command->Name << " " << command->Usage
                  << "\n";
    return 2;
}
} // namespace

ToolCommand::ToolCommand(std::string group, std::string name, std::string usage, Handler handler)
    : Group(std::move(group)), Name(std::move(name)), Usage(std::move(usage)), Run(std::move(handler)) {
    Registry().push_back(this);
}

const std::vector<const ToolCommand*>& ToolCommands() {
    return Registry();
}

int main(int argc, char** argv) {
    std::vector<std::string> args(argv + 1, argv + argc);
    if (args.size() < 2) return Usage();
    for (const ToolCommand* command : ToolCommands()) {
        if (command->Group != args[0] || command->Name != args[1]) continue;
        try {
            return command->Run(std::vector<std::string>(args.begin() + 2, args.end()));
        } catch (const std::exception& error) {
            std::cerr << "vorel-tool: " << error.what() << "\n";
            return 1;
        }
    }
    return Usage();
}
