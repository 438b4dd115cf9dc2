#pragma once
// Line operations that use 512-bit vectors with byte permutes, for the
// processors that have them; the callers keep a plain way for the others.

#include <array>
#include <cstddef>
#include <cstdint>

// Whether this processor (and its system) runs the functions below.
bool WideLinesAvailable();

// Writes the colours of count indices, each colour put together from its four
// bytes' tables; with oneAlpha the top byte is bytes[3][0] for every index.
// Indices equal to transparent (0..255) leave their pixels as they were.
void WideMapLine(uint32_t* to, const uint8_t* from, size_t count, int transparent,
                 const std::array<std::array<uint8_t, 256>, 4>& bytes, bool oneAlpha);

// Copies count pixels, leaving out those of index transparent; the spans
// must not overlap.
void WideCopyOpaque(uint8_t* to, const uint8_t* from, size_t count, uint8_t transparent);
