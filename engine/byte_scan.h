// Finding one byte value in text: the only place that knows of SSE2 and bit
// scans. Where the processor compares sixteen bytes at once, a search costs a
// few instructions per sixteen bytes instead of a few per byte; lines and
// fields are short, and a call of the C library per line would cost more than
// the line. Elsewhere, and in the plain build (fast_paths.h), bytes are
// read one by one.
#pragma once

#include <cstddef>
#include <string_view>

#if defined(__SSE2__) && !defined(MARLIVA_PLAIN)
#define MARLIVA_SIXTEEN_AT_ONCE 1
#include <emmintrin.h>
#endif

// The line feeds and carriage returns of the text from p to end, and where
// its first byte `mark` stands (or null), in one pass.
struct LineEndCount {
    std::size_t feeds = 0;
    std::size_t returns = 0;
    const char* mark = nullptr;
};

inline LineEndCount countLineEnds(const char* p, const char* end, char mark) {
    LineEndCount found;
    const auto findMark = [&](const char* from, const char* to) {
        for (; !found.mark && from < to; ++from)
            if (*from == mark) found.mark = from;
    };
#if defined(MARLIVA_SIXTEEN_AT_ONCE)
    const __m128i feed = _mm_set1_epi8('\n'), ret = _mm_set1_epi8('\r'), wantMark = _mm_set1_epi8(mark);
    const auto sum = [](__m128i lanes) {
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        return static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
               static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    };
    while (end - p >= 16) {
        const char* chunk = p;
        __m128i feeds = _mm_setzero_si128(), returns = _mm_setzero_si128(), seen = _mm_setzero_si128();
        for (int step = 0; step < 255 && end - p >= 16; ++step, p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            feeds = _mm_sub_epi8(feeds, _mm_cmpeq_epi8(bytes, feed));
            returns = _mm_sub_epi8(returns, _mm_cmpeq_epi8(bytes, ret));
            seen = _mm_or_si128(seen, _mm_cmpeq_epi8(bytes, wantMark));
        }
        found.feeds += sum(feeds);
        found.returns += sum(returns);
        if (!found.mark && _mm_movemask_epi8(seen)) findMark(chunk, p);
    }
#endif
    findMark(p, end);
    for (; p < end; ++p) {
        found.feeds += *p == '\n';
        found.returns += *p == '\r';
    }
    return found;
}

// Whether the text holds the byte. Texts of sixteen bytes or more are read in
// pieces of sixteen, the last overlapping the one before.
inline bool containsByte(std::string_view text, char byte) {
#if defined(MARLIVA_SIXTEEN_AT_ONCE)
    if (text.size() >= 16) {
        const __m128i want = _mm_set1_epi8(byte);
        const char* p = text.data();
        const char* last = p + text.size() - 16;
        for (;; p += 16) {
            if (p > last) p = last;
            if (_mm_movemask_epi8(_mm_cmpeq_epi8(_mm_loadu_si128(reinterpret_cast<const __m128i*>(p)), want)))
                return true;
            if (p == last) return false;
        }
    }
#endif
    for (const char c : text)
        if (c == byte) return true;
    return false;
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
