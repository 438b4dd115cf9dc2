#include "activity/PictureRecord.h"

#include "activity/ObjectTable.h"
#include "activity/RegionMap.h"
#include "activity/VorelDrawing.h"
#include "activity/VorelDrawingObject.h"
#include "foundation/KelException.h"
#include "foundation/LoadSave.h"

namespace {
// Far beyond any place an item can reach, and small enough that adding an
// image's size cannot overflow.
constexpr int32_t MaxStoredCoordinate = 32767;
} // namespace

TItemRecord ReadItemRecord(ByteStream& stream, uint8_t mapIndex, size_t regionCount) {
    if (ReadByte(stream) != TVorelDrawingObject::ClassIdValue) RaiseSavedGameDamaged();
    TItemRecord item;
    item.MapIndex = mapIndex;
    try {
        item.Position = ReadPoint(stream);
    } catch (const KelException&) {
        RaiseSavedGameDamaged(); // this record's own word for any damage
    }
    auto outOfReach = [](int32_t v) { return v < -MaxStoredCoordinate || v > MaxStoredCoordinate; };
    if (outOfReach(item.Position.X) || outOfReach(item.Position.Y)) RaiseSavedGameDamaged();
    item.Mirrored = ReadBoolean(stream);
    item.Half = ReadBoolean(stream);
    item.Colours.resize(regionCount);
    for (uint8_t& colour : item.Colours)
        colour = ReadByte(stream);
    return item;
}

TPictureRecord ReadPictureRecord(ByteStream& stream, const TRegionMap& map) {
    TPictureRecord picture;
    uint8_t background = ReadByte(stream);
    picture.Blank = ReadBoolean(stream);
    CheckBackgroundIndex(background);
    picture.Background = ReadItemRecord(stream, background, map.RegionCount(background));

    uint8_t count = ReadByte(stream);
    if (count > TVorelDrawing::MaxObjects) RaiseSavedGameDamaged();
    for (int number = 1; number <= count; ++number) {
        // A record naming no object would leave the next record to the wrong item.
        uint8_t mapIndex = ReadByte(stream);
        if (!IsObjectMapIndex(mapIndex)) RaiseSavedGameDamaged();
        picture.Objects.push_back(ReadItemRecord(stream, mapIndex, map.RegionCount(mapIndex)));
    }
    return picture;
}
