#pragma once
// Text helpers. Strings are UTF-8 inside the program; the 8-bit code page of
// the stored formats is ISO 8859-1, converted at the edges.

#include "foundation/Geometry.h"

#include <cstdint>
#include <string>
#include <string_view>

class ByteStream;

// Characters with a code of 32 or less count as blanks.
std::string TrimLeading(std::string_view s);
std::string TrimTrailing(std::string_view s);
std::string Trim(std::string_view s);
bool ContainsText(std::string_view sub, std::string_view s);
// Only the ASCII letters change case; everything else stays as it is.
std::string UpperCase(std::string_view s);
std::string LowerCase(std::string_view s);
bool StartsWith(std::string_view s, std::string_view prefix);
bool EndsWith(std::string_view s, std::string_view suffix);

// Splits off the first word at the first space. The rest is trimmed at the
// front and keeps at most 255 characters. A tab does not separate words.
void ExtractWord(std::string& s, std::string& word);
std::string ExtractWord(std::string& s);

// Reads Left, Top, Width, Height as four words into r's four fields.
// Raises std::runtime_error "ExtractBounds: invalid rectangle" on a word that
// is not a number, on a negative width or height, or on a value beyond
// FileCoordinateLimit.
void ExtractRect(std::string& s, TRect& r);
// As ExtractRect, then Right = Left + Width and Bottom = Top + Height.
void ExtractBounds(std::string& s, TRect& r);

// Whole-number conversion: leading blanks, a sign and hexadecimal written with
// "$" or "0x" are accepted. Raises std::runtime_error naming the text otherwise.
int32_t StrToInt(std::string_view s);
bool TryStrToInt(std::string_view s, int32_t& value);

// Reads one line; see the .cpp for the filtering rules. At the end of the
// stream it raises SilentAbort and drops an unfinished last line. Lines are
// returned whole, however long.
void ReadLine(ByteStream& stream, bool ansi, std::string& line);

// Replaces the first "%s" (or "%d") of a format with the value.
std::string FormatText(std::string_view format, std::string_view value);
std::string FormatText(std::string_view format, int64_t value);

// Code-page conversions of the stored formats.
std::string Latin1ToUtf8(std::string_view bytes);
std::string Utf8ToLatin1(std::string_view text); // characters above 255 become '?'
std::u16string Utf8ToUtf16(std::string_view text);
std::string Utf16ToUtf8(std::u16string_view text); // unpaired surrogates become U+FFFD
// The first n characters (code points) of a UTF-8 text.
std::string Utf8Left(std::string_view text, size_t n);
