// vorel-tool obf: makes and reads the scrambled script container.

#include "ToolCommand.h"

#include "engine/ObfText.h"
#include "engine/ScriptWords.h"

#include <iostream>

namespace {
int Encode(const std::vector<std::string>& args) {
    std::vector<std::string> files;
    bool plain = false;
    for (const std::string& arg : args) {
        if (arg == "--plain")
            plain = true;
        else
            files.push_back(arg);
    }
    if (files.size() != 2) {
        std::cerr << "usage: vorel-tool obf encode [--plain] IN.txt OUT.dat\n";
        return 2;
    }
    // The script's own transform unless the text is to go in as it stands
    // (then lines are only trimmed and empty ones dropped).
    TObfText::MakeFile(files[0], files[1],
                       plain ? TObfText::LineFilter{} : TObfText::LineFilter(ConvertLine));
    return 0;
}

int Decode(const std::vector<std::string>& args) {
    if (args.size() != 1) {
        std::cerr << "usage: vorel-tool obf decode IN.dat\n";
        return 2;
    }
    if (!FileExists(args[0])) {
        std::cerr << "vorel-tool: cannot open \"" << args[0] << "\"\n";
        return 1;
    }
    TObfText text(args[0]);
    while (!text.AtEnd())
        std::cout << text.ReadLine() << "\n";
    return 0;
}

const ToolCommand encodeCommand("obf", "encode", "[--plain] IN.txt OUT.dat  (text to scrambled script)",
                                Encode);
const ToolCommand decodeCommand("obf", "decode", "IN.dat  (prints the lines of a scrambled script)", Decode);
} // namespace
