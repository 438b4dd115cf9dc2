#include "image/ZQ5Image.h"

#include "foundation/ByteStream.h"
#include "foundation/KelException.h"
#include "image/ZQ5Codec.h"
#include "image/ZQ5Record.h"

#include <cstring>

TZQ5Image::TZQ5Image() = default;

TZQ5Image::~TZQ5Image() = default;

void TZQ5Image::Clear() {
    for (auto& segment : Segments)
        segment->Free();
    Segments.clear();
    SegmentEnds.clear();
    Header.State = isEmpty;
}

void TZQ5Image::Read(ByteStream& stream) {
    Clear();
    RecordStart = stream.Position();
    Source = &stream;
    try {
        ZQ5RecordLayout layout = ReadRecordLayout(stream, stream.Size() - RecordStart);
        uint8_t kind = layout.Header.State;
        Header = layout.Header;
        Header.State = isEmpty;
        SegmentEnds = layout.Ends;
        for (unsigned i = 0; i < layout.Ends.size(); ++i) {
            Segments.push_back(std::make_unique<TZQ5ImageSegment>(*this, static_cast<uint16_t>(i)));
            Segments.back()->SetDiscarded(layout.DataBytes(i));
        }
        for (unsigned i = 0; i < layout.Ends.size(); ++i) {
            TZQ5ImageSegment& segment = *Segments[i];
            stream.Seek(RecordStart + layout.Start(i));
            segment.ReadHeader(stream);
            // Plain pixel bands do not consult their flags; a compressed band
            // must say so and carry no bit but the stored ones.
            if (kind == 2)
                segment.Flags = 0;
            else if (!(segment.Flags & sfCompressed) ||
                     (segment.Flags & ~(sfPlainLines | sfWholeSegment | sfCompressed)))
                throw ZQ5Exception("Invalid ZQ5 image header");
        }
        stream.Seek(RecordStart + layout.RecordSize());
        Header.State = kind;
    } catch (...) {
        Source = nullptr;
        Clear();
        throw;
    }
}

void TZQ5Image::ReadStored(uint16_t index, BandBytes& into) const {
    if (!Source || index >= Segments.size() || index >= SegmentEnds.size())
        throw ZQ5Exception("ReloadSegment: no source for segment " + std::to_string(index));
    uint32_t start = SegmentStart(SegmentEnds, index) + 3;
    uint32_t bytes = SegmentEnds[index] - start;
    into = NewBand(bytes);
    Source->Seek(RecordStart + start);
    if (bytes != 0 && Source->Read(into.data(), bytes) != bytes)
        throw ZQ5Exception("ReloadSegment: segment " + std::to_string(index) + " is cut short");
}

void TZQ5Image::ReloadSegment(uint16_t index) {
    BandBytes stored;
    ReadStored(index, stored);
    // The flags, compressed or not, still describe the bytes brought back.
    Segments[index]->Adopt(std::move(stored));
}

void TZQ5Image::DecodeAll() {
    if (Header.State != isCompressed) return;
    try {
        for (auto& segment : Segments)
            segment->Decode(Header.Width, Header.Height);
    } catch (...) {
        Clear();
        throw;
    }
    Header.State = isReady;
}

void TZQ5Image::CheckAll() const {
    if (Header.State != isCompressed) return;
    BandBytes stored;
    for (const auto& segment : Segments) {
        ReadStored(segment->Index, stored);
        segment->CheckStored(stored, Header.Width, Header.Height);
    }
}

void TZQ5Image::Init(const std::string& name, ByteStream* source, uint16_t width, uint16_t height) {
    Clear();
    Source = nullptr;
    RecordStart = 0;
    unsigned count = SegmentCount(width, height);
    bool fits = (width == 0 || height == 0) || (count != 0 && count <= 255);
    if (!fits) throw ZQ5Exception("Init: image too large");
    Header = TZQ5ImageHeader{};
    std::memcpy(Header.Name, name.data(), std::min<size_t>(name.size(), sizeof Header.Name));
    Header.Width = width;
    Header.Height = height;
    Header.SegmentCount = static_cast<uint8_t>(count);
    try {
        for (unsigned i = 0; i < count; ++i) {
            Segments.push_back(std::make_unique<TZQ5ImageSegment>(*this, static_cast<uint16_t>(i)));
            if (source)
                EncodeFrom(*source, *Segments.back());
            else
                Segments.back()->Allocate(SegmentBytes(width, height, i));
        }
    } catch (...) {
        Clear();
        throw;
    }
    Header.State = source ? isCompressed : isReady;
}

void TZQ5Image::EncodeFrom(ByteStream& source, TZQ5ImageSegment& segment) {
    uint16_t w = Header.Width;
    uint16_t h = Header.Height;
    std::vector<uint8_t> lines(SegmentBytes(w, h, segment.Index));
    source.Seek(int64_t{segment.Index} * SegmentBytes(w, h, 0));
    if (source.Read(lines.data(), lines.size()) != lines.size())
        throw ZQ5Exception("Init: source holds too few pixels");
    ZQ5EncodedSegment encoded = EncodeSegment(lines, {w, SegmentLines(w, h, segment.Index), Stride(w)});
    segment.Adopt(BandBytes(encoded.Data.begin(), encoded.Data.end()));
    segment.Escapes = encoded.Escapes;
    segment.Flags = encoded.Flags;
}

std::vector<uint8_t> TZQ5Image::RecordBytes() const {
    // Compressed bands are written as a kind-1 record, decoded or blank
    // pixels as a kind-2 record of plain stride-padded bands.
    if (Header.State == isEmpty || Segments.empty()) throw ZQ5Exception("RecordBytes: image is empty");
    std::vector<std::vector<uint8_t>> bodies;
    for (const auto& segment : Segments) {
        std::vector<uint8_t> body{0, 0, 0};
        if (Header.State == isCompressed)
            body = {static_cast<uint8_t>(segment->Escapes & 0xFF),
                    static_cast<uint8_t>(segment->Escapes >> 8),
                    static_cast<uint8_t>(segment->Flags & ~sfDrawing)};
        bool wasLocked = segment->IsLocked();
        const uint8_t* data = segment->Lock();
        body.insert(body.end(), data, data + segment->Size);
        if (!wasLocked) segment->Unlock();
        bodies.push_back(std::move(body));
    }
    std::vector<uint8_t> out;
    WriteRecordHeader(out, Header);
    uint32_t end = RecordTableEnd(bodies.size());
    for (const auto& body : bodies)
        AppendCardinal(out, end += static_cast<uint32_t>(body.size()));
    for (const auto& body : bodies)
        out.insert(out.end(), body.begin(), body.end());
    return out;
}
