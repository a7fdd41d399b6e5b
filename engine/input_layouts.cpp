// Input layouts: the lines that other tools write differently from the
// layouts the writers read by columns, rewritten into those layouts before
// any writer sees them. A line that already has the layout, or that matches
// none of the shapes below, is kept as it is.
#include "input_layouts.h"

#include <charconv>
#include <cstring>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }
bool isBlank(char c) { return c == ' ' || c == '\t'; }

std::size_t skipBlanks(std::string_view s, std::size_t i) {
    while (i < s.size() && isBlank(s[i])) ++i;
    return i;
}

// One to `most` digits at i, not followed by a further digit; i moves past them.
bool readNumber(std::string_view s, std::size_t& i, int most, int& value, int& digits) {
    value = 0;
    digits = 0;
    while (i + digits < s.size() && isDigit(s[i + digits])) {
        if (++digits > most) return false;
        value = value * 10 + (s[i + digits - 1] - '0');
    }
    if (digits == 0) return false;
    i += digits;
    return true;
}

LineLayout rewriteTo(std::string_view head, std::size_t tailFrom) {
    LineLayout layout;
    layout.action = LineLayout::rewrite;
    std::memcpy(layout.head, head.data(), head.size());
    layout.headLength = static_cast<std::uint8_t>(head.size());
    layout.tailFrom = tailFrom;
    return layout;
}

// The rewrite of the line's first `replaced` characters as `head`, or the line
// kept when that gives the same bytes.
LineLayout rewriteOrKeep(std::string_view line, std::size_t replaced, std::string_view head) {
    if (line.substr(0, replaced) == head) return {};
    return rewriteTo(head, replaced);
}

// --- SRT timing lines ---------------------------------------------------------

struct SrtTime {
    bool negative = false;
    int hours = 0, minutes = 0, seconds = 0, millis = 0;
};

// -?[H:]M:S with an optional fraction (",", "." or ":" and one to three digits,
// a decimal fraction of a second). `withHours` reads three numbers, else two.
bool readSrtTime(std::string_view s, std::size_t& i, bool withHours, SrtTime& t) {
    std::size_t p = i;
    t = {};
    if (p < s.size() && s[p] == '-') {
        t.negative = true;
        ++p;
    }
    const int count = withHours ? 3 : 2;
    int numbers[3] = {};
    for (int n = 0; n < count; ++n) {
        if (n > 0 && (p >= s.size() || s[p++] != ':')) return false;
        int digits = 0;
        if (!readNumber(s, p, 2, numbers[n], digits)) return false;
    }
    t.hours = withHours ? numbers[0] : 0;
    t.minutes = numbers[count - 2];
    t.seconds = numbers[count - 1];
    if (t.minutes >= 60 || t.seconds >= 60) return false;
    if (p + 1 < s.size() && (s[p] == ',' || s[p] == '.' || s[p] == ':') && isDigit(s[p + 1])) {
        ++p;
        int digits = 0;
        if (!readNumber(s, p, 3, t.millis, digits)) return false;
        for (; digits < 3; ++digits) t.millis *= 10;
    }
    i = p;
    return true;
}

std::size_t arrowLength(std::string_view s, std::size_t i) {
    for (std::string_view arrow : {"-->", "-- >", "- >", "->"})
        if (s.substr(i, arrow.size()) == arrow) return arrow.size();
    return 0;
}

// [ \t]* T [ \t]* ARROW [ \t]* T REST, REST empty or starting with a blank.
// A time that can be read with hours is; "01:02:03" is an hour, two minutes
// and three seconds, never a minute, two seconds and 30 ms.
bool matchTimingLine(std::string_view s, SrtTime& start, SrtTime& end, std::size_t& restFrom) {
    const std::size_t from = skipBlanks(s, 0);
    for (const bool startHours : {true, false}) {
        std::size_t p = from;
        if (!readSrtTime(s, p, startHours, start)) continue;
        p = skipBlanks(s, p);
        const std::size_t arrow = arrowLength(s, p);
        if (arrow == 0) continue;
        p = skipBlanks(s, p + arrow);
        for (const bool endHours : {true, false}) {
            std::size_t q = p;
            if (!readSrtTime(s, q, endHours, end)) continue;
            if (q < s.size() && !isBlank(s[q])) continue;
            restFrom = q;
            return true;
        }
    }
    return false;
}

char* putTwoDigits(char* p, int value) {
    *p++ = static_cast<char>('0' + value / 10);
    *p++ = static_cast<char>('0' + value % 10);
    return p;
}

// "HH:MM:SS,mmm"; a time before zero is 00:00:00,000.
char* putSrtTime(char* p, const SrtTime& t) {
    const SrtTime zero;
    const SrtTime& shown = t.negative ? zero : t;
    p = putTwoDigits(p, shown.hours);
    *p++ = ':';
    p = putTwoDigits(p, shown.minutes);
    *p++ = ':';
    p = putTwoDigits(p, shown.seconds);
    *p++ = ',';
    *p++ = static_cast<char>('0' + shown.millis / 100);
    return putTwoDigits(p, shown.millis % 100);
}

// {A}{B} with A and B of one to six digits; `textFrom` is where the text starts.
// Some editors write frames before the film's start with a minus sign: those
// are frame 0, as times before zero are 0 in timing lines.
bool matchFrameLine(std::string_view s, int& start, int& end, std::size_t& textFrom) {
    std::size_t p = 0;
    int digits = 0;
    for (int* value : {&start, &end}) {
        if (p >= s.size() || s[p++] != '{') return false;
        const bool negative = p < s.size() && s[p] == '-';
        if (negative) ++p;
        if (!readNumber(s, p, 6, *value, digits)) return false;
        if (negative) *value = 0;
        if (p >= s.size() || s[p++] != '}') return false;
    }
    textFrom = p;
    return true;
}

// --- SSA events -----------------------------------------------------------------

// "h:mm:ss.cc" exactly, one hour digit: the shape the SSA reader reads by columns.
bool isColumnTime(std::string_view field) {
    static constexpr char kShape[] = "0:00:00.00";
    if (field.size() != sizeof kShape - 1) return false;
    for (std::size_t i = 0; i < field.size(); ++i)
        if (kShape[i] == '0' ? !isDigit(field[i]) : field[i] != kShape[i]) return false;
    return true;
}

// -?H+:MM:SS.cc with hours below 10, written as "h:mm:ss.cc" at `out`; a time
// before zero is 0:00:00.00.
bool readEventTime(std::string_view field, char* out) {
    std::size_t p = 0;
    const bool negative = !field.empty() && field[0] == '-';
    if (negative) ++p;
    int hours = 0;
    const std::size_t hourFrom = p;
    while (p < field.size() && isDigit(field[p])) {
        hours = hours * 10 + (field[p++] - '0');
        if (hours >= 10) return false;
    }
    if (p == hourFrom) return false;
    // The rest is ":MM:SS.cc", as in the column shape after its hour digit.
    const std::string_view rest = field.substr(p);
    if (rest.size() != 9) return false;
    char column[10];
    column[0] = static_cast<char>('0' + hours);
    std::memcpy(column + 1, rest.data(), 9);
    if (!isColumnTime(std::string_view(column, 10))) return false;
    std::memcpy(out, negative ? "0:00:00.00" : column, 10);
    return true;
}

}  // namespace

static LineLayout frameLineLayout(std::string_view line) {
    if (isCanonicalFrameLine(line)) return {};
    int startFrame = 0, endFrame = 0;
    std::size_t textFrom = 0;
    if (!matchFrameLine(line, startFrame, endFrame, textFrom)) return {};
    char head[16];
    for (const int at : {0, 8}) {
        int value = at == 0 ? startFrame : endFrame;
        head[at] = '{';
        for (int i = 6; i >= 1; --i, value /= 10) head[at + i] = static_cast<char>('0' + value % 10);
        head[at + 7] = '}';
    }
    return rewriteOrKeep(line, textFrom, std::string_view(head, sizeof head));
}

LineLayout srtLineLayout(std::string_view line) {
    // Every shape read here begins with a digit, a minus sign or a brace,
    // after blanks.
    const std::size_t first = skipBlanks(line, 0);
    if (first == line.size() || !(isDigit(line[first]) || line[first] == '-' || line[first] == '{'))
        return {};
    // A time has a colon after its first one or two digits: entry numbers
    // and other lines of digits end here.
    if (line[first] != '{') {
        const std::size_t digits = first + (line[first] == '-');
        if (!(digits + 1 < line.size() && line[digits + 1] == ':') &&
            !(digits + 2 < line.size() && line[digits + 2] == ':'))
            return {};
    }
    if (line[first] == '{') return frameLineLayout(line);
    if (isCanonicalTimingLine(line)) return {};
    SrtTime start, end;
    std::size_t restFrom = 0;
    if (matchTimingLine(line, start, end, restFrom)) {
        char head[32];
        char* p = putSrtTime(head, start);
        std::memcpy(p, " --> ", 5);
        p = putSrtTime(p + 5, end);
        return rewriteOrKeep(line, restFrom, std::string_view(head, static_cast<std::size_t>(p - head)));
    }
    return {};
}

LineLayout ssaLineLayout(std::string_view line) {
    static constexpr std::string_view kEvent = "Dialogue:";
    static constexpr std::string_view kColumnEvent = "Dialogue: Marked=0,";
    if (line.substr(0, kEvent.size()) != kEvent) return {};
    // Times already at the columns the reader takes them from.
    if (line.size() > 40 && line[18] == ',' && line[29] == ',' && line[40] == ',' &&
        isColumnTime(line.substr(19, 10)) && isColumnTime(line.substr(30, 10)) &&
        line.substr(0, 18).find(',') == std::string_view::npos)
        return {};
    // Fields by commas: the first, Start, End, then Style and the rest.
    const std::size_t startFrom = line.find(',');
    if (startFrom == std::string_view::npos) return {};
    const std::size_t endFrom = line.find(',', startFrom + 1);
    if (endFrom == std::string_view::npos) return {};
    const std::size_t styleFrom = line.find(',', endFrom + 1);
    if (styleFrom == std::string_view::npos) return {};
    const std::string_view start = line.substr(startFrom + 1, endFrom - startFrom - 1);
    const std::string_view end = line.substr(endFrom + 1, styleFrom - endFrom - 1);

    char head[48];
    kColumnEvent.copy(head, kColumnEvent.size());
    char* p = head + kColumnEvent.size();
    if (!readEventTime(start, p)) return {};
    p[10] = ',';
    if (!readEventTime(end, p + 11)) return {};
    p[21] = ',';
    return rewriteTo(std::string_view(head, kColumnEvent.size() + 22), styleFrom + 1);
}

bool isFrameRateDeclaration(std::string_view line, double& rate) {
    if (line.substr(0, 6) != "{0}{0}" && line.substr(0, 6) != "{1}{1}") return false;
    const std::string_view number = line.substr(6);
    // Only a decimal number: digits with an optional fraction.
    std::size_t i = 0;
    while (i < number.size() && isDigit(number[i])) ++i;
    if (i == 0) return false;
    if (i < number.size() && number[i] == '.') {
        const std::size_t fraction = ++i;
        while (i < number.size() && isDigit(number[i])) ++i;
        if (i == fraction) return false;
    }
    if (i != number.size()) return false;
    return std::from_chars(number.data(), number.data() + number.size(), rate).ec == std::errc();
}

LineLayout nextLineLayout(InputLayouts& layouts, std::string_view line) {
    const bool first = layouts.firstLine;
    layouts.firstLine = false;
    if (layouts.kind == FileKindSsa) return ssaLineLayout(line);
    if (layouts.kind != FileKindSrt) return {};
    double rate = 0;
    if (first && isFrameRateDeclaration(line, rate)) {
        layouts.declaresFrameRate = true;
        layouts.declaredFrameRate = rate;
        LineLayout dropped;
        dropped.action = LineLayout::drop;
        return dropped;
    }
    return srtLineLayout(line);
}
