// Printing pairs of times for SSA and SRT, and times as frame numbers.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>

#include "fast_paths.h"
#include "time_value.h"

// Enough for any pair of times these formatters print, however large.
constexpr std::size_t kTimesBufferSize = 96;

// The latest times and the last frame that the program writes and reads back:
// hours of three digits at most, frame numbers of nine.
constexpr Millis kLatestSrtTime = 999LL * 3600000 + 3599999;  // 999:59:59,999
constexpr Millis kLatestSsaTime = 999LL * 3600000 + 3599990;  // 999:59:59.99
constexpr std::int32_t kLastFrame = 999999999;

// The first-subtitle shift of one writer: when the settings ask for it,
// every time is moved by the same amount, so that the earliest start of the
// input (in seconds, as the formatters compute times) comes to the first-sub
// time.
struct FirstSubShift {
    bool on;
    double by;
};

// An entry's times as the input gives them: milliseconds read from timing
// lines or events, or frame numbers at `frameRate` frames a second.
struct EntryTimes {
    TimeSpan read;
    bool frames = false;
    std::int32_t startFrame = 0;
    std::int32_t endFrame = 0;
    double frameRate = 0.0;
};

inline EntryTimes readTimes(const TimeSpan& times) { return {times, false, 0, 0, 0.0}; }
inline EntryTimes frameTimes(std::int32_t start, std::int32_t end, double frameRate) {
    return {{}, true, start, end, frameRate};
}

// The two fields a writer prints an entry's times in, written at p (room for
// kTimesBufferSize) and p moved past them. Times read and not shifted print as
// they stand (SSA's hundredths cut from the milliseconds); frames' times and
// shifted times are computed in seconds and rounded as printf rounds. False
// when either time, as printed, passes what the output holds (kLatestSrtTime,
// kLatestSsaTime); what was written is then no field.
//
// SRT's timing line, "hh:mm:ss,mmm --> hh:mm:ss,mmm".
inline bool putTimingLine(char*& p, const EntryTimes& times, const FirstSubShift& shift);
// SSA's "0,h:mm:ss.cc,h:mm:ss.cc": the Marked value and the Start and End of a
// Dialogue line.
inline bool putEventTimes(char*& p, const EntryTimes& times, const FirstSubShift& shift);
// The same computed in seconds: shifted times, and frames' times where the
// one step is not sure of them.
bool putComputedTimingLine(char*& p, const EntryTimes& times, const FirstSubShift& shift);
bool putComputedEventTimes(char*& p, const EntryTimes& times, const FirstSubShift& shift);

// "0,h:mm:ss.cc,h:mm:ss.cc": the Marked value and the two times of a Dialogue
// line; false when either time, as printed, is later than kLatestSsaTime.
bool formatSsaTimes(double a, double b, char* out, std::size_t outSize);
// "hh:mm:ss,mmm --> hh:mm:ss,mmm"; false when either time, as printed, is
// later than kLatestSrtTime.
bool formatSrtTimes(double a, double b, char* out, std::size_t outSize);

// A time read from the input, printed as it stands: "h:mm:ss.cc" with the
// hundredths cut from the milliseconds, and "hh:mm:ss,mmm"; hours with as many
// digits as they need. Returns the end of what was written.
char* putSsaTime(char* p, Millis time);
char* putSrtTime(char* p, Millis time);
// Room enough for either.
constexpr std::size_t kTimeBufferSize = 32;

// A value rounded to `decimals` places the way the program prints times: first
// written with 17 significant digits, then that digit string rounded half up.
// Returns value * 10^decimals as an integer; value must be finite and >= 0.
inline std::int64_t roundScaled(double value, int decimals);
// The exact rule, digit by digit: slow (a printf per value).
std::int64_t roundScaledFromDigits(double value, int decimals);

// The time of a frame at the frame rate in whole units of which a second has
// `unitsPerSecond` (1000 or 100), as the formatters round frame / frameRate
// seconds, in one step; false where the one step cannot be sure of it (near a
// half unit, or from 2^31 units on), which leaves the time to the formatters.
inline bool frameTime(std::int32_t frame, double frameRate, double unitsPerSecond, Millis& units);

// A time in seconds multiplied by the frame rate, plus 0.5, cut toward zero;
// negative results give 0 and results beyond the 32-bit range the largest frame.
std::int32_t timeToFrame(double seconds, double frameRate);

// Below 2^24 the product carries 28 bits of fraction, and it lies within 3e-9
// of the 17-digit string scaled alike; a fraction more than 1e-6 away from one
// half therefore rounds the same way from either, without the digits.
inline std::int64_t roundScaled(double value, int decimals) {
    static constexpr double kScale[] = {1.0, 10.0, 100.0, 1000.0};
    if (kFastPaths && decimals >= 0 && decimals <= 3) {
        const double scaled = value * kScale[decimals];
        if (scaled >= 0 && scaled < 16777216.0) {
            // For values from 0 to below 2^24, dropping the fraction is floor,
            // and cheaper than calling it.
            const double whole = static_cast<double>(static_cast<std::int64_t>(scaled));
            const double fraction = scaled - whole;
            if (fraction - 0.5 > 1e-6 || 0.5 - fraction > 1e-6)
                return static_cast<std::int64_t>(whole) + (fraction > 0.5 ? 1 : 0);
        }
    }
    return roundScaledFromDigits(value, decimals);
}

// Below 2^31, unitsPerSecond * frame / frameRate computed in one step lies
// within 5e-7 of the exact product of the time the formatters start from
// (frame / frameRate, rounded once) and unitsPerSecond: a fraction more than
// 1e-6 away from one half rounds the same way from either.
inline bool frameTime(std::int32_t frame, double frameRate, double unitsPerSecond, Millis& units) {
    const double scaled = static_cast<double>(frame) * unitsPerSecond / frameRate;
    if (!kFastPaths || !(scaled >= 0 && scaled < 2147483647.0)) return false;
    const double whole = static_cast<double>(static_cast<std::int64_t>(scaled));
    const double fraction = scaled - whole;
    if (!(fraction - 0.5 > 1e-6 || 0.5 - fraction > 1e-6)) return false;
    units = static_cast<Millis>(whole) + (fraction > 0.5 ? 1 : 0);
    return true;
}

// Times read and not shifted, and frames' times where the one step is sure
// of them, print inline: nearly every entry of nearly every run, for which a
// call would cost more than the choice.
inline bool putTimingLine(char*& p, const EntryTimes& times, const FirstSubShift& shift) {
    TimeSpan ms = times.read;
    if (shift.on || (times.frames && !(frameTime(times.startFrame, times.frameRate, 1000, ms.start) &&
                                       frameTime(times.endFrame, times.frameRate, 1000, ms.end))))
        return putComputedTimingLine(p, times, shift);
    p = putSrtTime(p, ms.start);
    std::memcpy(p, " --> ", 5);
    p = putSrtTime(p + 5, ms.end);
    // Scripts may have minutes and seconds up to 99.
    return ms.start <= kLatestSrtTime && ms.end <= kLatestSrtTime;
}

inline bool putEventTimes(char*& p, const EntryTimes& times, const FirstSubShift& shift) {
    TimeSpan ms = times.read;
    if (times.frames && !shift.on && frameTime(times.startFrame, times.frameRate, 100, ms.start) &&
        frameTime(times.endFrame, times.frameRate, 100, ms.end))
        ms = {ms.start * 10, ms.end * 10};
    else if (shift.on || times.frames)
        return putComputedEventTimes(p, times, shift);
    *p++ = '0';
    *p++ = ',';
    p = putSsaTime(p, ms.start);
    *p++ = ',';
    p = putSsaTime(p, ms.end);
    // Times are read up to 999:59:59,999, but a fraction rounded up
    // ("59,9996") may reach 1000 hours: the hundredths are cut.
    return ms.start / 10 <= kLatestSsaTime / 10 && ms.end / 10 <= kLatestSsaTime / 10;
}
