#include "image/WideLines.h"

#if defined(__x86_64__) && defined(__GNUC__)
#include <immintrin.h>

#define WIDE_CODE __attribute__((target("avx512f,avx512bw,avx512vbmi")))

// The zero-masking forms of some intrinsics stand in for the plain ones,
// which leave GCC seeing an undefined input.

bool WideLinesAvailable() {
    static const bool available = [] {
        __builtin_cpu_init();
        return __builtin_cpu_supports("avx512f") && __builtin_cpu_supports("avx512bw") &&
               __builtin_cpu_supports("avx512vbmi");
    }();
    return available;
}

namespace {
// Unpacking four byte planes gives, in each 128-bit lane k of output m, the
// pixels 16k + 4m + e (e = 0..3). Read in this order first, the indices come
// out with output m holding pixels 16m .. 16m + 15 in turn.
constexpr std::array<uint8_t, 64> UnpackOrder() {
    std::array<uint8_t, 64> order{};
    for (int i = 0; i < 64; ++i) {
        const int lane = i / 16, output = (i / 4) % 4, element = i % 4;
        order[static_cast<size_t>(i)] = static_cast<uint8_t>(16 * output + 4 * lane + element);
    }
    return order;
}
alignas(64) constexpr std::array<uint8_t, 64> Order = UnpackOrder();

// One byte of the colours of 64 indices: the low 128 entries and the high
// 128 looked up in two permutes, the index's top bit choosing.
WIDE_CODE inline __m512i LookUp(const __m512i* table, __m512i indices, __mmask64 high) {
    const __m512i low = _mm512_permutex2var_epi8(table[0], indices, table[1]);
    const __m512i top = _mm512_permutex2var_epi8(table[2], indices, table[3]);
    return _mm512_mask_blend_epi8(high, low, top);
}
} // namespace

WIDE_CODE bool WideSplitBytes(const uint32_t* colours, ByteTables& bytes) {
    const __m512i topOfFirst = _mm512_set1_epi32(static_cast<int>(colours[0] & 0xFF000000u));
    __mmask16 sameTop = 0xFFFF;
    for (size_t v = 0; v < 256; v += 16) {
        const __m512i sixteen = _mm512_loadu_si512(colours + v);
        for (size_t b = 0; b < 4; ++b)
            _mm_storeu_si128(reinterpret_cast<__m128i*>(bytes[b].data() + v),
                             _mm512_maskz_cvtepi32_epi8(0xFFFF, _mm512_maskz_srli_epi32(0xFFFF, sixteen, static_cast<unsigned>(8 * b))));
        sameTop &= _mm512_cmpeq_epi32_mask(_mm512_and_si512(sixteen, _mm512_set1_epi32(static_cast<int>(0xFF000000u))),
                                           topOfFirst);
    }
    return sameTop == 0xFFFF;
}

WIDE_CODE void WideMapLines(uint32_t* const* rows, const uint8_t* from, ptrdiff_t fromStep, size_t count,
                            size_t lines, int transparent, const ByteTables& bytes, bool oneAlpha) {
    __m512i tables[4][4];
    for (size_t b = 0; b < 4; ++b)
        for (size_t q = 0; q < 4; ++q)
            tables[b][q] = _mm512_loadu_si512(bytes[b].data() + 64 * q);
    const __m512i order = _mm512_load_si512(Order.data());
    const __m512i alpha = _mm512_set1_epi8(static_cast<char>(bytes[3][0]));
    const __m512i clear = _mm512_set1_epi8(static_cast<char>(transparent));
    for (size_t line = 0; line < lines; ++line, from += fromStep) {
        uint32_t* const to = rows[line];
        for (size_t x = 0; x < count; x += 64) {
            const size_t left = count - x;
            const __mmask64 live = left >= 64 ? ~__mmask64{0} : (__mmask64{1} << left) - 1;
            const __m512i indices = _mm512_maskz_loadu_epi8(live, from + x);
            const __mmask64 keep = transparent < 0 ? live : live & _mm512_cmpneq_epi8_mask(indices, clear);
            const __m512i ordered = _mm512_maskz_permutexvar_epi8(~__mmask64{0}, order, indices);
            const __mmask64 high = _mm512_movepi8_mask(ordered);
            const __m512i blue = LookUp(tables[0], ordered, high);
            const __m512i green = LookUp(tables[1], ordered, high);
            const __m512i red = LookUp(tables[2], ordered, high);
            const __m512i top = oneAlpha ? alpha : LookUp(tables[3], ordered, high);
            const __m512i lowPairs = _mm512_unpacklo_epi8(blue, green), lowTops = _mm512_unpacklo_epi8(red, top);
            const __m512i highPairs = _mm512_unpackhi_epi8(blue, green), highTops = _mm512_unpackhi_epi8(red, top);
            uint32_t* out = to + x;
            _mm512_mask_storeu_epi32(out, static_cast<__mmask16>(keep), _mm512_unpacklo_epi16(lowPairs, lowTops));
            _mm512_mask_storeu_epi32(out + 16, static_cast<__mmask16>(keep >> 16),
                                     _mm512_unpackhi_epi16(lowPairs, lowTops));
            _mm512_mask_storeu_epi32(out + 32, static_cast<__mmask16>(keep >> 32),
                                     _mm512_unpacklo_epi16(highPairs, highTops));
            _mm512_mask_storeu_epi32(out + 48, static_cast<__mmask16>(keep >> 48),
                                     _mm512_unpackhi_epi16(highPairs, highTops));
        }
    }
}

WIDE_CODE void WideCopyOpaque(uint8_t* to, const uint8_t* from, size_t count, uint8_t transparent) {
    const __m512i clear = _mm512_set1_epi8(static_cast<char>(transparent));
    size_t x = 0;
    // Whole blocks are blended and stored whole: a store under a byte mask
    // costs several times a plain one.
    for (; x + 64 <= count; x += 64) {
        const __m512i pixels = _mm512_loadu_si512(from + x);
        const __m512i under = _mm512_loadu_si512(to + x);
        _mm512_storeu_si512(to + x, _mm512_mask_blend_epi8(_mm512_cmpneq_epi8_mask(pixels, clear), under, pixels));
    }
    if (x == count) return;
    const __mmask64 live = (__mmask64{1} << (count - x)) - 1;
    const __m512i pixels = _mm512_maskz_loadu_epi8(live, from + x);
    _mm512_mask_storeu_epi8(to + x, live & _mm512_cmpneq_epi8_mask(pixels, clear), pixels);
}

#else

bool WideLinesAvailable() {
    return false;
}

bool WideSplitBytes(const uint32_t*, ByteTables&) {
    return false;
}

void WideMapLines(uint32_t* const*, const uint8_t*, ptrdiff_t, size_t, size_t, int, const ByteTables&, bool) {}

void WideCopyOpaque(uint8_t*, const uint8_t*, size_t, uint8_t) {}

#endif
