// Reading the lines that time subtitles, in the layouts that other tools
// write as well as in the program's own: SRT timing lines, frame lines, the
// frame rate a frame-line file may declare, entry numbers, and SSA event times.
#pragma once

#include <bit>
#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "time_value.h"

enum LineKind : int { LineKindNone = 0, LineKindSrt = 1, LineKindFrame = 2 };

// "H:M:S,mmm --> H:M:S,mmm" with hours of one to three digits (or none),
// minutes and seconds below 60 of one or two digits, or more with leading
// zeros ("013" is 13); a fraction after ",", "." or ":" of any number of
// digits (rounded half up to milliseconds) or none; the arrows "-->", "--->",
// "->", "-- >", "- >" and "→"; blanks (spaces, tabs, no-break spaces) around
// the parts; and what follows the end time (coordinates, say) ignored,
// unless it is a further digit. A time with a minus sign is 0.
inline bool readTimingLine(std::string_view line, TimeSpan& times);
// The same for lines not in the program's own shape, which readTimingLine
// reads first, inline.
bool readOtherTimingLine(std::string_view line, TimeSpan& times);

// Whether a line looks like a timing line, read or not: an arrow between
// digits, the line's first word before it and the word after it each holding
// one ("00:00:0x,000 --> 00:00:04,000", "45,055,50,999 --> 45:55:51:000"), or
// an arrow with a group of digits and colons on one side ("--> 02:00:10,901",
// "02:00:12,901 -->"). Such a line is never taken for text.
bool looksLikeTimingLine(std::string_view line);

struct FrameSpan {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::size_t textFrom = 0;  // where the text begins in the line
};

// "{A}{B}text" with frame numbers of one to nine digits; a negative frame is 0.
inline bool readFrameLine(std::string_view line, FrameSpan& frames);
bool readOtherFrameLine(std::string_view line, FrameSpan& frames);
// "{A}{B}" with numbers of any length: a frame line, read or not.
bool looksLikeFrameLine(std::string_view line);

// A first line "{1}{1}R" or "{0}{0}R", R a decimal number with a point or a
// comma, blanks after it allowed: the frame rate the file declares, in `rate`.
bool isFrameRateDeclaration(std::string_view line, double& rate);

// An entry's number: digits, maybe with a "." after them ("2."), with blanks
// around them; or an empty line.
inline bool isNumberLine(std::string_view line);
bool isOtherNumberLine(std::string_view line);

// An SSA event time, without blanks around it: "H:MM:SS" with hours of one to
// three digits, then "." or ":" and one to three digits of a decimal fraction
// of a second, or no fraction. A time with a minus sign is 0.
inline bool readEventTime(std::string_view field, Millis& time);
bool readOtherEventTime(std::string_view field, Millis& time);

// The program's own shapes, "00:00:00,000 --> 00:00:00,000" and
// "{000000}{000000}": nearly every line of nearly every file, read inline,
// eight characters at a time.

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
        p[20] < '6' && p[23] < '6' && (line.size() == kLength || !(p[kLength] >= '0' && p[kLength] <= '9'))) {
        times = {clockAt(p), clockAt(p + 17)};
        return true;
    }
    return false;
}

inline bool readTimingLine(std::string_view line, TimeSpan& times) {
    return readOwnTimingLine(line, times) || readOtherTimingLine(line, times);
}

inline bool readFrameLine(std::string_view line, FrameSpan& frames) {
    static constexpr char kShape[] = "{000000}{000000}";
    static constexpr ShapeWord kWords[] = {shapeWord(kShape, 0), shapeWord(kShape, 8)};
    const char* p = line.data();
    if (line.size() >= 16 && matchesWord(p, kWords[0]) && matchesWord(p + 8, kWords[1])) {
        const auto sixDigits = [](const char* d) { return (twoDigitsAt(d) * 100 + twoDigitsAt(d + 2)) * 100 + twoDigitsAt(d + 4); };
        frames = {sixDigits(p + 1), sixDigits(p + 9), 16};
        return true;
    }
    return readOtherFrameLine(line, frames);
}

// Digits alone are told inline; blanks around them take the longer way.
inline bool isNumberLine(std::string_view line) {
    std::size_t i = 0;
    while (i < line.size() && line[i] >= '0' && line[i] <= '9') ++i;
    return i == line.size() || isOtherNumberLine(line);
}

// "h:mm:ss.cc", as scripts nearly always have them, inline.
inline bool readEventTime(std::string_view field, Millis& time) {
    static constexpr char kShape[] = "0:00:00.00";
    static constexpr ShapeWord kWord = shapeWord(kShape, 0);
    const char* f = field.data();
    if (field.size() == 10 && matchesWord(f, kWord) && f[8] >= '0' && f[8] <= '9' && f[9] >= '0' && f[9] <= '9') {
        const int seconds = ((f[0] - '0') * 60 + twoDigitsAt(f + 2)) * 60 + twoDigitsAt(f + 5);
        time = seconds * 1000LL + twoDigitsAt(f + 8) * 10;
        return true;
    }
    return readOtherEventTime(field, time);
}
