// Times of subtitles: read once, where an entry is read, as whole milliseconds,
// which hold any number of hours.
#pragma once

#include <cstdint>

using Millis = std::int64_t;

struct TimeSpan {
    Millis start = 0;
    Millis end = 0;
};

// The time in seconds as the writers compute with it: the whole seconds, plus
// the millisecond digits taken as a decimal fraction from the last digit to
// the first, in double.
inline double secondsOf(Millis ms) {
    const auto millis = static_cast<int>(ms % 1000);
    const double fraction =
        (((0.0 + millis % 10) * 0.1 + millis / 10 % 10) * 0.1 + millis / 100) * 0.1;
    return static_cast<double>(ms / 1000) + fraction;
}
