// The two time formatters, their rounding, and times as frame numbers.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>
#include <string_view>

#include "time_format.h"

namespace {

TEST(TimeFormat, SsaAndSrtTimes) {
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        double a, b;
        const char* ssa;
        const char* srt;
    } cases[] = {
        {61.5, 3723.25, "0,0:01:01.50,1:02:03.25", "00:01:01,500 --> 01:02:03,250"},
        {0.125, 0.0625, "0,0:00:00.13,0:00:00.06", "00:00:00,125 --> 00:00:00,063"},  // halves up
        {0.135, 2.675, "0,0:00:00.14,0:00:02.67", "00:00:00,135 --> 00:00:02,675"},  // 17 digits decide
        {9.9995, 59.9996, "0,0:00:10.00,0:01:00.00", "00:00:09,999 --> 00:01:00,000"},  // carries
        {35999.99, 360000, "0,9:59:59.99,100:00:00.00", "09:59:59,990 --> 100:00:00,000"},
        {-1.0, std::nan(""), "0,0:00:00.00,0:00:00.00", "00:00:00,000 --> 00:00:00,000"},
        {inf, 1e308, "0,277777777777:46:40.00,277777777777:46:40.00",
         "277777777777:46:40,000 --> 277777777777:46:40,000"},
    };
    for (const auto& c : cases) {
        char out[kTimesBufferSize];
        formatSsaTimes(c.a, c.b, out, sizeof out);
        EXPECT_EQ(std::string(out), c.ssa) << c.a << " " << c.b;
        formatSrtTimes(c.a, c.b, out, sizeof out);
        EXPECT_EQ(std::string(out), c.srt) << c.a << " " << c.b;
    }
}

TEST(TimeFormat, RoundScaledByTheDigitString) {
    const struct {
        double value;
        int decimals;
        long long expected;
    } cases[] = {
        {0.0005, 3, 1}, {0.00049, 3, 0}, {2.5, 0, 3}, {59.995, 2, 5999}, {59.9951, 2, 6000},
        {1e-300, 3, 0},
    };
    for (const auto& c : cases) EXPECT_EQ(roundScaled(c.value, c.decimals), c.expected) << c.value;
}

TEST(TimeFormat, TimeToFrame) {
    const struct {
        double seconds, rate;
        int expected;
    } cases[] = {
        {0.02, 25, 1}, {0.01, 25, 0}, {60.0, 29.97, 1798}, {2.5, 25, 63},
        {-3.0, 25, 0}, {1e300, 25, 2147483647}, {std::nan(""), 25, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(timeToFrame(c.seconds, c.rate), c.expected) << c.seconds << " @ " << c.rate;
}

}  // namespace
