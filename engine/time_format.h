// Printing pairs of times for SSA and SRT, and times as frame numbers.
#pragma once

#include <cstddef>
#include <cstdint>

// Enough for any pair of times these formatters print, however large.
constexpr std::size_t kTimesBufferSize = 96;

// "0,h:mm:ss.cc,h:mm:ss.cc": the Marked value and the two times of a Dialogue line.
void formatSsaTimes(double a, double b, char* out, std::size_t outSize);
// "hh:mm:ss,mmm --> hh:mm:ss,mmm".
void formatSrtTimes(double a, double b, char* out, std::size_t outSize);

// A value rounded to `decimals` places the way the program prints times: first
// written with 17 significant digits, then that digit string rounded half up.
// Returns value * 10^decimals as an integer; value must be finite and >= 0.
std::int64_t roundScaled(double value, int decimals);

// A time in seconds multiplied by the frame rate, plus 0.5, cut toward zero;
// negative results give 0 and results beyond the 32-bit range the largest frame.
std::int32_t timeToFrame(double seconds, double frameRate);
