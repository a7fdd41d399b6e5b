// The log pane's capacity rule, and the dialog's report sink over the pane and
// the message box.
#include "log_pane.h"
#include "log_trim.h"
#include "ui_test_support.h"

namespace {

TEST(TrimLog, KeepsTheTextBelowTheCapacityByDroppingWholeLines) {
    std::string twenty;  // 20 lines of 50 characters with their line ends
    for (char c = 'a'; c < 'a' + 20; ++c) twenty += std::string(48, c) + "\r\n";
    struct Row { std::string old; std::size_t added; std::string kept; };
    const Row rows[] = {
        {"", 20, ""},
        {std::string(1022, 'o'), 10, ""},
        // 1022 characters together still fit; 1023 drop the first line.
        {twenty, 22, twenty},
        {twenty, 23, twenty.substr(50)},
        // The line feed right at the start position ends the dropped part.
        {twenty, 72, twenty.substr(50)},
        {twenty, 73, twenty.substr(100)},
        // A lone message of 1023 characters stands; with no line feed at or
        // after the start position only the message remains.
        {"", 1023, ""},
        {"ab\r\ncd", 1020, "cd"},
        {"ab\r\ncd", 1023, ""},
    };
    for (const Row& row : rows) {
        const std::string added(row.added, 'm');
        EXPECT_EQ(trimLog(row.old, added), row.kept + added) << row.old.size() << "+" << row.added;
    }
}

using LogPaneTest = DialogTest;

TEST_F(LogPaneTest, SinkFormatsIntoThePaneAndTheMessageBox) {
    const ReportSink sink = dialogReportSink(handleOf(dialog));
    sinkLog(sink, "SRT => SSA ...");
    sinkLog(sink, "time : %g sec\r\nsubs : %d\r\n", 0.5, 42);
    EXPECT_EQ(logText(), "SRT => SSA ...time : 0.5 sec\r\nsubs : 42\r\n");
    EXPECT_TRUE(dialog.messageBoxes.empty());
    // The pane is read back with at most 1022 characters: the last "y" is lost,
    // and 1022 + 2 reach the capacity, so the first line goes.
    dialog.texts[IDC_LOG] = std::string(1000, 'x') + "\r\n" + std::string(21, 'y');
    sinkLog(sink, "zz");
    EXPECT_EQ(logText(), std::string(20, 'y') + "zz");
    sinkLog(sink, "%s", std::string(1500, 'w').c_str());  // cut to the 1024-byte buffer
    EXPECT_EQ(logText(), std::string(1023, 'w'));

    sinkMessage(sink, "Error %d:\r\n%s", 7, "text");
    ASSERT_EQ(dialog.messageBoxes.size(), 1u);
    EXPECT_EQ(dialog.messageBoxes[0].text, "Error 7:\r\ntext");
    EXPECT_EQ(dialog.messageBoxes[0].caption, "Debug Message");
    EXPECT_EQ(logText(), std::string(1023, 'w'));
}

}  // namespace
