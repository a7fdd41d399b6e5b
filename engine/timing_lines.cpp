// Timing lines: recognising SRT timing lines and frame lines by fixed columns,
// reading their numbers, and printing pairs of times for SSA and SRT.
#include "timing_lines.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

bool isSrtTimingLine(const char* line) {
    return line[2] == ':' && line[5] == ':' && line[8] == ',' && line[13] == '-' &&
           line[14] == '-' && line[15] == '>' && line[19] == ':' && line[22] == ':' &&
           line[25] == ',';
}

bool isFrameLine(const char* line) {
    return line[0] == '{' && line[7] == '}' && line[8] == '{' && line[15] == '}';
}

LineKind classifyLine(const char* line, int lock) {
    if (lock != LineKindFrame && isSrtTimingLine(line)) return LineKindSrt;
    if (lock != LineKindSrt && isFrameLine(line)) return LineKindFrame;
    return LineKindNone;
}

static std::int32_t wholeSeconds(const char* line, int hourColumn) {
    const int h = digitAt(line, hourColumn);
    const int m = digitAt(line, hourColumn + 2) * 10 + digitAt(line, hourColumn + 3);
    const int s = digitAt(line, hourColumn + 5) * 10 + digitAt(line, hourColumn + 6);
    return h * 3600 + m * 60 + s;
}

std::int32_t srtStart(const char* line) { return wholeSeconds(line, 1); }
std::int32_t srtEnd(const char* line) { return wholeSeconds(line, 18); }

// Reads digits from `column` on until a "}". Unsigned arithmetic so that a long
// run of digits wraps instead of overflowing; a frame line always has a "}" at
// column 7 or 15 ahead of the scan, so it never leaves the slot.
static int readFrameNumber(const char* line, int column, std::int32_t& value) {
    std::uint32_t n = static_cast<std::uint32_t>(digitAt(line, column));
    int c = column + 1;
    for (; line[c] != '}'; ++c) n = n * 10u + static_cast<std::uint32_t>(digitAt(line, c));
    value = static_cast<std::int32_t>(n);
    return c;
}

FrameFields frameFields(const char* line) {
    FrameFields fields{};
    const int startBrace = readFrameNumber(line, 1, fields.start);
    const int endBrace = readFrameNumber(line, startBrace + 2, fields.end);
    fields.textColumn = endBrace + 1;
    return fields;
}

std::int64_t roundScaled(double value, int decimals) {
    // 17 significant digits: "d.dddddddddddddddde±x".
    char text[40];
    std::snprintf(text, sizeof text, "%.16e", value);
    char digits[17];
    int count = 0;
    for (const char* p = text; *p && *p != 'e'; ++p)
        if (*p >= '0' && *p <= '9') digits[count++] = *p;
    const int exponent = std::atoi(std::strchr(text, 'e') + 1);
    // Digits before the cut: those of the integer part plus `decimals`.
    const int keep = exponent + 1 + decimals;
    if (keep < 0) return 0;
    std::int64_t scaled = 0;
    for (int i = 0; i < keep; ++i) scaled = scaled * 10 + (i < count ? digits[i] - '0' : 0);
    if (keep < count && digits[keep] >= '5') ++scaled;
    return scaled;
}

// Times beyond this are written as this; it keeps every intermediate exact.
static constexpr double kLargestTime = 1e15;

struct TimeParts {
    long long hours;
    long long minutes;
    long long scaledSeconds;  // seconds * 10^decimals, rounded, below 60 * 10^decimals
};

// Splits a time for printing. The seconds are rounded first; a rounding that
// reaches 60 carries into the minutes and hours. Negative times (and NaN) are 0.
static TimeParts splitTime(double t, int decimals) {
    if (!(t > 0)) t = 0;
    if (t > kLargestTime) t = kLargestTime;
    const long long whole = static_cast<long long>(t);
    long long totalMinutes = whole / 60;
    const double seconds = t - static_cast<double>(totalMinutes * 60);
    long long scaled = roundScaled(seconds, decimals);
    const long long minute = decimals == 2 ? 6000 : 60000;
    if (scaled >= minute) {
        scaled -= minute;
        ++totalMinutes;
    }
    return {totalMinutes / 60, totalMinutes % 60, scaled};
}

void formatSsaTimes(double a, double b, char* out, std::size_t outSize) {
    const TimeParts s = splitTime(a, 2);
    const TimeParts e = splitTime(b, 2);
    std::snprintf(out, outSize, "0,%lld:%02lld:%02lld.%02lld,%lld:%02lld:%02lld.%02lld", s.hours,
                  s.minutes, s.scaledSeconds / 100, s.scaledSeconds % 100, e.hours, e.minutes,
                  e.scaledSeconds / 100, e.scaledSeconds % 100);
}

void formatSrtTimes(double a, double b, char* out, std::size_t outSize) {
    const TimeParts s = splitTime(a, 3);
    const TimeParts e = splitTime(b, 3);
    std::snprintf(out, outSize, "%02lld:%02lld:%02lld,%03lld --> %02lld:%02lld:%02lld,%03lld",
                  s.hours, s.minutes, s.scaledSeconds / 1000, s.scaledSeconds % 1000, e.hours,
                  e.minutes, e.scaledSeconds / 1000, e.scaledSeconds % 1000);
}

std::int32_t timeToFrame(double seconds, double frameRate) {
    const double frame = seconds * frameRate + 0.5;
    if (!(frame >= 1.0)) return 0;  // negative, below one, or NaN
    if (frame >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(frame);
}
