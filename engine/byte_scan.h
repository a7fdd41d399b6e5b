// Finding one byte value in text: the only place that knows of SSE2 and bit
// scans. Where the processor compares sixteen bytes at once, a search costs a
// few instructions per sixteen bytes instead of a few per byte; lines and
// fields are short, and a call of the C library per line would cost more than
// the line. Elsewhere, and in builds that define MARLIVA_PORTABLE_SCAN (the
// sanitizers' and Windows' builds test this way), bytes are read one by one.
#pragma once

#include <cstddef>

#if defined(__SSE2__) && !defined(MARLIVA_PORTABLE_SCAN)
#define MARLIVA_SIXTEEN_AT_ONCE 1
#include <emmintrin.h>
#endif

// How many of the bytes from p to end are `a`, and how many are `b`.
inline void countBytes(const char* p, const char* end, char a, char b, std::size_t& countA,
                       std::size_t& countB) {
    countA = countB = 0;
#if defined(MARLIVA_SIXTEEN_AT_ONCE)
    // Counted in byte lanes, which are summed every 255 steps, before they overflow.
    const __m128i wantA = _mm_set1_epi8(a), wantB = _mm_set1_epi8(b);
    while (end - p >= 16) {
        __m128i lanesA = _mm_setzero_si128(), lanesB = _mm_setzero_si128();
        for (int step = 0; step < 255 && end - p >= 16; ++step, p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            lanesA = _mm_sub_epi8(lanesA, _mm_cmpeq_epi8(bytes, wantA));
            lanesB = _mm_sub_epi8(lanesB, _mm_cmpeq_epi8(bytes, wantB));
        }
        const auto sum = [](__m128i lanes) {
            const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
            return static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                   static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
        };
        countA += sum(lanesA);
        countB += sum(lanesB);
    }
#endif
    for (; p < end; ++p) {
        countA += *p == a;
        countB += *p == b;
    }
}

// Calls onFound(q) for each q from p to end where *q is `byte`, in order,
// until onFound returns false; returns false then, else true.
template <typename OnFound>
inline bool forEachByte(const char* p, const char* end, char byte, OnFound onFound) {
#if defined(MARLIVA_SIXTEEN_AT_ONCE)
    const __m128i want = _mm_set1_epi8(byte);
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        for (auto found = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, want))); found;
             found &= found - 1)
            if (!onFound(p + __builtin_ctz(found))) return false;
    }
#endif
    for (; p < end; ++p)
        if (*p == byte && !onFound(p)) return false;
    return true;
}
