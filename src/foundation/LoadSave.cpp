#include "foundation/LoadSave.h"

#include "foundation/ByteStream.h"
#include "foundation/IDList.h"
#include "foundation/KelException.h"
#include "foundation/Text.h"

#include <array>

uint8_t DataFormatVersion = CurrentDataFormatVersion;

namespace {
template <size_t N> std::array<uint8_t, N> ReadBytes(ByteStream& stream, const char* operation) {
    std::array<uint8_t, N> bytes{};
    ReadExactly(stream, bytes.data(), N, operation);
    return bytes;
}

template <class T> void WriteLittleEndian(ByteStream& stream, T value, size_t size) {
    uint8_t bytes[8];
    auto bits = static_cast<uint64_t>(value);
    for (size_t i = 0; i < size; ++i)
        bytes[i] = static_cast<uint8_t>(bits >> (8 * i));
    stream.Write(bytes, size);
}

uint32_t ReadUint32(ByteStream& stream, const char* operation) {
    auto b = ReadBytes<4>(stream, operation);
    return b[0] | (b[1] << 8) | (b[2] << 16) | (static_cast<uint32_t>(b[3]) << 24);
}

// Reads a 32-bit byte count and that many bytes. The count is checked against
// what the stream still holds, so that a damaged count can never make the
// reader allocate or read past the end.
std::string ReadCountedBytes(ByteStream& stream, const char* operation) {
    auto count = static_cast<int32_t>(ReadUint32(stream, operation));
    if (count < 0 || static_cast<int64_t>(count) > stream.Remaining())
        throw KelException(std::string(operation) +
                           ": Input file is corrupt - impossible string length detected.");
    std::string bytes(static_cast<size_t>(count), '\0');
    ReadExactly(stream, bytes.data(), bytes.size(), operation);
    return bytes;
}

std::array<NodeFactory, 256>& NodeClasses() {
    static std::array<NodeFactory, 256> classes = [] {
        std::array<NodeFactory, 256> table{};
        table[1] = [] { return std::make_unique<TIDNode>(); };
        return table;
    }();
    return classes;
}
} // namespace

void ReadExactly(ByteStream& stream, void* buffer, size_t count, const char* operation) {
    if (count == 0) return;
    if (stream.Read(buffer, count) != count)
        throw KelException(std::string(operation) + ": Input file is corrupt - unexpected end of data.");
}

uint8_t ReadByte(ByteStream& stream) {
    return ReadBytes<1>(stream, "ReadByte")[0];
}
void WriteByte(ByteStream& stream, uint8_t value) {
    stream.Write(&value, 1);
}
bool ReadBoolean(ByteStream& stream) {
    return ReadBytes<1>(stream, "ReadBoolean")[0] != 0;
}
void WriteBoolean(ByteStream& stream, bool value) {
    WriteByte(stream, value ? 1 : 0);
}

uint16_t ReadWord(ByteStream& stream) {
    auto b = ReadBytes<2>(stream, "ReadWord");
    return static_cast<uint16_t>(b[0] | (b[1] << 8));
}
void WriteWord(ByteStream& stream, uint16_t value) {
    WriteLittleEndian(stream, value, 2);
}

int16_t ReadSmallInt(ByteStream& stream) {
    auto b = ReadBytes<2>(stream, "ReadSmallInt");
    return static_cast<int16_t>(b[0] | (b[1] << 8));
}
void WriteSmallInt(ByteStream& stream, int16_t value) {
    WriteLittleEndian(stream, static_cast<uint16_t>(value), 2);
}

int32_t ReadLongInt(ByteStream& stream) {
    return static_cast<int32_t>(ReadUint32(stream, "ReadLongInt"));
}
void WriteLongInt(ByteStream& stream, int32_t value) {
    WriteLittleEndian(stream, static_cast<uint32_t>(value), 4);
}
uint32_t ReadCardinal(ByteStream& stream) {
    return ReadUint32(stream, "ReadCardinal");
}
void WriteCardinal(ByteStream& stream, uint32_t value) {
    WriteLittleEndian(stream, value, 4);
}

namespace {
[[noreturn]] void RefuseCoordinates(const char* operation) {
    throw KelException(std::string(operation) + ": Input file is corrupt - a coordinate is out of range.");
}
} // namespace

TPoint ReadPoint(ByteStream& stream) {
    TPoint p;
    p.X = static_cast<int32_t>(ReadUint32(stream, "ReadPoint"));
    p.Y = static_cast<int32_t>(ReadUint32(stream, "ReadPoint"));
    if (!CoordinatesInRange({p.X, p.Y})) RefuseCoordinates("ReadPoint");
    return p;
}

void WritePoint(ByteStream& stream, TPoint value) {
    WriteLongInt(stream, value.X);
    WriteLongInt(stream, value.Y);
}

TRect ReadRect(ByteStream& stream) {
    TRect r;
    for (int32_t* field : {&r.Left, &r.Top, &r.Right, &r.Bottom})
        *field = static_cast<int32_t>(ReadUint32(stream, "ReadRect"));
    if (!CoordinatesInRange({r.Left, r.Top, r.Right, r.Bottom})) RefuseCoordinates("ReadRect");
    return r;
}

void WriteRect(ByteStream& stream, const TRect& value) {
    for (int32_t field : {value.Left, value.Top, value.Right, value.Bottom})
        WriteLongInt(stream, field);
}

std::string ReadString(ByteStream& stream) {
    const std::string bytes = ReadCountedBytes(stream, "ReadString (Unicode)");
    std::u16string units(bytes.size() / 2, u'\0');
    for (size_t i = 0; i < units.size(); ++i)
        units[i] = static_cast<char16_t>(static_cast<uint8_t>(bytes[2 * i]) |
                                         (static_cast<uint8_t>(bytes[2 * i + 1]) << 8));
    return Utf16ToUtf8(units);
}

void WriteString(ByteStream& stream, const std::string& text) {
    std::u16string units = Utf8ToUtf16(text);
    WriteLongInt(stream, static_cast<int32_t>(units.size() * 2));
    std::string bytes;
    bytes.reserve(units.size() * 2);
    for (char16_t unit : units) {
        bytes += static_cast<char>(unit & 0xFF);
        bytes += static_cast<char>(unit >> 8);
    }
    stream.Write(bytes.data(), bytes.size());
}

std::string ReadAnsiString(ByteStream& stream) {
    return Latin1ToUtf8(ReadCountedBytes(stream, "ReadAnsiString"));
}

void WriteAnsiString(ByteStream& stream, const std::string& text) {
    std::string bytes = Utf8ToLatin1(text);
    WriteLongInt(stream, static_cast<int32_t>(bytes.size()));
    stream.Write(bytes.data(), bytes.size());
}

std::string ReadShortString(ByteStream& stream) {
    uint8_t length = ReadByte(stream);
    std::string bytes(length, '\0');
    ReadExactly(stream, bytes.data(), bytes.size(), "ReadShortString");
    return Latin1ToUtf8(bytes);
}

std::optional<std::string> ReadOptString(ByteStream& stream) {
    std::string text = ReadAnsiString(stream);
    if (text == "/NIL") return std::nullopt;
    return text;
}

void WriteOptString(ByteStream& stream, const std::string* text) {
    WriteAnsiString(stream, text ? *text : "/NIL");
}

void RegisterNodeClass(uint8_t classId, NodeFactory factory) {
    NodeClasses()[classId] = std::move(factory);
}

std::unique_ptr<TKelNode> ReadNode(ByteStream& stream) {
    uint8_t classId = ReadByte(stream);
    const NodeFactory& factory = NodeClasses()[classId];
    std::unique_ptr<TKelNode> node = factory ? factory() : std::make_unique<TKelNode>();
    node->ClassId = classId;
    node->LoadFromStream(stream);
    return node;
}
