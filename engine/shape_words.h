// Reading the program's own shapes, "00:00:00,000 --> 00:00:00,000",
// "{000000}{000000}" and the event time "0:00:00.00": nearly every line of
// nearly every file, read inline, eight characters at a time, by comparing
// words of the machine lane by lane. Each reader says false for any other
// text, which timing_lines.h then reads by its grammar.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "characters.h"
#include "time_value.h"

// Eight characters of a shape: the bytes that must be equal, and the lanes
// that must hold a digit ('0' in the shape), as words in the byte order of
// the machine, so that a word read from a line compares lane by lane.
struct ShapeWord {
    std::uint64_t literal;  // the shape's characters, 0 in digit lanes
    std::uint64_t digits;   // 0xFF in digit lanes
};

template <std::size_t kLength>
constexpr ShapeWord shapeWord(const char (&shape)[kLength], std::size_t from) {
    std::uint64_t literal = 0, digits = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const bool digit = shape[from + i] == '0';
        // Little- or big-endian, the lane of byte i is the same as memcpy gives.
        const int shift = std::endian::native == std::endian::little ? 8 * static_cast<int>(i)
                                                                     : 8 * (7 - static_cast<int>(i));
        if (digit) digits |= std::uint64_t{0xFF} << shift;
        else literal |= std::uint64_t{static_cast<unsigned char>(shape[from + i])} << shift;
    }
    return {literal, digits};
}

// Whether the eight characters at p match the shape word: literal lanes
// equal, digit lanes from '0' to '9' (high half 3, low half plus 6 below 16).
inline bool matchesWord(const char* p, const ShapeWord& word) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0u, kLow = 0x0F0F0F0F0F0F0F0Fu;
    const std::uint64_t wrongLiteral = (w ^ word.literal) & ~word.digits;
    const std::uint64_t wrongHigh = ((w & kHigh) ^ 0x3030303030303030u) & word.digits;
    const std::uint64_t overNine = (((w & kLow) + 0x0606060606060606u) & kHigh) & word.digits;
    return (wrongLiteral | wrongHigh | overNine) == 0;
}

inline int twoDigitsAt(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

// The milliseconds of "HH:MM:SS,mmm" at p, whose digits are known to be digits.
// The three pairs of "HH:MM:SS" are read in one word: each lane minus '0',
// then each tens lane times 10 plus the lane after it. Inlined where an entry
// is read: a call would cost more than the reading.
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline Millis clockAt(const char* p) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    if constexpr (std::endian::native == std::endian::little) {
        w -= 0x3030303030303030u;
        const std::uint64_t pairs = (w * 10 + (w >> 8)) & 0x00FF0000FF0000FFu;
        const auto hours = static_cast<int>(pairs & 0xFF), minutes = static_cast<int>((pairs >> 24) & 0xFF);
        const auto seconds = static_cast<int>(pairs >> 48);
        return static_cast<Millis>(((hours * 60 + minutes) * 60 + seconds) * 1000 + (p[9] - '0') * 100 +
                                   twoDigitsAt(p + 10));
    }
    const int seconds = (twoDigitsAt(p) * 60 + twoDigitsAt(p + 3)) * 60 + twoDigitsAt(p + 6);
    return static_cast<Millis>(seconds * 1000 + (p[9] - '0') * 100 + twoDigitsAt(p + 10));
}

// A timing line in the program's own shape only.
inline bool readOwnTimingLine(std::string_view line, TimeSpan& times) {
    static constexpr char kShape[] = "00:00:00,000 --> 00:00:00,000";
    static constexpr ShapeWord kWords[] = {shapeWord(kShape, 0), shapeWord(kShape, 8),
                                           shapeWord(kShape, 16), shapeWord(kShape, 21)};
    constexpr std::size_t kLength = sizeof kShape - 1;
    const char* p = line.data();
    // Minutes and seconds are below 60: their tens digits below 6.
    if (line.size() >= kLength && matchesWord(p, kWords[0]) && matchesWord(p + 8, kWords[1]) &&
        matchesWord(p + 16, kWords[2]) && matchesWord(p + 21, kWords[3]) && p[3] < '6' && p[6] < '6' &&
        p[20] < '6' && p[23] < '6' && (line.size() == kLength || !isDigit(p[kLength]))) {
        times = {clockAt(p), clockAt(p + 17)};
        return true;
    }
    return false;
}

// A frame line in the program's own shape only: its text begins after it.
constexpr std::size_t kOwnFrameLineLength = 16;
inline bool readOwnFrameLine(std::string_view line, std::int32_t& start, std::int32_t& end) {
    static constexpr char kShape[] = "{000000}{000000}";
    static constexpr ShapeWord kWords[] = {shapeWord(kShape, 0), shapeWord(kShape, 8)};
    const char* p = line.data();
    if (line.size() >= kOwnFrameLineLength && matchesWord(p, kWords[0]) && matchesWord(p + 8, kWords[1])) {
        const auto sixDigits = [](const char* d) { return (twoDigitsAt(d) * 100 + twoDigitsAt(d + 2)) * 100 + twoDigitsAt(d + 4); };
        start = sixDigits(p + 1);
        end = sixDigits(p + 9);
        return true;
    }
    return false;
}

// An event time "h:mm:ss.cc", as scripts nearly always have them.
inline bool readOwnEventTime(std::string_view field, Millis& time) {
    static constexpr char kShape[] = "0:00:00.00";
    static constexpr ShapeWord kWord = shapeWord(kShape, 0);
    const char* f = field.data();
    if (field.size() == 10 && matchesWord(f, kWord) && isDigit(f[8]) && isDigit(f[9])) {
        const int seconds = ((f[0] - '0') * 60 + twoDigitsAt(f + 2)) * 60 + twoDigitsAt(f + 5);
        time = seconds * 1000LL + twoDigitsAt(f + 8) * 10;
        return true;
    }
    return false;
}
