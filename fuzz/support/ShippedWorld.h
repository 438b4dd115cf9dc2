#pragma once
// The shipped data for the fuzz drivers that need a whole world: copies of the
// library, the script and the region map kept with the corpora, installed once
// per process into a folder of its own (the data and saved-game folders point
// there), and a world over them with a platform that answers every question No.

#include "engine/World.h"
#include "support/FakePlatform.h"

#include <memory>
#include <string>

class TZQ5Library;

// A file of a corpus folder: fuzz/corpus/<corpus>/<name>.
std::string CorpusFile(const std::string& corpus, const std::string& name);

// Sets up the folders, the library and the room kinds on first use.
TZQ5Library& ShippedLibrary();

class FuzzWorld {
public:
    FuzzWorld();
    ~FuzzWorld();
    FuzzWorld(const FuzzWorld&) = delete;
    FuzzWorld& operator=(const FuzzWorld&) = delete;

    // Initialise with the given script loader (nullptr: the shipped script).
    void Initialise(std::function<void(TWorld&)> loader = nullptr);
    // Enters every room in turn, drawing each.
    void ShowEveryRoom();
    TWorld& Get() { return *World; }

private:
    FakePlatform Platform;
    FakeMainWindow Window;
    FakeDisplayTarget View;
    std::unique_ptr<TWorld> World;
};
