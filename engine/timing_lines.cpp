// Timing lines in every layout that is read, as a grammar of their parts;
// the program's own shapes are read before them, inline (shape_words.h).
#include "timing_lines.h"

#include <cstring>

#include "characters.h"
#include "decimal_number.h"

namespace {


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

// Minutes or seconds: digits of a value below 60, however many ("013" is 13);
// i moves past them.
bool readSixty(std::string_view s, std::size_t& i, int& value) {
    value = 0;
    std::size_t p = i;
    for (; p < s.size() && isDigit(s[p]); ++p)
        if ((value = value * 10 + (s[p] - '0')) >= 60) return false;
    if (p == i) return false;
    i = p;
    return true;
}

// -?[H:]M:S with an optional fraction: "H:M:S" with hours of one to three
// digits, or "M:S"; then "," or "." and digits, or for "H:M:S" also ":" and
// digits. Minutes and seconds are below 60; a time with a minus sign is 0.
bool readSrtTime(std::string_view s, std::size_t& i, Millis& time) {
    std::size_t p = i;
    const bool negative = p < s.size() && s[p] == '-';
    if (negative) ++p;
    // The numbers between colons decide the form: two are "M:S", three "H:M:S".
    std::size_t colons = 0;
    for (std::size_t q = p; q < s.size() && (isDigit(s[q]) || s[q] == ':'); ++q)
        if (s[q] == ':' && q + 1 < s.size() && isDigit(s[q + 1])) ++colons;
    int hours = 0, minutes = 0, seconds = 0;
    if (colons >= 2) {
        if (!readNumber(s, p, 3, hours) || p >= s.size() || s[p++] != ':') return false;
    } else if (colons != 1) {
        return false;
    }
    if (!readSixty(s, p, minutes) || p >= s.size() || s[p++] != ':' || !readSixty(s, p, seconds)) return false;
    Millis millis = 0;
    const bool fraction = p + 1 < s.size() && (s[p] == ',' || s[p] == '.' || (colons >= 2 && s[p] == ':'));
    if (fraction && isDigit(s[p + 1])) {
        ++p;
        if (!readFraction(s, p, static_cast<std::size_t>(-1), millis)) return false;
    }
    time = negative ? 0 : ((static_cast<Millis>(hours) * 60 + minutes) * 60 + seconds) * 1000 + millis;
    i = p;
    return true;
}

std::size_t arrowLength(std::string_view s, std::size_t i) {
    for (std::string_view arrow : {"--->", "-->", "-- >", "- >", "->", "\xE2\x86\x92"})
        if (s.substr(i, arrow.size()) == arrow) return arrow.size();
    return 0;
}

// [blanks] T [blanks] ARROW [blanks] T REST, REST anything but a further
// digit.
bool readOtherTimes(std::string_view s, TimeSpan& times) {
    std::size_t p = skipBlanks(s, 0);
    if (!readSrtTime(s, p, times.start)) return false;
    p = skipBlanks(s, p);
    const std::size_t arrow = arrowLength(s, p);
    if (arrow == 0) return false;
    p = skipBlanks(s, p + arrow);
    return readSrtTime(s, p, times.end) && !(p < s.size() && isDigit(s[p]));
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

// Whether the word that begins at i (up to a blank or the end) holds a digit.
bool wordHoldsDigit(std::string_view s, std::size_t i) {
    for (; i < s.size() && blankAt(s, i) == 0; ++i)
        if (isDigit(s[i])) return true;
    return false;
}

bool isShaft(char c) { return c == '-' || c == '=' || c == '~'; }

// An arrow between digits: the line's first word, right before an arrow,
// holds a digit, and so does the word after the arrow, whatever else they
// hold ("00:00:0x,000 --> 00:00:04,000", "45,055,50,999 --> 45:55:51:000").
bool arrowBetweenDigits(std::string_view s) {
    constexpr std::string_view kRightArrow = "\xE2\x86\x92";
    const std::size_t from = skipBlanks(s, 0);
    std::size_t wordEnd = from;
    while (wordEnd < s.size() && blankAt(s, wordEnd) == 0 && s[wordEnd] != '>' &&
           s.substr(wordEnd, 3) != kRightArrow)
        ++wordEnd;
    std::size_t p = skipBlanks(s, wordEnd);
    if (s.substr(p, 3) == kRightArrow) {
        p += 3;
    } else {
        // The shaft ("-", "=" or "~") ends the word, follows it, or both.
        const std::size_t shaftFrom = p;
        while (p < s.size() && isShaft(s[p])) ++p;
        bool shaft = p > shaftFrom;
        for (; wordEnd > from && isShaft(s[wordEnd - 1]); --wordEnd) shaft = true;
        p = skipBlanks(s, p);
        if (!shaft || p >= s.size() || s[p] != '>') return false;
        ++p;
    }
    return wordHoldsDigit(s.substr(0, wordEnd), from) && wordHoldsDigit(s, skipBlanks(s, p));
}

bool looksLikeTimingLine(std::string_view s) {
    if (arrowBetweenDigits(s)) return true;
    std::size_t i = skipBlanks(s, 0);
    bool before = false, after = false;
    if (!timeGroupAt(s, i, before)) return false;
    i = skipBlanks(s, i);
    if (s.substr(i, 3) == "\xE2\x86\x92") {
        i += 3;
    } else {
        const std::size_t shaft = i;
        while (i < s.size() && isShaft(s[i])) ++i;
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

bool looksLikeFrameLine(std::string_view s) {
    std::size_t p = 0;
    for (int field = 0; field < 2; ++field) {
        if (p >= s.size() || s[p++] != '{') return false;
        if (p < s.size() && s[p] == '-') ++p;
        const std::size_t digits = p;
        while (p < s.size() && isDigit(s[p])) ++p;
        if (p == digits || p >= s.size() || s[p++] != '}') return false;
    }
    return true;
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
    return readDecimal(std::string_view(text, number.size()), rate) == number.size();
}

bool isOtherNumberLine(std::string_view line) {
    std::size_t i = skipBlanks(line, 0);
    const std::size_t digits = i;
    while (i < line.size() && isDigit(line[i])) ++i;
    if (i > digits && i < line.size() && line[i] == '.') ++i;
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
