#pragma once
// Line operations that use 512-bit vectors with byte permutes, for the
// processors that have them; the callers keep a plain way for the others.

#include <array>
#include <cstddef>
#include <cstdint>

// Whether this processor (and its system) runs the functions below.
bool WideLinesAvailable();

using ByteTables = std::array<std::array<uint8_t, 256>, 4>;

// Splits 256 colours into the tables of their four bytes, the lowest first;
// returns whether the top byte is the same in all.
bool WideSplitBytes(const uint32_t* colours, ByteTables& bytes);

// Writes the colours of count indices on each of lines lines (line k from
// from + k * fromStep to rows[k]), each colour put together from its four
// bytes' tables; with oneAlpha the top byte is bytes[3][0] for every index.
// Indices equal to transparent (0..255) leave their pixels as they were.
void WideMapLines(uint32_t* const* rows, const uint8_t* from, ptrdiff_t fromStep, size_t count, size_t lines,
                  int transparent, const ByteTables& bytes, bool oneAlpha);

// Copies count pixels, leaving out those of index transparent; the spans
// must not overlap.
void WideCopyOpaque(uint8_t* to, const uint8_t* from, size_t count, uint8_t transparent);
