// Timing lines of both kinds: recognised at their columns, and read.
#include <gtest/gtest.h>

#include <string>

#include "column_copy.h"
#include "timing_lines.h"

namespace {

TEST(TimingLines, Classification) {
    const struct {
        const char* text;
        int lock;
        LineKind expected;
    } cases[] = {
        {"00:00:01,000 --> 00:00:02,000", 0, LineKindSrt},
        {"xx:yy:zz,abc --> dd:ee:ff,ghi", 0, LineKindSrt},  // digits are not tested
        {"00:00:01,000 --> 00:00:02,", 0, LineKindSrt},      // 26 characters pass
        {"00:00:01,000 --> 00:00:02", 0, LineKindNone},
        {"0:00:01,000 --> 0:00:02,000", 0, LineKindNone},
        {"{000100}{000250}Hi", 0, LineKindFrame},
        {"{100}{250}Hi", 0, LineKindNone},
        {"{000100}{000250}Hi", LineKindSrt, LineKindNone},
        {"00:00:01,000 --> 00:00:02,000", LineKindFrame, LineKindNone},
        {"", 0, LineKindNone},
    };
    for (const auto& c : cases) EXPECT_EQ(classifyLine(c.text, c.lock), c.expected) << c.text;
}

TEST(TimingLines, Reading) {
    LineColumns columns;
    const char* timing = columnsOf("12:34:56,789 --> 12:34:57,01", columns);
    EXPECT_EQ(srtStart(timing), 2 * 3600 + 34 * 60 + 56);  // the tens of the hours are not read
    EXPECT_EQ(srtEnd(timing), 2 * 3600 + 34 * 60 + 57);
    EXPECT_DOUBLE_EQ(fractionAt(timing, 9, 3), 0.789);

    const struct {
        const char* text;
        int start, end;
        const char* rest;
    } frames[] = {
        {"{000100}{000250}Hi", 100, 250, "Hi"},
        {"{12}456}{000250}Hi", 12, 56, "{000250}Hi"},
    };
    for (const auto& c : frames) {
        const FrameFields f = frameFields(c.text);
        EXPECT_EQ(f.start, c.start) << c.text;
        EXPECT_EQ(f.end, c.end) << c.text;
        EXPECT_STREQ(c.text + f.textColumn, c.rest) << c.text;
    }
}

}  // namespace
