#pragma once
// A picture's record read into plain values, checked as a saved game is
// checked, before anything of a picture is touched. Loading a saved game
// builds a picture from it; going back to an earlier state compares it with
// the picture and changes only what differs. Both read the same bytes the
// same way, so the two can never disagree.

#include "foundation/Geometry.h"

#include <cstdint>
#include <vector>

class ByteStream;
class TRegionMap;

// One item's record: where it is, how it is turned and sized, and the
// colour of each of its regions.
struct TItemRecord {
    uint8_t MapIndex = 0;
    TPoint Position;
    bool Mirrored = false;
    bool Half = false;
    std::vector<uint8_t> Colours;

    bool operator==(const TItemRecord&) const = default;
    // The same image up to its colours and place.
    bool SameShape(const TItemRecord& other) const {
        return MapIndex == other.MapIndex && Mirrored == other.Mirrored && Half == other.Half &&
               Colours.size() == other.Colours.size();
    }
};

struct TPictureRecord {
    bool Blank = false;
    TItemRecord Background;
    std::vector<TItemRecord> Objects; // in stacking order, the lowest first

    bool operator==(const TPictureRecord&) const = default;
};

// Reads one item's record (class id first) for an item of regionCount
// regions. A wrong class id or a place out of reach raises "Saved game is
// damaged." and nothing more is read.
TItemRecord ReadItemRecord(ByteStream& stream, uint8_t mapIndex, size_t regionCount);
// Reads a whole picture's record. A background index above 7 raises
// "Vorel background range error", any other damage "Saved game is damaged."
// or the reader's own error for a short record.
TPictureRecord ReadPictureRecord(ByteStream& stream, const TRegionMap& map);
