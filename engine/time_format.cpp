// Time formatting: pairs of times printed for SSA and SRT, rounded the way
// printf rounds, and times turned into frame numbers.
#include "time_format.h"

#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "characters.h"

// The exact rule: the value written with 17 significant digits, that digit
// string rounded half up. Slow (a printf per value), so roundScaled calls it
// only for values close to a half, where the 17 digits decide.
std::int64_t roundScaledFromDigits(double value, int decimals) {
    // 17 significant digits: "d.dddddddddddddddde±x".
    char text[40];
    std::snprintf(text, sizeof text, "%.16e", value);
    char digits[17];
    int count = 0;
    for (const char* p = text; *p && *p != 'e'; ++p)
        if (isDigit(*p)) digits[count++] = *p;
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

// A time as printed: in hundredths (decimals 2) or thousandths (3) of a
// second. The seconds are rounded apart from the whole minutes, and a
// rounding that reaches 60 carries into them. Negative times (and NaN) are 0.
static std::int64_t printedTime(double t, int decimals) {
    if (!(t > 0)) t = 0;
    if (t > kLargestTime) t = kLargestTime;
    const long long whole = static_cast<long long>(t);
    const long long totalMinutes = whole / 60;
    const double seconds = t - static_cast<double>(totalMinutes * 60);
    return totalMinutes * (decimals == 2 ? 6000 : 60000) + roundScaled(seconds, decimals);
}

// Writes value (>= 0) in decimal with at least `width` digits, zero-filled,
// as printf's "%0*lld" does; the usual case (as many digits as the width)
// done inline.
static inline char* putPadded(char* p, long long value, int width) {
    // Small values divide in 32 bits, which costs less than in 64.
    const auto small = static_cast<std::uint32_t>(value);
    if (width == 2 && value >= 0 && value < 100) {
        p[0] = static_cast<char>('0' + small / 10);
        p[1] = static_cast<char>('0' + small % 10);
        return p + 2;
    }
    if (width == 3 && value >= 0 && value < 1000) {
        p[0] = static_cast<char>('0' + small / 100);
        p[1] = static_cast<char>('0' + small / 10 % 10);
        p[2] = static_cast<char>('0' + small % 10);
        return p + 3;
    }
    if (width == 1 && value >= 0 && value < 10) {
        p[0] = static_cast<char>('0' + value);
        return p + 1;
    }
    return putDigits(p, value, width);
}

// "h:mm:ss" then the separator and the fraction: hours with at least
// kHourWidth digits, the fraction with kDecimals digits.
template <int kHourWidth, int kDecimals>
static char* putTime(char* p, const TimeParts& t, char separator) {
    constexpr long long kUnit = kDecimals == 2 ? 100 : 1000;
    p = putPadded(p, t.hours, kHourWidth);
    *p++ = ':';
    p = putPadded(p, t.minutes, 2);
    *p++ = ':';
    p = putPadded(p, t.scaledSeconds / kUnit, 2);
    *p++ = separator;
    return putPadded(p, t.scaledSeconds % kUnit, kDecimals);
}

// "00" to "99", for writing two digits with one copy.
static constexpr struct TwoDigits {
    char pairs[200];
    constexpr TwoDigits() : pairs() {
        for (int i = 0; i < 100; ++i) {
            pairs[2 * i] = static_cast<char>('0' + i / 10);
            pairs[2 * i + 1] = static_cast<char>('0' + i % 10);
        }
    }
} kTwoDigits;

// Two digits of a value below 100.
static inline char* putTwo(char* p, std::uint32_t value) {
    std::memcpy(p, kTwoDigits.pairs + 2 * value, 2);
    return p + 2;
}

// "h:mm:ss" and the separator of a time below 2^31 ms (nearly 600 hours), in
// 32 bits, which divide faster than 64; the milliseconds in `millis`.
static inline char* putClock(char* p, std::uint32_t time, int hourWidth, char separator, std::uint32_t& millis) {
    const std::uint32_t seconds = time / 1000, minutes = seconds / 60, hours = minutes / 60;
    millis = time - seconds * 1000;
    if (hours < 10 && hourWidth == 1)
        *p++ = static_cast<char>('0' + hours);
    else if (hours < 100)
        p = putTwo(p, hours);
    else
        p = putDigits(p, hours, hourWidth);
    *p++ = ':';
    p = putTwo(p, minutes - hours * 60);
    *p++ = ':';
    p = putTwo(p, seconds - minutes * 60);
    *p++ = separator;
    return p;
}

constexpr Millis kClockLimit = 0x7FFFFFFF;

// Times of 600 hours and more, apart: the usual times then run without the
// registers that 64-bit arithmetic needs.
#if defined(__GNUC__)
__attribute__((noinline))
#endif
static char* putLongSsaTime(char* p, Millis time) {
    const long long seconds = time / 1000;
    const TimeParts parts{seconds / 3600, seconds / 60 % 60, seconds % 60 * 100 + time % 1000 / 10};
    return putTime<1, 2>(p, parts, '.');
}

#if defined(__GNUC__)
__attribute__((noinline))
#endif
static char* putLongSrtTime(char* p, Millis time) {
    const long long seconds = time / 1000;
    const TimeParts parts{seconds / 3600, seconds / 60 % 60, seconds % 60 * 1000 + time % 1000};
    return putTime<2, 3>(p, parts, ',');
}

char* putSsaTime(char* p, Millis time) {
    if (kFastPaths && time >= 0 && time < kClockLimit) {
        // Hundredths first: one division fewer than through the milliseconds.
        const auto hundredths = static_cast<std::uint32_t>(time) / 10;
        const std::uint32_t seconds = hundredths / 100, minutes = seconds / 60, hours = minutes / 60;
        if (hours < 10)
            *p++ = static_cast<char>('0' + hours);
        else
            p = putDigits(p, hours, 1);
        *p++ = ':';
        p = putTwo(p, minutes - hours * 60);
        *p++ = ':';
        p = putTwo(p, seconds - minutes * 60);
        *p++ = '.';
        return putTwo(p, hundredths - seconds * 100);
    }
    return putLongSsaTime(p, time);
}

char* putSrtTime(char* p, Millis time) {
    if (kFastPaths && time >= 0 && time < kClockLimit) {
        std::uint32_t millis;
        p = putClock(p, static_cast<std::uint32_t>(time), 2, ',', millis);
        *p++ = static_cast<char>('0' + millis / 100);
        return putTwo(p, millis % 100);
    }
    return putLongSrtTime(p, time);
}

// Copies the text made in `text` up to `end` to out as snprintf would: cut to
// outSize - 1 characters and always terminated.
static void copyOut(const char* text, const char* end, char* out, std::size_t outSize) {
    if (outSize == 0) return;
    std::size_t n = static_cast<std::size_t>(end - text);
    if (n > outSize - 1) n = outSize - 1;
    std::memcpy(out, text, n);
    out[n] = '\0';
}

// Times computed in seconds, built by hand: they run once per subtitle, and
// printf would be most of a conversion's time.
static bool putComputedSsaTimes(char*& p, double a, double b) {
    *p++ = '0';
    *p++ = ',';
    const Millis start = printedTime(a, 2) * 10, end = printedTime(b, 2) * 10;
    p = putSsaTime(p, start);
    *p++ = ',';
    p = putSsaTime(p, end);
    return start <= kLatestSsaTime && end <= kLatestSsaTime;
}

static bool putComputedSrtTimes(char*& p, double a, double b) {
    const Millis start = printedTime(a, 3), end = printedTime(b, 3);
    p = putSrtTime(p, start);
    std::memcpy(p, " --> ", 5);
    p = putSrtTime(p + 5, end);
    return start <= kLatestSrtTime && end <= kLatestSrtTime;
}

// Either pair of times, copied out as snprintf would.
static bool formatTimes(bool (*putTimes)(char*&, double, double), double a, double b, char* out,
                        std::size_t outSize) {
    char text[kTimesBufferSize];
    char* p = text;
    const bool within = putTimes(p, a, b);
    copyOut(text, p, out, outSize);
    return within;
}

bool formatSsaTimes(double a, double b, char* out, std::size_t outSize) {
    return formatTimes(putComputedSsaTimes, a, b, out, outSize);
}

bool formatSrtTimes(double a, double b, char* out, std::size_t outSize) {
    return formatTimes(putComputedSrtTimes, a, b, out, outSize);
}

// The entry's times in seconds, moved by the shift.
struct Seconds {
    double start, end;
};
static Seconds computedSeconds(const EntryTimes& times, const FirstSubShift& shift) {
    if (times.frames)
        return {times.startFrame / times.frameRate + shift.by, times.endFrame / times.frameRate + shift.by};
    return {secondsOf(times.read.start) + shift.by, secondsOf(times.read.end) + shift.by};
}

bool putComputedTimingLine(char*& p, const EntryTimes& times, const FirstSubShift& shift) {
    const Seconds seconds = computedSeconds(times, shift);
    return putComputedSrtTimes(p, seconds.start, seconds.end);
}

bool putComputedEventTimes(char*& p, const EntryTimes& times, const FirstSubShift& shift) {
    const Seconds seconds = computedSeconds(times, shift);
    return putComputedSsaTimes(p, seconds.start, seconds.end);
}

std::int32_t timeToFrame(double seconds, double frameRate) {
    const double frame = seconds * frameRate + 0.5;
    if (!(frame >= 1.0)) return 0;  // negative, below one, or NaN
    if (frame >= 2147483647.0) return std::numeric_limits<std::int32_t>::max();
    return static_cast<std::int32_t>(frame);
}
