// The lines marliva-convert writes for the input lines a run did not convert:
// the first ten, then how many more.
#include "run_lines.h"

#include <gtest/gtest.h>

// A report of `count` lines not converted: lines 1, 3, 5 ...
static NotConvertedLines reportOf(int count) {
    NotConvertedLines lines;
    for (int i = 0; i < count; ++i)
        lines.add(2 * i + 1, i == 0 ? NotConverted::unreadableTiming : NotConverted::textOutsideSubtitles);
    return lines;
}

TEST(RunLines, TheFirstTenLinesThenHowManyMore) {
    EXPECT_TRUE(notConvertedLines("in.srt", reportOf(0)).empty());
    EXPECT_EQ(notConvertedLines("in.srt", reportOf(1)),
              std::vector<std::string>{"in.srt:1: not converted: a timing line that cannot be read"});
    const std::string tenth = "in.srt:19: not converted: text outside a subtitle";
    const std::vector<std::string> ten = notConvertedLines("in.srt", reportOf(10));
    ASSERT_EQ(ten.size(), 10u);
    EXPECT_EQ(ten.back(), tenth);
    const std::vector<std::string> thirteen = notConvertedLines("in.srt", reportOf(13));
    ASSERT_EQ(thirteen.size(), 11u);
    EXPECT_EQ(thirteen[9], tenth);
    EXPECT_EQ(thirteen[10], "in.srt: 3 more lines not converted");
}
