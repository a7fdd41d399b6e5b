// Reading the lines that time subtitles, in every layout read: accepted with
// their times, or refused.
#include <gtest/gtest.h>

#include <string>

#include "timing_lines.h"

namespace {

constexpr Millis kRefused = -1;

Millis ms(int h, int m, int s, int millis) { return ((h * 60LL + m) * 60 + s) * 1000 + millis; }

TEST(TimingLines, SrtTimingLines) {
    const struct {
        const char* line;
        Millis start, end;  // kRefused: not a timing line
        bool looksLikeOne;  // refused lines only: reported rather than taken for text
    } cases[] = {
        {"00:00:01,000 --> 00:00:02,500", ms(0, 0, 1, 0), ms(0, 0, 2, 500), true},
        {"00:00:01,000 --> 00:00:02,500  X1:100 X2:200", ms(0, 0, 1, 0), ms(0, 0, 2, 500), true},
        {"12:34:56,780 --> 123:00:00,000", ms(12, 34, 56, 780), ms(123, 0, 0, 0), true},
        {"0:55:40,920 --> 0:55:42,000", ms(0, 55, 40, 920), ms(0, 55, 42, 0), true},
        {"00:00:01.000 --> 00:00:02.000", ms(0, 0, 1, 0), ms(0, 0, 2, 0), true},
        {"00:01:39 --> 00:01:41", ms(0, 1, 39, 0), ms(0, 1, 41, 0), true},
        {"00:00:01,77 --> 00:00:02:5", ms(0, 0, 1, 770), ms(0, 0, 2, 500), true},
        {"00:01,234 --> 00:02,000", ms(0, 0, 1, 234), ms(0, 0, 2, 0), true},
        {"01:02:03 --> 01:02:04", ms(1, 2, 3, 0), ms(1, 2, 4, 0), true},
        {"\t 0:0:1,0->0:0:2,0", ms(0, 0, 1, 0), ms(0, 0, 2, 0), true},
        {"00:00:01,000 - > 00:00:02,000", ms(0, 0, 1, 0), ms(0, 0, 2, 0), true},
        {"00:00:01,000 -- > 00:00:02,000\tnote", ms(0, 0, 1, 0), ms(0, 0, 2, 0), true},
        {"00:00:01,000 ---> 00:00:02,000", ms(0, 0, 1, 0), ms(0, 0, 2, 0), true},
        {"00:00:01,000 \xE2\x86\x92 00:00:02,000", ms(0, 0, 1, 0), ms(0, 0, 2, 0), true},
        {"\xC2\xA0" "00:00:01,000\xC2\xA0-->\xA0" "00:00:02,000", ms(0, 0, 1, 0), ms(0, 0, 2, 0), true},
        {"00:00:01,0004 --> 00:00:02,99951", ms(0, 0, 1, 0), ms(0, 0, 3, 0), true},
        {"00:00:01,2345 --> 00:00:02,000", ms(0, 0, 1, 235), ms(0, 0, 2, 0), true},
        {"-00:00:01,000 --> 00:00:02,000", 0, ms(0, 0, 2, 0), true},
        {"00:00:013,567 --> 00:00:0006,878", ms(0, 0, 13, 567), ms(0, 0, 6, 878), true},
        {"00:00:04,781 --> 00:21:004,732", ms(0, 0, 4, 781), ms(0, 21, 4, 732), true},
        {"00:60:01,000 --> 00:00:02,000", kRefused, 0, true},
        {"00:00:01,000 --> 00:00:075,000", kRefused, 0, true},
        {"00:-7:-27,-802 --> 00:00:02,000", kRefused, 0, true},
        {"45,055,50,999 --> 45:55:51:000", kRefused, 0, true},
        {"00:00:0x,000 --> 00:00:04,000", kRefused, 0, true},
        {"O0:00:01,000 --> 00:00:02,000", kRefused, 0, true},
        {"00:00:01,00x-->00:00:02,000", kRefused, 0, true},
        {"5 -> 6", kRefused, 0, true},
        {"00:00:01,000 --> 00:00:02,", ms(0, 0, 1, 0), ms(0, 0, 2, 0), true},
        {"00:00:01,000 --> 00:00:02,000x", ms(0, 0, 1, 0), ms(0, 0, 2, 0), true},
        {"00:00:03;000 --> 00:00:04;000", kRefused, 0, true},
        {"1000:00:01,000 --> 1000:00:02,000", kRefused, 0, true},
        {"00:00:01,000 => 00:00:02,000", kRefused, 0, true},
        {"             --> 02:00:10,901", kRefused, 0, true},
        {"02:00:12,901 -->", kRefused, 0, true},
        {"02:00:12,901 --> soon", kRefused, 0, false},
        {"-->", kRefused, 0, false},
        {"xx:yy:zz,abc --> dd:ee:ff,ghi", kRefused, 0, false},
        {"Meet me at 10:30 -> then", kRefused, 0, false},
        {"He scored 3 -> 4 goals", kRefused, 0, false},
        {"10:30 -> then", kRefused, 0, false},
        {"<i>2</i>", kRefused, 0, false},
        {"12", kRefused, 0, false},
        {"", kRefused, 0, false},
    };
    for (const auto& c : cases) {
        TimeSpan times;
        const bool read = readTimingLine(c.line, times);
        EXPECT_EQ(read, c.start != kRefused) << c.line;
        if (read) {
            EXPECT_EQ(times.start, c.start) << c.line;
            EXPECT_EQ(times.end, c.end) << c.line;
        }
        EXPECT_EQ(looksLikeTimingLine(c.line), c.looksLikeOne) << c.line;
    }
}

TEST(TimingLines, FrameLinesAndDeclaredRates) {
    const struct {
        const char* line;
        int start, end;  // -1: not a frame line
        const char* text;
        bool looksLikeOne;  // refused lines only: reported rather than taken for text
    } frames[] = {
        {"{000100}{000250}Hi", 100, 250, "Hi", true},
        {"{359}{412}Text", 359, 412, "Text", true},
        {"{0}{999999999}{y:i}x", 0, 999999999, "{y:i}x", true},
        {"{1026000}{1026050}x", 1026000, 1026050, "x", true},
        {"{-164}{-68}x", 0, 0, "x", true},
        {"{1234567890}{1}x", -1, 0, "", true},
        {"{0000000025}{0000000050}x", -1, 0, "", true},
        {"{1231230}{111111111111111}", -1, 0, "", true},
        {"{12}456}{000250}Hi", -1, 0, "", false},
        {"{-}{1}x", -1, 0, "", false},
        {"{Y:i}text", -1, 0, "", false},
    };
    for (const auto& c : frames) {
        FrameSpan f;
        const bool read = readFrameLine(c.line, f);
        EXPECT_EQ(read, c.start >= 0) << c.line;
        EXPECT_EQ(looksLikeFrameLine(c.line), c.looksLikeOne) << c.line;
        if (!read) continue;
        EXPECT_EQ(f.start, c.start) << c.line;
        EXPECT_EQ(f.end, c.end) << c.line;
        EXPECT_EQ(std::string(c.line).substr(f.textFrom), c.text) << c.line;
    }
    const struct {
        const char* line;
        double rate;  // 0: no declaration
    } rates[] = {
        {"{1}{1}23.976", 23.976}, {"{0}{0}25", 25}, {"{1}{1}29,97", 29.97}, {"{1}{1}25 \t", 25},
        {"{1}{1}23.976 fps", 0}, {"{2}{2}25", 0}, {"{1}{1}", 0}, {"{1}{1}.5", 0},
    };
    for (const auto& c : rates) {
        double rate = 0;
        EXPECT_EQ(isFrameRateDeclaration(c.line, rate), c.rate != 0) << c.line;
        if (c.rate != 0) {
            EXPECT_EQ(rate, c.rate) << c.line;
        }
    }
}

TEST(TimingLines, NumberLinesAndEventTimes) {
    for (const char* number : {"", "12", " 7 ", "\t42", "2.", " 10. "}) EXPECT_TRUE(isNumberLine(number)) << number;
    for (const char* text : {"Hello, Bob", "12a", "1 2", "#3", "2.5", ".", "dix"})
        EXPECT_FALSE(isNumberLine(text)) << text;

    const struct {
        const char* field;
        Millis time;  // kRefused: cannot be read
    } events[] = {
        {"0:00:01.00", ms(0, 0, 1, 0)},      {"10:00:01.00", ms(10, 0, 1, 0)},
        {"123:04:05.67", ms(123, 4, 5, 670)}, {"0:00:04:56", ms(0, 0, 4, 560)},
        {"0:00:03.766", ms(0, 0, 3, 766)},    {"0:00:05", ms(0, 0, 5, 0)},
        {"-0:00:06.84", 0},                   {"1:02:03.4567", kRefused},
        {"0:00:01.", kRefused},               {"1000:00:00.00", kRefused},
        {"Invalid", kRefused},                {"", kRefused},
        {"0:00:01.00x", kRefused},
    };
    for (const auto& c : events) {
        Millis time = 0;
        const bool read = readEventTime(c.field, time);
        EXPECT_EQ(read, c.time != kRefused) << c.field;
        if (read) {
            EXPECT_EQ(time, c.time) << c.field;
        }
    }
}

}  // namespace
