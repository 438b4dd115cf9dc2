#pragma once
// The program's numbered message strings.

#include <cstdint>
#include <string>

enum : uint16_t {
    SMonochrome = 1024,
    SSixteenColours = 1025,
    SInvalidImageData = 1345,
    SUnknownScript = 1346,
    SReallyQuit = 1348,
    SMissingFile = 1349,
    SNilPointer = 1350,
    SSavedGameDamaged = 1351,
    SAbandonGame = 1352,
};

// The string with that number (at most 511 characters), or "" when there is none.
std::string LoadResString(uint16_t id);
