#pragma once
// The ten pages of the instructions window.

#include <array>
#include <string_view>

constexpr int HelpPageCount = 10;
// Page 1..10.
std::string_view HelpPageText(int page);
