#pragma once
// The eleven pages of the instructions window.

#include <array>
#include <string_view>

constexpr int HelpPageCount = 12;
// Page 1..11.
std::string_view HelpPageText(int page);
