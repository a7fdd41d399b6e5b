// The log pane's capacity rule and the dialog's report sink.
#include "log_pane.h"
#include "ui_test_support.h"

namespace {

// n lines of 48 characters, a carriage return and a line feed each.
std::string lines(int n) {
    std::string text;
    for (int i = 0; i < n; ++i) text += std::string(47, 'a' + i % 26) + std::to_string(i % 10) + "\r\n";
    return text;
}

TEST(TrimLog, KeepsTheTextBelowTheCapacityByDroppingWholeLines) {
    const std::string twenty = lines(20);
    ASSERT_EQ(twenty.size(), 1000u);
    struct Row { std::string old, added, expected; };
    const Row rows[] = {
        {"", std::string(20, 'm'), std::string(20, 'm')},
        {twenty, std::string(30, 'm'), twenty.substr(50) + std::string(30, 'm')},
        {std::string(1022, 'o'), std::string(10, 'm'), std::string(10, 'm')},
        // 1022 characters together still fit; 1023 drop the first line.
        {twenty, std::string(22, 'm'), twenty + std::string(22, 'm')},
        {twenty, std::string(23, 'm'), twenty.substr(50) + std::string(23, 'm')},
        // The line feed right at the start position ends the dropped part.
        {twenty, std::string(72, 'm'), twenty.substr(50) + std::string(72, 'm')},
        {twenty, std::string(73, 'm'), twenty.substr(100) + std::string(73, 'm')},
        // A lone message of 1023 characters stands; with no line feed at or
        // after the start position only the message remains.
        {"", std::string(1023, 'm'), std::string(1023, 'm')},
        {"ab\r\ncd", std::string(1020, 'm'), "cd" + std::string(1020, 'm')},
        {"ab\r\ncd", std::string(1023, 'm'), std::string(1023, 'm')},
    };
    for (const Row& row : rows) {
        const std::string result = trimLog(row.old, row.added);
        EXPECT_EQ(result, row.expected) << row.old.size() << " + " << row.added.size();
    }
    EXPECT_EQ(trimLog(twenty, std::string(30, 'm')).size(), 980u);
}

using LogPaneTest = DialogTest;

TEST_F(LogPaneTest, AppendLogFormatsIntoThePane) {
    const ReportSink sink = dialogReportSink(handleOf(dialog));
    sinkLog(sink, "SRT => SSA ...");
    sinkLog(sink, "%s", " done.\r\n\r\n");
    sinkLog(sink, "time : %g sec\r\nsubs : %d\r\n", 0.5, 42);
    EXPECT_EQ(logText(), "SRT => SSA ... done.\r\n\r\ntime : 0.5 sec\r\nsubs : 42\r\n");
    EXPECT_TRUE(dialog.messageBoxes.empty());
}

TEST_F(LogPaneTest, PaneIsReadBackWithAtMost1022Characters) {
    const ReportSink sink = dialogReportSink(handleOf(dialog));
    const std::string lone = std::string(1000, 'x') + "\r\n" + std::string(21, 'y');
    sinkLog(sink, "%s", lone.c_str());
    EXPECT_EQ(logText(), lone);
    // The last "y" is lost at the read-back; 1022 + 2 reach the capacity and the
    // first line goes.
    sinkLog(sink, "zz");
    EXPECT_EQ(logText(), std::string(20, 'y') + "zz");
    // Messages longer than the 1024-byte buffer are cut to 1023 characters.
    sinkLog(sink, "%s", std::string(1500, 'w').c_str());
    EXPECT_EQ(logText(), std::string(1023, 'w'));
}

TEST_F(LogPaneTest, ShowMessageUsesTheDebugCaption) {
    const ReportSink sink = dialogReportSink(handleOf(dialog));
    sinkMessage(sink, "Error %d:\r\n%s", 7, "text");
    ASSERT_EQ(dialog.messageBoxes.size(), 1u);
    EXPECT_EQ(dialog.messageBoxes[0].text, "Error 7:\r\ntext");
    EXPECT_EQ(dialog.messageBoxes[0].caption, "Debug Message");
    EXPECT_EQ(logText(), "");
}

}  // namespace
