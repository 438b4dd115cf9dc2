#pragma once
// Palettised 8-bit pictures, stored the way a bottom-up device-independent
// bitmap stores them: lines padded with zeros to a stride that is a multiple
// of 4, the bottom line first, cut into horizontal bands (segments) of at most
// 65280 bytes each so that every band can be shown on its own.

#include "image/ZQ5Geometry.h"
#include "image/ZQ5Record.h"

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <utility>
#include <vector>

class ByteStream;
class TZQ5Image;
class TZQ5ImageData;
struct TDisplayHeader;

// Segment flags, as stored in the segment header (bit 2 only in memory).
enum : uint8_t {
    sfPlainLines = 0x01,   // no line codes: Width bytes per line
    sfWholeSegment = 0x02, // whole-segment run-length form
    sfDrawing = 0x04,      // being drawn (in memory only)
    sfCompressed = 0x08,   // the buffer holds data still to be decoded
};

// A band's bytes. Growing it leaves the new bytes unset: a decoded band is
// written in full anyway, and zeroing it first cost as much again.
template <class T> struct UnsetAllocator : std::allocator<T> {
    template <class U> struct rebind { using other = UnsetAllocator<U>; };
    UnsetAllocator() = default;
    template <class U> UnsetAllocator(const UnsetAllocator<U>&) noexcept {}
    template <class U> void construct(U* at) noexcept { ::new (static_cast<void*>(at)) U; }
    template <class U, class... Args> void construct(U* at, Args&&... args) {
        ::new (static_cast<void*>(at)) U(std::forward<Args>(args)...);
    }
};
using BandBytes = std::vector<uint8_t, UnsetAllocator<uint8_t>>;
// bytes unset bytes; running out of memory raises the library's error.
BandBytes NewBand(size_t bytes);

// One band of an image's pixels with its buffer. The buffer is absent,
// discarded (it reloads its stored bytes from the library file on the next
// Lock), present, or locked. Locks are not counted: one Unlock undoes any
// number of Locks.
class TZQ5ImageSegment {
public:
    TZQ5ImageSegment(TZQ5Image& owner, uint16_t index);

    uint16_t Escapes = 0; // E1 in the low byte, E2 in the high byte
    uint8_t Flags = 0;
    uint16_t Index;
    // Bytes in the buffer; the stored size while compressed data is held.
    uint32_t Size = 0;

    // Reads the 3 stored header bytes: E1, E2, flags.
    void ReadHeader(ByteStream& stream);
    // Drops any buffer and remembers that size stored bytes belong to it.
    void SetDiscarded(uint32_t size);
    // A new zero-filled buffer of bytes bytes; clears sfCompressed.
    void Allocate(uint32_t bytes);
    // Takes bytes as the buffer; the flags stay as they are.
    void Adopt(BandBytes bytes);
    // Resizes the buffer keeping its contents.
    void Reallocate(uint32_t bytes);
    // The buffer's address; a discarded buffer is reloaded through the owner.
    // Every line drawn locks its band: a present buffer is answered inline.
    uint8_t* Lock() {
        if (State != BufferState::Present) return LockMissing();
        Locked = true;
        return Buffer.data();
    }
    void Unlock();
    // Takes the buffer (reloaded when discarded) away from the segment.
    BandBytes Detach();
    void Free();
    // Turns compressed data into stride-padded lines (no-op unless sfCompressed).
    void Decode(uint16_t width, uint16_t height);
    // Raises what Decode would raise for these stored bytes, keeping nothing.
    void CheckStored(std::span<const uint8_t> stored, uint16_t width, uint16_t height) const;

    bool HasBuffer() const { return State != BufferState::Absent; }
    bool IsDiscarded() const { return State == BufferState::Discarded; }
    bool IsLocked() const { return Locked; }

private:
    friend class TZQ5Image;
    enum class BufferState { Absent, Discarded, Present };
    uint8_t* LockMissing();
    // A buffer of bytes bytes, left unset for a decoder to fill.
    void AllocateUnset(uint32_t bytes);
    TZQ5Image* Owner;
    BufferState State = BufferState::Absent;
    bool Locked = false;
    BandBytes Buffer;
};

class TZQ5Image {
public:
    TZQ5Image();
    virtual ~TZQ5Image();
    TZQ5Image(const TZQ5Image&) = delete;
    TZQ5Image& operator=(const TZQ5Image&) = delete;

    // A new image in memory. Without a source its pixels are zero and ready at
    // once; with a source (raw stored lines, stride-padded, bottom line first,
    // from position 0) every segment is encoded from it.
    virtual void Init(const std::string& name, ByteStream* source, uint16_t width, uint16_t height);
    // Reads segment index's stored bytes from the source stream again.
    virtual void ReloadSegment(uint16_t index);

    // Reads a record at the stream's position; segments stay discarded.
    void Read(ByteStream& stream);
    // Decodes every compressed segment; a failure clears the whole image.
    void DecodeAll();
    // Raises what DecodeAll would raise, holding one band's stored bytes at a
    // time and decoding nothing.
    void CheckAll() const;
    void Clear();

    // A drawing surface over this image's pixels, or nullptr on failure.
    std::unique_ptr<TZQ5ImageData> CreateSurface(TDisplayHeader* displayHeader);
    // Unlocks every segment and frees the surface.
    void ReleaseSurface(std::unique_ptr<TZQ5ImageData> surface);

    // The complete stored record (header, offsets, segments), what a library
    // file holds: kind 1 while the segments hold compressed data (an image made
    // by Init with a source, or read and not yet decoded), kind 2 with plain
    // stride-padded bands once the pixels are ready. Raises for an empty image.
    std::vector<uint8_t> RecordBytes() const;

    TZQ5ImageHeader Header;
    std::vector<std::unique_ptr<TZQ5ImageSegment>> Segments;
    ByteStream* Source = nullptr; // not owned
    int64_t RecordStart = 0;

    uint16_t Width() const { return Header.Width; }
    uint16_t Height() const { return Header.Height; }
    uint8_t State() const { return Header.State; }
    std::string Name() const { return Header.NameText(); }

private:
    // Reads segment index's stored bytes (after its 3 header bytes) into.
    void ReadStored(uint16_t index, BandBytes& into) const;
    // Codes segment's lines, read from source, into its buffer.
    void EncodeFrom(ByteStream& source, TZQ5ImageSegment& segment);

    std::vector<uint32_t> SegmentEnds; // end offsets from the record start
};
