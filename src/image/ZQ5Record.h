#pragma once
// The fixed part of a stored image record: the 18-byte header and the table of
// segment end offsets, read and checked before any segment is touched.

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

class ByteStream;

constexpr uint16_t ZQ5RecordRevision = 3;
constexpr size_t ZQ5RecordHeaderSize = 18;

// Image states, kept in the storage-kind byte of the header.
enum : uint8_t { isEmpty = 0, isCompressed = 1, isReady = 2 };

// The 18-byte record header, kept verbatim.
struct TZQ5ImageHeader {
    char Name[8] = {};
    uint16_t Width = 0;
    uint16_t Height = 0;
    uint8_t SegmentCount = 0;
    uint8_t State = isEmpty; // the storage kind of a stored record
    uint8_t TransparentIndex = 0;
    uint8_t Transparent = 0;
    uint16_t Revision = ZQ5RecordRevision;

    std::string NameText() const; // up to the first zero byte
};

// Where the segments begin: just past the header and the offset table.
constexpr uint32_t RecordTableEnd(size_t segmentCount) {
    return static_cast<uint32_t>(ZQ5RecordHeaderSize + 4 * segmentCount);
}

// Where segment i (its 3-byte header) begins, from the record start, given
// the end offsets of every segment.
inline uint32_t SegmentStart(const std::vector<uint32_t>& ends, unsigned i) {
    return i == 0 ? RecordTableEnd(ends.size()) : ends[i - 1];
}

struct ZQ5RecordLayout {
    TZQ5ImageHeader Header;
    std::vector<uint32_t> Ends; // offset just past each segment, from the record start

    uint32_t Start(unsigned i) const { return SegmentStart(Ends, i); }
    uint32_t DataBytes(unsigned i) const { return Ends[i] - Start(i) - 3; }
    uint32_t RecordSize() const { return Ends.back(); }
};

// The most pixels a stored image may unpack to: about twelve times the largest
// picture the program ships, so that no record can make a reader allocate
// tens of megabytes for what claims to be one image.
constexpr uint32_t ZQ5MaxImagePixels = 1u << 21;

// Reads the header and offset table at the stream's position and checks them;
// available is the number of bytes from the record start to the end of the
// file. Raises "Invalid ZQ5 image header" for a header the format does not
// allow or an image of more than ZQ5MaxImagePixels, and for segments that are out of order, too short for their 3-byte
// header, larger than 65535 bytes, or reaching past the file (a kind-2 segment
// must also hold exactly its band's bytes).
ZQ5RecordLayout ReadRecordLayout(ByteStream& stream, int64_t available);

void WriteRecordHeader(std::vector<uint8_t>& out, const TZQ5ImageHeader& header);
void AppendWord(std::vector<uint8_t>& out, uint16_t value);
void AppendCardinal(std::vector<uint8_t>& out, uint32_t value);
