#pragma once
// The program's folders, set once at start-up and only read afterwards.
// Every folder ends with a path delimiter.

#include <optional>
#include <string>
#include <vector>

extern std::string ProgramPath; // the folder of the shipped data (of the program in a build tree)
extern std::string CommonPath;  // the per-user application-data folder
extern std::string ProductPath; // the product's own folder below CommonPath
extern std::string GamePath;    // the saved games
extern std::string DatPath;     // the script and the region map

// The first argument that, for a program inside a build tree, puts the game
// and data folders beside the program.
extern const char* const DeveloperSwitch;
// Part of the lower-cased program folder that marks a build tree.
extern const char* const DeveloperTreeFragment;

// What the desktop tells about the running program, handed in by the caller
// that knows the platform.
struct PathFacts {
    // The per-user application-data folder, or nothing when it is unknown.
    std::optional<std::string> CommonDataFolder;
    std::string ProgramFolder;
    // The command-line arguments after the program's own name.
    std::vector<std::string> Arguments;
};

// Computes all five folders; an override, when given, is ProductPath as it
// stands. Raises KelException when the desktop gives no data folder.
void SetPaths(const PathFacts& facts, const std::string& productOverride = "");
// SetPaths unless the folders are already set (or force is given).
void EnsurePaths(const PathFacts& facts, bool force = false, const std::string& productOverride = "");

// The folder with a trailing delimiter.
std::string IncludeTrailingDelimiter(const std::string& folder);
