#pragma once
// The icon strip's bookkeeping: for each of the 15 icon slots, the number of
// its object in the picture's stacking order (1-based), or Empty. With n
// objects, slots 1..n hold a permutation of 1..n and the others are Empty.

#include <array>
#include <cstdint>

class ByteStream;

class TIconMap {
public:
    static constexpr int SlotCount = 15;
    static constexpr uint8_t Empty = 255;

    TIconMap() { Clear(); }

    // Slot 1..15; any other slot reads as Empty.
    uint8_t operator[](int slot) const;
    void Set(int slot, uint8_t number);
    void Clear();

    // The object of slot moves to the top of count objects: the slot takes
    // number count, and the objects that were above it move down by one.
    void MoveToTop(int slot, int count);
    // The slot's object (of count) is deleted: the later slots move up, the
    // last becomes Empty, and numbers above the deleted one shrink by one.
    void Remove(int slot, int count);
    // Whether the map is consistent for count objects.
    bool IsValid(int count) const;

    // 15 bytes, slot 1 first.
    void Load(ByteStream& stream);
    void Save(ByteStream& stream) const;

private:
    void Renumber(uint8_t above, int count);
    std::array<uint8_t, SlotCount> Slots{};
};
