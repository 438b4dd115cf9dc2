#include "image/SeeThroughCopy.h"

#include "image/WideLines.h"

#include <cstring>

namespace {
// Sixteen pixels at a time where the compiler offers vectors: each is taken
// from the source or kept by a mask, without a branch, so that the ragged
// edges of a cut-out shape cost no more than its inside. Returns how many
// pixels it copied.
#if defined(__GNUC__)
using Pixels16 = uint8_t __attribute__((vector_size(16)));

size_t BlendOpaque16(uint8_t* to, const uint8_t* from, size_t count, uint8_t transparent) {
    Pixels16 pattern;
    std::memset(&pattern, transparent, sizeof pattern);
    size_t j = 0;
    for (; j + 16 <= count; j += 16) {
        Pixels16 source, dest;
        std::memcpy(&source, from + j, sizeof source);
        std::memcpy(&dest, to + j, sizeof dest);
        Pixels16 opaque;
        const auto differ = source != pattern; // all ones where opaque
        std::memcpy(&opaque, &differ, sizeof opaque);
        const Pixels16 blended = (source & opaque) | (dest & ~opaque);
        std::memcpy(to + j, &blended, sizeof blended);
    }
    return j;
}
#else
size_t BlendOpaque16(uint8_t*, const uint8_t*, size_t, uint8_t) {
    return 0;
}
#endif
} // namespace

void CopySeeThrough(uint8_t* to, const uint8_t* from, size_t count, uint8_t transparent, bool wide) {
    const bool apart = to >= from + count || from >= to + count;
    if (apart && wide && WideLinesAvailable()) {
        WideCopyOpaque(to, from, count, transparent);
        return;
    }
    for (size_t j = apart ? BlendOpaque16(to, from, count, transparent) : 0; j < count; ++j)
        if (from[j] != transparent) to[j] = from[j];
}
