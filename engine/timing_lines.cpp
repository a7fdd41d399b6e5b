// Timing lines in every layout that is read: the program's own shapes first,
// eight characters at a time, then the shapes that other tools write.
#include "timing_lines.h"

#include <bit>
#include <charconv>
#include <cstring>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// The length of a blank at i: a space or tab, a no-break space in UTF-8
// (C2 A0), or one byte A0 (its form in the code pages of Windows and
// Latin-1); 0 when none stands there.
std::size_t blankAt(std::string_view s, std::size_t i) {
    if (i >= s.size()) return 0;
    if (s[i] == ' ' || s[i] == '\t' || s[i] == '\xA0') return 1;
    return s[i] == '\xC2' && i + 1 < s.size() && s[i + 1] == '\xA0' ? 2 : 0;
}

std::size_t skipBlanks(std::string_view s, std::size_t i) {
    for (std::size_t n; (n = blankAt(s, i)) != 0;) i += n;
    return i;
}

// One to `most` digits at i, not followed by a further digit; i moves past them.
bool readNumber(std::string_view s, std::size_t& i, int most, int& value) {
    value = 0;
    int digits = 0;
    while (i + digits < s.size() && isDigit(s[i + digits])) {
        if (++digits > most) return false;
        value = value * 10 + (s[i + digits - 1] - '0');
    }
    if (digits == 0) return false;
    i += static_cast<std::size_t>(digits);
    return true;
}

// A fraction of a second after its separator: the first three digits are the
// milliseconds (".5" is 500), a fourth of 5 or more rounds them up, and any
// further digits are read past. `most` digits at most; i moves past them.
bool readFraction(std::string_view s, std::size_t& i, std::size_t most, Millis& millis) {
    std::size_t digits = 0;
    millis = 0;
    for (; i + digits < s.size() && isDigit(s[i + digits]); ++digits) {
        if (digits + 1 > most) return false;
        const int digit = s[i + digits] - '0';
        if (digits < 3) millis = millis * 10 + digit;
        if (digits == 3 && digit >= 5) ++millis;
    }
    if (digits == 0) return false;
    for (std::size_t n = digits; n < 3; ++n) millis *= 10;
    i += digits;
    return true;
}

// -?[H:]M:S with an optional fraction (",", "." or ":" and digits).
// `withHours` reads three numbers, else two.
bool readSrtTime(std::string_view s, std::size_t& i, bool withHours, Millis& time) {
    std::size_t p = i;
    const bool negative = p < s.size() && s[p] == '-';
    if (negative) ++p;
    const int count = withHours ? 3 : 2;
    int numbers[3] = {};
    for (int n = 0; n < count; ++n) {
        if (n > 0 && (p >= s.size() || s[p++] != ':')) return false;
        if (!readNumber(s, p, n == 0 && withHours ? 3 : 2, numbers[n])) return false;
    }
    const int hours = withHours ? numbers[0] : 0;
    Millis millis = 0;
    if (p + 1 < s.size() && (s[p] == ',' || s[p] == '.' || s[p] == ':') && isDigit(s[p + 1])) {
        ++p;
        if (!readFraction(s, p, static_cast<std::size_t>(-1), millis)) return false;
    }
    time = negative ? 0
                    : ((static_cast<Millis>(hours) * 60 + numbers[count - 2]) * 60 + numbers[count - 1]) * 1000 +
                          millis;
    i = p;
    return true;
}

std::size_t arrowLength(std::string_view s, std::size_t i) {
    for (std::string_view arrow : {"--->", "-->", "-- >", "- >", "->", "\xE2\x86\x92"})
        if (s.substr(i, arrow.size()) == arrow) return arrow.size();
    return 0;
}

// [blanks] T [blanks] ARROW [blanks] T REST, REST anything but a further
// digit. A time that can be read with hours is: "01:02:03" is an hour, two
// minutes and three seconds, never a minute, two seconds and 30 ms.
bool readOtherTimingLine(std::string_view s, TimeSpan& times) {
    const std::size_t from = skipBlanks(s, 0);
    for (const bool startHours : {true, false}) {
        std::size_t p = from;
        if (!readSrtTime(s, p, startHours, times.start)) continue;
        p = skipBlanks(s, p);
        const std::size_t arrow = arrowLength(s, p);
        if (arrow == 0) continue;
        p = skipBlanks(s, p + arrow);
        for (const bool endHours : {true, false}) {
            std::size_t q = p;
            if (!readSrtTime(s, q, endHours, times.end)) continue;
            if (q < s.size() && isDigit(s[q])) continue;
            return true;
        }
    }
    return false;
}

// Eight characters of a shape at once: the bytes that must be equal, and the
// lanes that must hold a digit ('0' in the shape), as words in the byte order
// of the machine, so that a word read from a line compares lane by lane.
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
bool matchesWord(const char* p, const ShapeWord& word) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0u, kLow = 0x0F0F0F0F0F0F0F0Fu;
    const std::uint64_t wrongLiteral = (w ^ word.literal) & ~word.digits;
    const std::uint64_t wrongHigh = ((w & kHigh) ^ 0x3030303030303030u) & word.digits;
    const std::uint64_t overNine = (((w & kLow) + 0x0606060606060606u) & kHigh) & word.digits;
    return (wrongLiteral | wrongHigh | overNine) == 0;
}

int twoDigits(const char* p) { return (p[0] - '0') * 10 + (p[1] - '0'); }

Millis clockAt(const char* p) {
    return ((static_cast<Millis>(twoDigits(p)) * 60 + twoDigits(p + 3)) * 60 + twoDigits(p + 6)) * 1000 +
           (p[9] - '0') * 100 + twoDigits(p + 10);
}

// "00:00:00,000 --> 00:00:00,000", alone or before anything but a digit: the
// program's own shape and that of nearly every line of nearly every file,
// read at once.
bool readCanonicalTimingLine(std::string_view line, TimeSpan& times) {
    static constexpr char kShape[] = "00:00:00,000 --> 00:00:00,000";
    static constexpr ShapeWord kWords[] = {shapeWord(kShape, 0), shapeWord(kShape, 8),
                                           shapeWord(kShape, 16), shapeWord(kShape, 21)};
    constexpr std::size_t kLength = sizeof kShape - 1;
    if (line.size() < kLength || (line.size() > kLength && isDigit(line[kLength]))) return false;
    const char* p = line.data();
    if (!(matchesWord(p, kWords[0]) && matchesWord(p + 8, kWords[1]) && matchesWord(p + 16, kWords[2]) &&
          matchesWord(p + 21, kWords[3])))
        return false;
    times = {clockAt(p), clockAt(p + 17)};
    return true;
}

}  // namespace

bool readTimingLine(std::string_view line, TimeSpan& times) {
    return readCanonicalTimingLine(line, times) || readOtherTimingLine(line, times);
}

// A group of a time as any tool may write it: digits and colons, with the
// other separators of times among them. Empty when none stands at i; false
// when what stands there is no such group.
bool timeGroupAt(std::string_view s, std::size_t& i, bool& present) {
    const std::size_t from = i;
    if (i < s.size() && s[i] == '-' && i + 1 < s.size() && isDigit(s[i + 1])) ++i;
    bool digit = false, colon = false;
    for (; i < s.size() && (isDigit(s[i]) || std::strchr(":;,.", s[i])); ++i) {
        digit = digit || isDigit(s[i]);
        colon = colon || s[i] == ':';
    }
    present = i > from;
    return !present || (digit && colon);
}

bool looksLikeTimingLine(std::string_view s) {
    std::size_t i = skipBlanks(s, 0);
    bool before = false, after = false;
    if (!timeGroupAt(s, i, before)) return false;
    i = skipBlanks(s, i);
    if (s.substr(i, 3) == "\xE2\x86\x92") {
        i += 3;
    } else {
        const std::size_t shaft = i;
        while (i < s.size() && (s[i] == '-' || s[i] == '=' || s[i] == '~')) ++i;
        if (i == shaft) return false;
        i = skipBlanks(s, i);
        if (i >= s.size() || s[i] != '>') return false;
        ++i;
    }
    i = skipBlanks(s, i);
    if (!timeGroupAt(s, i, after)) return false;
    // A time on one side at least; with none after the arrow, nothing else either.
    return (before || after) && (after || skipBlanks(s, i) == s.size());
}

bool readFrameLine(std::string_view s, FrameSpan& frames) {
    static constexpr char kShape[] = "{000000}{000000}";
    static constexpr ShapeWord kWords[] = {shapeWord(kShape, 0), shapeWord(kShape, 8)};
    if (s.size() >= 16 && matchesWord(s.data(), kWords[0]) && matchesWord(s.data() + 8, kWords[1])) {
        std::int32_t values[2] = {};
        for (int at : {1, 9})
            for (int k = 0; k < 6; ++k) values[at / 8] = values[at / 8] * 10 + (s[static_cast<std::size_t>(at + k)] - '0');
        frames = {values[0], values[1], 16};
        return true;
    }
    // {A}{B} with A and B of one to nine digits. Some editors write frames
    // before the film's start with a minus sign: those are frame 0, as times
    // before zero are 0 in timing lines.
    std::size_t p = 0;
    int values[2] = {};
    for (int& value : values) {
        if (p >= s.size() || s[p++] != '{') return false;
        const bool negative = p < s.size() && s[p] == '-';
        if (negative) ++p;
        if (!readNumber(s, p, 9, value)) return false;
        if (negative) value = 0;
        if (p >= s.size() || s[p++] != '}') return false;
    }
    frames = {values[0], values[1], p};
    return true;
}

bool isFrameRateDeclaration(std::string_view line, double& rate) {
    if (line.substr(0, 6) != "{0}{0}" && line.substr(0, 6) != "{1}{1}") return false;
    std::string_view number = line.substr(6);
    while (!number.empty() && blankAt(number, number.size() - 1) != 0) number.remove_suffix(1);
    while (number.size() >= 2 && number.substr(number.size() - 2) == "\xC2\xA0") number.remove_suffix(2);
    // Only a decimal number: digits with an optional fraction after a point or a comma.
    char text[32];
    if (number.empty() || number.size() >= sizeof text) return false;
    std::size_t i = 0;
    while (i < number.size() && isDigit(number[i])) ++i;
    if (i == 0) return false;
    if (i < number.size() && (number[i] == '.' || number[i] == ',')) {
        const std::size_t fraction = ++i;
        while (i < number.size() && isDigit(number[i])) ++i;
        if (i == fraction) return false;
    }
    if (i != number.size()) return false;
    number.copy(text, number.size());
    for (std::size_t k = 0; k < number.size(); ++k)
        if (text[k] == ',') text[k] = '.';
    return std::from_chars(text, text + number.size(), rate).ec == std::errc();
}

bool isNumberLine(std::string_view line) {
    std::size_t i = skipBlanks(line, 0);
    while (i < line.size() && isDigit(line[i])) ++i;
    return skipBlanks(line, i) == line.size();
}

bool readEventTime(std::string_view field, Millis& time) {
    std::size_t p = 0;
    const bool negative = !field.empty() && field[0] == '-';
    if (negative) ++p;
    int numbers[3] = {};
    for (int n = 0; n < 3; ++n) {
        if (n > 0 && (p >= field.size() || field[p++] != ':')) return false;
        if (!readNumber(field, p, n == 0 ? 3 : 2, numbers[n])) return false;
    }
    Millis millis = 0;
    if (p < field.size()) {
        if (field[p] != '.' && field[p] != ':') return false;
        ++p;
        if (!readFraction(field, p, 3, millis) || p != field.size()) return false;
    }
    time = negative ? 0 : ((static_cast<Millis>(numbers[0]) * 60 + numbers[1]) * 60 + numbers[2]) * 1000 + millis;
    return true;
}
