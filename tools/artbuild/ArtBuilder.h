#pragma once
// Builds all data of the toy from the art folder: the library images with their checks, the
// region map, the script and its scrambled form, the cursors and pictures of the program, and
// the review sheet. The library file and the scrambled script are written by vorel-tool.

#include <string>

struct BuildPaths {
    std::string ArtDir;   // sources
    std::string BuildDir; // bin/vorel.zq5, bin/dat/..., art/...
    std::string Tool;     // vorel-tool
};

class ArtBuilder {
public:
    explicit ArtBuilder(BuildPaths paths);
    // Raises ArtError on the first rule broken.
    void Run();

private:
    BuildPaths Paths;
};
