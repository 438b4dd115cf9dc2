#pragma once
// Where the colouring room finds its objects, as the artwork rules use it: the core's table of the
// source rectangle of every object on its full-size sheet, by map index 8..39, and the sheet names.

#include "activity/ObjectTable.h"

#include <array>
#include <string>

struct ObjectPlace {
    int MapIndex;
    int Left, Top, Right, Bottom;
    int Width() const { return Right - Left; }
    int Height() const { return Bottom - Top; }
    // The half-size sheet holds the same rectangle with every coordinate halved, truncated.
    int HalfWidth() const { return Right / 2 - Left / 2; }
    int HalfHeight() const { return Bottom / 2 - Top / 2; }
};

namespace objects {
constexpr int FirstMapIndex = ::FirstObjectMapIndex;
constexpr int Count = ::MapIndexCount - ::FirstObjectMapIndex;
constexpr int BackgroundCount = ::BackgroundCount;
constexpr int PictureWidth = ::PictureWidth;
constexpr int PictureHeight = ::PictureHeight;

const std::array<ObjectPlace, Count>& Table();
const ObjectPlace& Place(int mapIndex);
// Bank 0..3: the full-size sheet "vrlobjs1", "2", "5", "6" and its half "vrlobjs4", "3", "8", "7".
std::string FullSheet(int bank);
std::string HalfSheet(int bank);
inline int BankOf(int mapIndex) {
    return (mapIndex - FirstMapIndex) / 8;
}
std::string BackgroundName(int index, bool blank);
} // namespace objects
