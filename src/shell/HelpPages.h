#pragma once
// The pages of the instructions window: ten for the child's parent to read
// aloud, and a last one saying where the grown-ups' menu is.

#include <array>
#include <string_view>

constexpr int HelpPageCount = 11;
// Page 1..11.
std::string_view HelpPageText(int page);
