#include "ObjectTable.h"

namespace objects {
const std::array<ObjectPlace, Count>& Table() {
    static const std::array<ObjectPlace, Count> table = {{
        {8, 168, 131, 261, 260},  {9, 174, 0, 267, 131},    {10, 0, 304, 138, 425},
        {11, 76, 0, 174, 94},     {12, 0, 0, 76, 98},       {13, 138, 323, 271, 391},
        {14, 168, 260, 259, 323}, {15, 0, 98, 168, 304},    {16, 0, 214, 212, 395},
        {17, 212, 259, 257, 304}, {18, 0, 395, 175, 507},   {19, 175, 395, 327, 493},
        {20, 212, 203, 324, 259}, {21, 0, 80, 159, 214},    {22, 0, 0, 142, 80},
        {23, 159, 0, 316, 203},   {24, 154, 0, 298, 144},   {25, 154, 266, 271, 316},
        {26, 0, 0, 154, 152},     {27, 0, 152, 226, 265},   {28, 0, 266, 154, 344},
        {29, 0, 344, 135, 385},   {30, 226, 144, 296, 257}, {31, 154, 316, 199, 361},
        {32, 150, 0, 215, 65},    {33, 150, 66, 222, 120},  {34, 54, 158, 185, 333},
        {35, 0, 158, 53, 350},    {36, 0, 392, 160, 436},   {37, 54, 334, 223, 392},
        {38, 160, 392, 216, 458}, {39, 0, 0, 149, 158},
    }};
    return table;
}

const ObjectPlace& Place(int mapIndex) {
    return Table()[static_cast<std::size_t>(mapIndex - FirstMapIndex)];
}

std::string FullSheet(int bank) {
    return std::string("vrlobjs") + "1256"[bank];
}
std::string HalfSheet(int bank) {
    return std::string("vrlobjs") + "4387"[bank];
}

std::string BackgroundName(int index, bool blank) {
    return "vrlbg" + std::to_string(index + 1) + (blank ? "m" : "");
}
} // namespace objects
