#pragma once
// The keys and mouse buttons held during a mouse event, as the platform's
// one byte of flags.

#include <cstdint>

enum ShiftFlag : uint8_t {
    ssShift = 0x01,
    ssAlt = 0x02,
    ssCtrl = 0x04,
    ssLeft = 0x08,
    ssRight = 0x10,
    ssMiddle = 0x20,
    ssDouble = 0x40,
};

class TShiftState {
public:
    constexpr TShiftState() = default;
    constexpr TShiftState(ShiftFlag flag) : Bits(flag) {}
    constexpr uint8_t Byte() const { return Bits; }
    constexpr bool Has(ShiftFlag flag) const { return (Bits & flag) != 0; }
    constexpr TShiftState With(ShiftFlag flag, bool on = true) const {
        return FromByte(on ? static_cast<uint8_t>(Bits | flag) : Bits);
    }
    constexpr TShiftState operator|(TShiftState other) const {
        return FromByte(static_cast<uint8_t>(Bits | other.Bits));
    }
    friend constexpr bool operator==(TShiftState, TShiftState) = default;

private:
    static constexpr TShiftState FromByte(uint8_t byte) {
        TShiftState state;
        state.Bits = byte;
        return state;
    }

    uint8_t Bits = 0;
};

constexpr TShiftState operator|(ShiftFlag a, ShiftFlag b) { return TShiftState(a) | b; }
