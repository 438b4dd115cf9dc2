#include "image/ZQ5Record.h"

#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "image/ZQ5Geometry.h"

#include <cstring>

namespace {
[[noreturn]] void InvalidHeader() {
    throw ZQ5Exception("Invalid ZQ5 image header");
}

uint16_t Word(const uint8_t* p) {
    return static_cast<uint16_t>(p[0] | (p[1] << 8));
}
uint32_t Cardinal(const uint8_t* p) {
    return Word(p) | (uint32_t{Word(p + 2)} << 16);
}

void ReadOrRefuse(ByteStream& stream, uint8_t* buffer, size_t count) {
    if (stream.Read(buffer, count) != count) InvalidHeader();
}

TZQ5ImageHeader ParseHeader(const uint8_t* bytes) {
    TZQ5ImageHeader header;
    std::memcpy(header.Name, bytes, 8);
    header.Width = Word(bytes + 8);
    header.Height = Word(bytes + 10);
    header.SegmentCount = bytes[12];
    header.State = bytes[13];
    header.TransparentIndex = bytes[14];
    header.Transparent = bytes[15];
    header.Revision = Word(bytes + 16);
    return header;
}

bool HeaderValid(const TZQ5ImageHeader& h) {
    // The count must match the geometry: segment indices and band sizes are
    // derived from width and height, so a different count would address bands
    // that do not exist.
    return h.Width != 0 && h.Height != 0 && h.SegmentCount != 0 && (h.State == 1 || h.State == 2) &&
           h.Revision == ZQ5RecordRevision && h.SegmentCount == SegmentCount(h.Width, h.Height) &&
           uint32_t{h.Width} * h.Height <= ZQ5MaxImagePixels;
}

bool SegmentsValid(const ZQ5RecordLayout& layout, int64_t available) {
    const TZQ5ImageHeader& h = layout.Header;
    for (unsigned i = 0; i < layout.Ends.size(); ++i) {
        if (uint64_t{layout.Ends[i]} < uint64_t{layout.Start(i)} + 3) return false;
        if (layout.DataBytes(i) > 0xFFFF) return false;
        if (h.State == 2 && layout.DataBytes(i) != SegmentBytes(h.Width, h.Height, i)) return false;
    }
    return layout.RecordSize() <= available;
}
} // namespace

std::string TZQ5ImageHeader::NameText() const {
    size_t length = 0;
    while (length < sizeof Name && Name[length] != 0)
        ++length;
    return std::string(Name, length);
}

ZQ5RecordLayout ReadRecordLayout(ByteStream& stream, int64_t available) {
    uint8_t bytes[ZQ5RecordHeaderSize];
    ReadOrRefuse(stream, bytes, sizeof bytes);
    ZQ5RecordLayout layout;
    layout.Header = ParseHeader(bytes);
    if (!HeaderValid(layout.Header)) InvalidHeader();
    std::vector<uint8_t> table(4 * size_t{layout.Header.SegmentCount});
    ReadOrRefuse(stream, table.data(), table.size());
    layout.Ends.resize(layout.Header.SegmentCount);
    for (size_t i = 0; i < layout.Ends.size(); ++i)
        layout.Ends[i] = Cardinal(table.data() + 4 * i);
    if (!SegmentsValid(layout, available)) InvalidHeader();
    return layout;
}

void AppendWord(std::vector<uint8_t>& out, uint16_t value) {
    out.push_back(static_cast<uint8_t>(value));
    out.push_back(static_cast<uint8_t>(value >> 8));
}

void AppendCardinal(std::vector<uint8_t>& out, uint32_t value) {
    AppendWord(out, static_cast<uint16_t>(value));
    AppendWord(out, static_cast<uint16_t>(value >> 16));
}

void WriteRecordHeader(std::vector<uint8_t>& out, const TZQ5ImageHeader& header) {
    out.insert(out.end(), header.Name, header.Name + 8);
    AppendWord(out, header.Width);
    AppendWord(out, header.Height);
    out.insert(out.end(), {header.SegmentCount, header.State, header.TransparentIndex, header.Transparent});
    AppendWord(out, header.Revision);
}
