#pragma once
// Where the colouring activity finds its artwork: the background image names,
// the object sheets (full and half size) and each object's rectangle on its
// full-size sheet. Map indices 0..7 are the backgrounds, 8..39 the objects
// (four banks of eight).

#include "foundation/Geometry.h"

#include <cstdint>
#include <string>

constexpr uint8_t BackgroundCount = 8;
constexpr uint8_t FirstObjectMapIndex = 8;
constexpr uint8_t MapIndexCount = 40;

// The picture and its chart are the size of a background.
constexpr int32_t PictureWidth = 376;
constexpr int32_t PictureHeight = 225;

// Reserved palette indices of the activity.
constexpr uint8_t BlankBackgroundColour = 217; // also the items' transparent colour
constexpr uint8_t BlankObjectColour = 255;
constexpr uint8_t SelectionColour = 125;
constexpr uint8_t OutlineInk = 40;
constexpr uint8_t EmptyIconColour = 62;

bool IsObjectMapIndex(int mapIndex);
// The object's rectangle on its full-size sheet; the index must be an object's.
TRect ObjectSourceRect(uint8_t mapIndex);
// The same rectangle on the half-size sheet: every coordinate halved.
TRect HalfSourceRect(const TRect& full);
// "vrlobjs" and the sheet digit of the object's bank, full or half size.
std::string ObjectSheetName(uint8_t mapIndex, bool half);
// "vrlbg" + (index + 1), with "m" for the blank variant.
std::string BackgroundImageName(uint8_t index, bool blank);
