#include "activity/IconMap.h"

#include "foundation/LoadSave.h"

uint8_t TIconMap::operator[](int slot) const {
    if (slot < 1 || slot > SlotCount) return Empty;
    return Slots[static_cast<size_t>(slot - 1)];
}

void TIconMap::Set(int slot, uint8_t number) {
    if (slot >= 1 && slot <= SlotCount) Slots[static_cast<size_t>(slot - 1)] = number;
}

void TIconMap::Clear() {
    Slots.fill(Empty);
}

void TIconMap::Renumber(uint8_t above, int count) {
    for (int slot = 1; slot <= count && slot <= SlotCount; ++slot) {
        uint8_t number = (*this)[slot];
        if (number != Empty && number > above) Set(slot, static_cast<uint8_t>(number - 1));
    }
}

void TIconMap::MoveToTop(int slot, int count) {
    uint8_t number = (*this)[slot];
    if (number == Empty) return;
    Set(slot, static_cast<uint8_t>(count + 1));
    Renumber(number, count);
}

void TIconMap::Remove(int slot, int count) {
    uint8_t number = (*this)[slot];
    if (number == Empty || count < 1) return;
    for (int later = slot; later < count; ++later)
        Set(later, (*this)[later + 1]);
    Set(count, Empty);
    Renumber(number, count - 1);
}

bool TIconMap::IsValid(int count) const {
    if (count < 0 || count > SlotCount) return false;
    std::array<bool, SlotCount + 1> seen{};
    for (int slot = 1; slot <= SlotCount; ++slot) {
        uint8_t number = (*this)[slot];
        if (slot > count) {
            if (number != Empty) return false;
            continue;
        }
        if (number < 1 || number > count || seen[number]) return false;
        seen[number] = true;
    }
    return true;
}

void TIconMap::Load(ByteStream& stream) {
    for (uint8_t& number : Slots)
        number = ReadByte(stream);
}

void TIconMap::Save(ByteStream& stream) const {
    for (uint8_t number : Slots)
        WriteByte(stream, number);
}
