// Timing-line recognition and the two time formatters.
#include <gtest/gtest.h>

#include <array>
#include <cmath>
#include <limits>
#include <string>

#include "timing_lines.h"

namespace {

// A line in a zero-filled slot, as the line store gives it.
struct Slot {
    std::array<char, 1023> bytes{};
    explicit Slot(const std::string& text) { text.copy(bytes.data(), text.size()); }
    const char* get() const { return bytes.data(); }
};

std::string ssa(double a, double b) {
    char out[kTimesBufferSize];
    formatSsaTimes(a, b, out, sizeof out);
    return out;
}

std::string srt(double a, double b) {
    char out[kTimesBufferSize];
    formatSrtTimes(a, b, out, sizeof out);
    return out;
}

TEST(Formatters, SsaTimes) {
    const struct {
        double a, b;
        const char* expected;
    } cases[] = {
        {61.5, 3723.25, "0,0:01:01.50,1:02:03.25"},
        {5.004, 9.5, "0,0:00:05.00,0:00:09.50"},
        {0.125, 0.625, "0,0:00:00.13,0:00:00.63"},  // halves round up, not to even
        {0.135, 0.145, "0,0:00:00.14,0:00:00.14"},  // 0.13500000000000001 up, 0.14499999999999999 down
        {1.005, 2.675, "0,0:00:01.00,0:00:02.67"},  // 1.00499999999999989, 2.67499999999999982
        {9.995, 59.995, "0,0:00:09.99,0:00:59.99"},  // both lie just below the half
        {9.996, 9.9951, "0,0:00:10.00,0:00:10.00"},  // the "0" is decided after rounding
        {59.996, 3599.999, "0,0:01:00.00,1:00:00.00"},  // 60 s carries into minutes and hours
        {35999.99, 36000.0, "0,9:59:59.99,10:00:00.00"},  // hours take the digits they need
        {-1.0, -0.001, "0,0:00:00.00,0:00:00.00"},  // negative times are 0
    };
    for (const auto& c : cases) EXPECT_EQ(ssa(c.a, c.b), c.expected) << c.a << " " << c.b;
}

TEST(Formatters, SrtTimes) {
    const struct {
        double a, b;
        const char* expected;
    } cases[] = {
        {61.5, 3723.25, "00:01:01,500 --> 01:02:03,250"},
        {0, 0.001, "00:00:00,000 --> 00:00:00,001"},
        {0.0625, 2.52, "00:00:00,063 --> 00:00:02,520"},
        {9.9995, 59.9996, "00:00:09,999 --> 00:01:00,000"},  // 9.9994999999999994
        {9.99951, 3599.9999, "00:00:10,000 --> 01:00:00,000"},
        {36000.5, 360000, "10:00:00,500 --> 100:00:00,000"},
        {std::nan(""), -5, "00:00:00,000 --> 00:00:00,000"},
    };
    for (const auto& c : cases) EXPECT_EQ(srt(c.a, c.b), c.expected) << c.a << " " << c.b;
}

TEST(Formatters, HugeTimesStayInTheirBuffer) {
    const double inf = std::numeric_limits<double>::infinity();
    EXPECT_EQ(ssa(inf, 1e308), "0,277777777777:46:40.00,277777777777:46:40.00");
    EXPECT_EQ(srt(1e300, inf), "277777777777:46:40,000 --> 277777777777:46:40,000");
}

TEST(Formatters, RoundScaledAgainstTheDigitString) {
    const struct {
        double value;
        int decimals;
        long long expected;
    } cases[] = {
        {0.125, 2, 13}, {0.0625, 3, 63}, {0.0005, 3, 1}, {0.00049, 3, 0},
        {0.00004, 3, 0}, {0.5, 0, 1}, {59.995, 2, 5999}, {59.9951, 2, 6000},
        {2.5, 0, 3}, {0.0, 2, 0}, {1e-300, 3, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(roundScaled(c.value, c.decimals), c.expected) << c.value;
}

TEST(TimingLines, Classification) {
    const struct {
        const char* text;
        int lock;
        LineKind expected;
    } cases[] = {
        {"00:00:01,000 --> 00:00:02,000", 0, LineKindSrt},
        {"0:00:01,000 --> 0:00:02,000", 0, LineKindNone},
        {"xx:yy:zz,abc --> dd:ee:ff,ghi", 0, LineKindSrt},  // digits are not tested
        {"00:00:01,000 --> 00:00:02,", 0, LineKindSrt},      // 26 characters pass
        {"{000100}{000250}Hi", 0, LineKindFrame},
        {"{100}{250}Hi", 0, LineKindNone},
        {"{000100}{000250}Hi", LineKindSrt, LineKindNone},
        {"00:00:01,000 --> 00:00:02,000", LineKindFrame, LineKindNone},
        {"", 0, LineKindNone},
        {"abc", 0, LineKindNone},
        {"00:00:00.000 --> 00:00:01.000", 0, LineKindNone},  // "." is no SRT separator
    };
    for (const auto& c : cases)
        EXPECT_EQ(classifyLine(Slot(c.text).get(), c.lock), c.expected) << c.text;
}

TEST(TimingLines, ReadingSeconds) {
    const Slot a("12:34:56,000 --> 12:34:57,000");  // the tens digit of the hours is not read
    EXPECT_EQ(srtStart(a.get()), 2 * 3600 + 34 * 60 + 56);
    EXPECT_EQ(srtEnd(a.get()), 2 * 3600 + 34 * 60 + 57);
}

TEST(TimingLines, FrameFields) {
    const struct {
        const char* text;
        int start, end;
        const char* rest;
    } cases[] = {
        {"{000100}{000250}Hi", 100, 250, "Hi"},
        {"{12}456}{000250}Hi", 12, 56, "{000250}Hi"},
        {"{000000}{000000}", 0, 0, ""},
        {"{99999}}{000001}x", 99999, 75000001, "x"},  // the end starts at the "{"
    };
    for (const auto& c : cases) {
        const Slot slot(c.text);
        const FrameFields f = frameFields(slot.get());
        EXPECT_EQ(f.start, c.start) << c.text;
        EXPECT_EQ(f.end, c.end) << c.text;
        EXPECT_STREQ(slot.get() + f.textColumn, c.rest) << c.text;
    }
}

TEST(TimingLines, TimeToFrame) {
    const struct {
        double seconds, rate;
        int expected;
    } cases[] = {
        {0.02, 25, 1}, {0.01, 25, 0}, {60.0, 29.97, 1798}, {1.0, 25, 25},
        {2.5, 25, 63}, {-3.0, 25, 0}, {1e300, 25, 2147483647}, {std::nan(""), 25, 0},
    };
    for (const auto& c : cases)
        EXPECT_EQ(timeToFrame(c.seconds, c.rate), c.expected) << c.seconds << " @ " << c.rate;
}

}  // namespace
