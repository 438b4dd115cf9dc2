#pragma once
// The words of the start-up script: command abbreviations, the per-line
// transform of the converter and the cursor keywords.

#include "platform/Platform.h"

#include <string>

// The short form of a command to its full command ("HBX" to "HITBOX");
// any other word comes back unchanged, letter case included.
std::string ExpandCommand(const std::string& word);
// A full command to its short form, upper-cased ("hitbox" to "HBX"); any
// other word comes back upper-cased.
std::string ShortenCommand(const std::string& word);
// Trims the line, upper-cases and shortens its first word; false for a line
// that is empty, which the converter then drops.
bool ConvertLine(std::string& line);
// "NONE", "DEFAULT", "ACTION", ... in any letter case to their cursor kind.
// Raises StdException "Invalid cursor keyword" for any other text.
CursorKind CursorKeyword(const std::string& word);
