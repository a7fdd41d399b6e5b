// Timing lines in every layout that is read: the program's own shapes first,
// eight characters at a time, then the shapes that other tools write.
#include "timing_lines.h"

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
bool readOtherTimes(std::string_view s, TimeSpan& times) {
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

}  // namespace

bool readOtherTimingLine(std::string_view line, TimeSpan& times) { return readOtherTimes(line, times); }

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

bool readOtherFrameLine(std::string_view s, FrameSpan& frames) {
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

bool isOtherNumberLine(std::string_view line) {
    std::size_t i = skipBlanks(line, 0);
    while (i < line.size() && isDigit(line[i])) ++i;
    return skipBlanks(line, i) == line.size();
}

bool readOtherEventTime(std::string_view field, Millis& time) {
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
