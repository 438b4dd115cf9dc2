#include "foundation/ResStrings.h"

#include <utility>

namespace {
const std::pair<uint16_t, const char*> Strings[] = {
    {SMonochrome, "\"This game\" cannot be played on a monochrome display.'"},
    {SSixteenColours, "\"This game\" is designed for a minimum 256-color display. You are running a 16-color "
                      "display. This will "
                      "adversely affect the appearance of the graphics used in the game. Continue anyway?"},
    {SInvalidImageData, "Display: invalid ImageData"},
    {SUnknownScript, "Caught an attempt to run an unknown script called \"%s\""},
    {SReallyQuit, "Do you really want to quit the game?"},
    {SMissingFile, "Sorry! We cannot find the needed file \"%s\"."},
    {SNilPointer, "NIL pointer detected"},
    {SSavedGameDamaged, "Saved game is damaged."},
    {SAbandonGame,
     "Your current game has not been saved. Do you really wish to abandon it and load in the selected game?"},
};
} // namespace

std::string LoadResString(uint16_t id) {
    for (const auto& [number, text] : Strings)
        if (number == id) return std::string(text).substr(0, 511);
    return {};
}
