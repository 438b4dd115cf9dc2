#pragma once
// The binary encoding of saved games and pictures: little-endian, unpadded
// fields written by each object's SaveToStream and read back in the same order.
//
// A read that finds fewer bytes than its field needs is corruption: it raises
// a KelException naming the helper, and never leaves a field half filled.

#include "foundation/Geometry.h"

#include <cstdint>
#include <functional>
#include <memory>
#include <optional>
#include <string>

class ByteStream;
class TKelNode;

// The version of the data being read: 2 normally, 1 while an older saved game
// is read. The world sets it from the saved-game header.
extern uint8_t DataFormatVersion;
constexpr uint8_t CurrentDataFormatVersion = 2;

uint8_t ReadByte(ByteStream& stream);
void WriteByte(ByteStream& stream, uint8_t value);
bool ReadBoolean(ByteStream& stream); // any non-zero byte reads as true
void WriteBoolean(ByteStream& stream, bool value);
uint16_t ReadWord(ByteStream& stream);
void WriteWord(ByteStream& stream, uint16_t value);
int16_t ReadSmallInt(ByteStream& stream);
void WriteSmallInt(ByteStream& stream, int16_t value);
int32_t ReadLongInt(ByteStream& stream);
void WriteLongInt(ByteStream& stream, int32_t value);
uint32_t ReadCardinal(ByteStream& stream);
void WriteCardinal(ByteStream& stream, uint32_t value);
// Points and rectangles are 32-bit fields; a field beyond FileCoordinateLimit
// is corruption and raises a KelException naming the operation.
TPoint ReadPoint(ByteStream& stream);
void WritePoint(ByteStream& stream, TPoint value);
TRect ReadRect(ByteStream& stream);
void WriteRect(ByteStream& stream, const TRect& value);

// 32-bit byte count, then UTF-16LE text. An odd count drops the unpaired byte.
std::string ReadString(ByteStream& stream);
void WriteString(ByteStream& stream, const std::string& text);
// 32-bit byte count, then 8-bit (ISO 8859-1) text.
std::string ReadAnsiString(ByteStream& stream);
void WriteAnsiString(ByteStream& stream, const std::string& text);
// One length byte, then 8-bit text; only data of format version 1 holds it.
std::string ReadShortString(ByteStream& stream);
// An 8-bit string record where the text "/NIL" stands for no string.
std::optional<std::string> ReadOptString(ByteStream& stream);
void WriteOptString(ByteStream& stream, const std::string* text);

// Reads the class id byte and re-creates the node of that class, which then
// reads the rest of its record. Ids without a registered class give a plain
// TKelNode that reads nothing more.
std::unique_ptr<TKelNode> ReadNode(ByteStream& stream);

// Later subsystems register their persistent classes here, so that the
// foundation does not depend on them.
using NodeFactory = std::function<std::unique_ptr<TKelNode>()>;
void RegisterNodeClass(uint8_t classId, NodeFactory factory);

// Reads exactly count bytes or raises a KelException naming the operation.
void ReadExactly(ByteStream& stream, void* buffer, size_t count, const char* operation);
