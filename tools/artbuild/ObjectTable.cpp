#include "ObjectTable.h"

#include "activity/ObjectTable.h"

namespace objects {
const std::array<ObjectPlace, Count>& Table() {
    static const std::array<ObjectPlace, Count> table = [] {
        std::array<ObjectPlace, Count> places{};
        for (int i = 0; i < Count; ++i) {
            const int mapIndex = FirstMapIndex + i;
            const TRect r = ObjectSourceRect(static_cast<uint8_t>(mapIndex));
            places[static_cast<std::size_t>(i)] = {mapIndex, r.Left, r.Top, r.Right, r.Bottom};
        }
        return places;
    }();
    return table;
}

const ObjectPlace& Place(int mapIndex) {
    return Table()[static_cast<std::size_t>(mapIndex - FirstMapIndex)];
}

std::string FullSheet(int bank) {
    return ObjectSheetName(static_cast<uint8_t>(FirstMapIndex + bank * 8), false);
}
std::string HalfSheet(int bank) {
    return ObjectSheetName(static_cast<uint8_t>(FirstMapIndex + bank * 8), true);
}

std::string BackgroundName(int index, bool blank) {
    return BackgroundImageName(static_cast<uint8_t>(index), blank);
}
} // namespace objects
