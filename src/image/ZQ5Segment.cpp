#include "foundation/KelException.h"
#include "image/ZQ5Codec.h"
#include "image/ZQ5Image.h"

#include "foundation/ByteStream.h"

#include <algorithm>
#include <new>

TZQ5ImageSegment::TZQ5ImageSegment(TZQ5Image& owner, uint16_t index) : Index(index), Owner(&owner) {}

void TZQ5ImageSegment::ReadHeader(ByteStream& stream) {
    uint8_t bytes[3];
    if (stream.Read(bytes, sizeof bytes) != sizeof bytes) throw ZQ5Exception("Invalid ZQ5 image header");
    Escapes = static_cast<uint16_t>(bytes[0] | (bytes[1] << 8));
    Flags = bytes[2];
}

void TZQ5ImageSegment::SetDiscarded(uint32_t size) {
    Unlock();
    BandBytes().swap(Buffer);
    State = BufferState::Discarded;
    Size = size;
}

BandBytes NewBand(size_t bytes) {
    try {
        return BandBytes(bytes);
    } catch (const std::bad_alloc&) {
        throw ZQ5Exception("Allocate: out of memory");
    }
}

void TZQ5ImageSegment::Allocate(uint32_t bytes) {
    AllocateUnset(bytes);
    std::fill(Buffer.begin(), Buffer.end(), 0);
}

void TZQ5ImageSegment::AllocateUnset(uint32_t bytes) {
    Free();
    Adopt(NewBand(bytes));
}

void TZQ5ImageSegment::Adopt(BandBytes bytes) {
    Unlock();
    Buffer = std::move(bytes);
    State = BufferState::Present;
    Size = static_cast<uint32_t>(Buffer.size());
}

void TZQ5ImageSegment::Reallocate(uint32_t bytes) {
    if (State == BufferState::Absent) throw ZQ5Exception("Reallocate: segment buffer not allocated");
    // A discarded buffer has no contents to keep: bring them back first.
    if (State == BufferState::Discarded) {
        bool wasLocked = Locked;
        Lock();
        if (!wasLocked) Unlock();
    }
    try {
        Buffer.resize(bytes, 0);
    } catch (const std::bad_alloc&) {
        Free();
        throw ZQ5Exception("Reallocate: out of memory");
    }
    Size = bytes;
}

uint8_t* TZQ5ImageSegment::LockMissing() {
    if (State == BufferState::Absent) throw ZQ5Exception("Segment Lock: segment buffer not allocated");
    if (State == BufferState::Discarded) Owner->ReloadSegment(Index);
    Locked = true;
    return Buffer.data();
}

void TZQ5ImageSegment::Unlock() {
    Locked = false;
}

BandBytes TZQ5ImageSegment::Detach() {
    Lock();
    BandBytes taken = std::move(Buffer);
    Buffer.clear();
    Locked = false;
    State = BufferState::Absent;
    Size = 0;
    Flags &= static_cast<uint8_t>(~sfCompressed);
    return taken;
}

void TZQ5ImageSegment::Free() {
    Unlock();
    Flags &= static_cast<uint8_t>(~sfCompressed);
    BandBytes().swap(Buffer);
    State = BufferState::Absent;
    Size = 0;
}

void TZQ5ImageSegment::Decode(uint16_t width, uint16_t height) {
    if (!(Flags & sfCompressed)) return;
    uint8_t storedFlags = Flags;
    BandBytes source = Detach();
    ZQ5SegmentShape shape{width, SegmentLines(width, height, Index), Stride(width)};
    try {
        // The band is its lines, and the decoders write every byte of them.
        AllocateUnset(SegmentBytes(width, height, Index));
        std::span<uint8_t> output(Buffer);
        if (storedFlags & sfWholeSegment)
            DecodeWholeSegment(source, output, shape, static_cast<uint8_t>(Escapes & 0xFF));
        else
            DecodeLineCoded(source, output, shape, Escapes, (storedFlags & sfPlainLines) != 0);
    } catch (...) {
        Free();
        throw;
    }
    Flags &= static_cast<uint8_t>(~sfCompressed);
}

void TZQ5ImageSegment::CheckStored(std::span<const uint8_t> stored, uint16_t width, uint16_t height) const {
    if (!(Flags & sfCompressed)) return;
    ZQ5SegmentShape shape{width, SegmentLines(width, height, Index), Stride(width)};
    if (Flags & sfWholeSegment)
        CheckWholeSegment(stored, shape, static_cast<uint8_t>(Escapes & 0xFF));
    else
        CheckLineCoded(stored, shape, Escapes, (Flags & sfPlainLines) != 0);
}
