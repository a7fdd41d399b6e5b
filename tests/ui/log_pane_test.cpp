// The log pane's capacity rule, and a run's report shown in the pane and the
// message box.
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

TEST_F(LogPaneTest, ReportGoesToThePaneAndTheMessageBox) {
    RunReport done;
    done.pairText = "SRT => SSA ...";
    done.subs = 42;
    done.elapsedMs = 500;
    showRunReport(handleOf(dialog), done);
    EXPECT_EQ(logText(), "SRT => SSA ... done.\r\n\r\ntime : 0.5 sec\r\nsubs : 42\r\nspeed: 84 subs/s\r\n");
    EXPECT_TRUE(dialog.messageBoxes.empty());
    // The pane is read back with at most 1022 characters and keeps within them.
    dialog.texts[IDC_LOG] = std::string(1000, 'x') + "\r\n" + std::string(21, 'y');
    showRunReport(handleOf(dialog), done);
    EXPECT_EQ(logText().substr(0, 22), std::string(20, 'y') + "SR");

    RunReport failed;
    failed.failure = RunFailure::cannotRead;
    failed.path = "in.srt";
    failed.reason = "No such file or directory";
    const std::string before = logText();
    showRunReport(handleOf(dialog), failed);
    ASSERT_EQ(dialog.messageBoxes.size(), 1u);
    EXPECT_EQ(dialog.messageBoxes[0].text, "Cannot read the input file:\r\nin.srt\r\nNo such file or directory");
    EXPECT_EQ(dialog.messageBoxes[0].caption, "Debug Message");
    EXPECT_EQ(logText(), before);
}

}  // namespace
