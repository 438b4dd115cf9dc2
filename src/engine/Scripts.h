#pragma once
// The start-up script: reads "pyx_init.dat" from the data folder (converting
// "pyx_init.txt" first when the text is newer) and builds the rooms with their
// hit boxes and frame sets in the world.
//
// Mistakes a line can contain are reported in a "Script Error" box and the
// line is skipped. What cannot be skipped safely passes on and ends the
// start-up: a rectangle that ExtractBounds refuses, a number that is not a
// whole number (or does not fit a frame set's 16-bit fields), and failures
// to convert or read the files.

#include "engine/RoomKinds.h"
#include "engine/ScriptWords.h"

#include <string>
#include <vector>

class Platform;
class TObfText;
class TRoom;
class TWorld;

constexpr const char* ScriptTextName = "pyx_init.txt";
constexpr const char* ScriptDataName = "pyx_init.dat";

// Converts and reads the script in DatPath; for TWorld::ScriptLoader.
void LoadScript(TWorld& world);
// Converts textPath into dataPath when the text is newer (or the data file
// is missing), then reads dataPath. A data file that is empty or cut short
// raises a KelException.
void LoadScriptFiles(TWorld& world, const std::string& textPath, const std::string& dataPath);
// Reads every line of an open script, letting the platform process pending
// messages after each. A record beginning with "+" continues the line before
// it (the converter split a long line there), so it is joined back.
void ReadScript(TWorld& world, TObfText& text);
// Whether the text form must be converted: it exists and is newer than the
// scrambled form, or the scrambled form's time cannot be read.
bool ScriptNeedsConversion(const std::string& textPath, const std::string& dataPath);

// Executes one line for the current room (nullptr before the first room) and
// returns the current room after it.
TRoom* ParseScriptLine(TWorld& world, const std::string& line, TRoom* room);

// "Script Error:", two line breaks and the message, in an error box with OK;
// while a ScriptErrorLog exists, the message goes into it instead.
void ScriptError(Platform& platform, const std::string& message);

// Gathers the errors of a whole script so that a damaged script is reported
// once rather than line by line. Logs nest; the newest one gathers.
class ScriptErrorLog {
public:
    ScriptErrorLog();
    ~ScriptErrorLog();
    ScriptErrorLog(const ScriptErrorLog&) = delete;
    ScriptErrorLog& operator=(const ScriptErrorLog&) = delete;

    // Each message with the number of the script line it belongs to.
    const std::vector<std::string>& Messages() const { return Gathered; }
    // Counted by ReadScript; the line the next message belongs to.
    int Line = 0;

private:
    friend void ScriptError(Platform& platform, const std::string& message);
    ScriptErrorLog* Outer;
    std::vector<std::string> Gathered;
};
