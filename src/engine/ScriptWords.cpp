#include "engine/ScriptWords.h"

#include "engine/HitBox.h"
#include "foundation/KelException.h"
#include "foundation/Text.h"

#include <array>
#include <utility>

namespace {
// Every entry is " FULL_SHORT"; the closing space ends the last one.
constexpr std::string_view Abbreviations =
    " HITBOX_HBX INFORMONENTRY_IOE HITACTION_HACT HITCURSOR_HCUR FRAMESET_FS ";

constexpr std::array<std::pair<std::string_view, CursorKind>, 8> CursorKeywords = {{
    {"NONE", ckNone},
    {"DEFAULT", ckDefault},
    {"ACTION", ckAction},
    {"EXAMINE", ckExamine},
    {"TAKE", ckTake},
    {"BRUSH", ckBrush},
    {"DYNAMIC1", ckDynamic1},
    {"DYNAMIC2", ckDynamic2},
}};
} // namespace

std::string ExpandCommand(const std::string& word) {
    const size_t at = Abbreviations.find("_" + word + " ");
    if (at == std::string_view::npos) return word;
    const std::string_view before = Abbreviations.substr(0, at);
    return std::string(before.substr(before.rfind(' ') + 1));
}

std::string ShortenCommand(const std::string& word) {
    const std::string upper = UpperCase(word);
    const size_t at = Abbreviations.find(" " + upper + "_");
    if (at == std::string_view::npos) return upper;
    const size_t start = at + upper.size() + 2;
    return std::string(Abbreviations.substr(start, Abbreviations.find(' ', start) - start));
}

bool ConvertLine(std::string& line) {
    std::string rest = Trim(line);
    const std::string word = ExtractWord(rest);
    line = ShortenCommand(word);
    if (!rest.empty()) line += " " + rest;
    return !line.empty();
}

CursorKind CursorKeyword(const std::string& word) {
    const std::string upper = UpperCase(word);
    for (const auto& [keyword, kind] : CursorKeywords)
        if (upper == keyword) return kind;
    throw StdException("Invalid cursor keyword");
}
