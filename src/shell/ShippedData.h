#pragma once
// Installs the data files that ship with the program (the folder "dat"
// beside it) into the user's data folder: a file is copied when the user's
// copy is missing or older. Copies are written beside the target and renamed
// over it, so an interrupted copy never leaves a half-written file.

#include <string>
#include <vector>

struct ShippedDataResult {
    std::vector<std::string> Copied; // file names copied
    std::string Error;               // empty when everything that needed copying was copied
};

ShippedDataResult InstallShippedData(const std::string& shippedFolder, const std::string& datFolder);

// The folder of the read-only data that ships with the program. An installed
// program keeps it apart from the program (share/vorel beside bin), reached
// from the program's folder by fromProgram; the build tree keeps it beside the
// program. The installed folder counts only when it holds the image library,
// so a build tree is never mistaken for an installation. Both the program
// folder and the answer are without a trailing delimiter.
std::string ShippedDataFolder(const std::string& programFolder, const std::string& fromProgram);
