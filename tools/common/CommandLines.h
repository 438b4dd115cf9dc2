#pragma once
// Line-oriented text files of commands: each line's first word is the command, the rest its
// arguments; blank lines and lines whose first word starts with '#' are skipped.

#include <sstream>
#include <string>

// Calls handle(words, command, line, number) for every command line, with words positioned after
// the command and number counting from 1.
template <typename Handle> void ForEachCommandLine(const std::string& text, Handle&& handle) {
    std::istringstream lines(text);
    std::string line;
    int number = 0;
    while (std::getline(lines, line)) {
        ++number;
        std::istringstream words(line);
        std::string command;
        if (!(words >> command) || command[0] == '#') continue;
        handle(words, command, line, number);
    }
}
