#pragma once
// The data files of the build tree (VOREL_BIN_DIR), for the tests that run
// the real windows on them.

#include <string>

class FakePlatform;
class TempDir;

const std::string& RealBinDir();
bool RealDataBuilt();
// Points the program's paths at the build's program folder and at a data
// folder inside home, installs the shipped data there and registers the
// colouring room; false when the data could not be installed.
bool UseRealData(FakePlatform& desktop, const TempDir& home);
