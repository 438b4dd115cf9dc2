#include "activity/ObjectTable.h"

#include <array>

namespace {
// Left, top, right, bottom on the full-size sheet, for map indices 8..39.
constexpr std::array<TRect, 32> SourceRects{{
    {168, 131, 261, 260}, {174, 0, 267, 131},   {0, 304, 138, 425},   {76, 0, 174, 94},
    {0, 0, 76, 98},       {138, 323, 271, 391}, {168, 260, 259, 323}, {0, 98, 168, 304},
    {0, 214, 212, 395},   {212, 259, 257, 304}, {0, 395, 175, 507},   {175, 395, 327, 493},
    {212, 203, 324, 259}, {0, 80, 159, 214},    {0, 0, 142, 80},      {159, 0, 316, 203},
    {154, 0, 298, 144},   {154, 266, 271, 316}, {0, 0, 154, 152},     {0, 152, 226, 265},
    {0, 266, 154, 344},   {0, 344, 135, 385},   {226, 144, 296, 257}, {154, 316, 199, 361},
    {150, 0, 215, 65},    {150, 66, 222, 120},  {54, 158, 185, 333},  {0, 158, 53, 350},
    {0, 392, 160, 436},   {54, 334, 223, 392},  {160, 392, 216, 458}, {0, 0, 149, 158},
}};

// Sheet digits by bank: the full-size sheets and their half-size partners.
constexpr std::array<char, 4> FullSheetDigits{'1', '2', '5', '6'};
constexpr std::array<char, 4> HalfSheetDigits{'4', '3', '8', '7'};
} // namespace

bool IsObjectMapIndex(int mapIndex) {
    return mapIndex >= FirstObjectMapIndex && mapIndex < MapIndexCount;
}

TRect ObjectSourceRect(uint8_t mapIndex) {
    return SourceRects.at(mapIndex - FirstObjectMapIndex);
}

TRect HalfSourceRect(const TRect& full) {
    return {full.Left / 2, full.Top / 2, full.Right / 2, full.Bottom / 2};
}

std::string ObjectSheetName(uint8_t mapIndex, bool half) {
    size_t bank = static_cast<size_t>((mapIndex - FirstObjectMapIndex) / 8);
    return std::string("vrlobjs") + (half ? HalfSheetDigits : FullSheetDigits).at(bank);
}

std::string BackgroundImageName(uint8_t index, bool blank) {
    return "vrlbg" + std::to_string(index + 1) + (blank ? "m" : "");
}
