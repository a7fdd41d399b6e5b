// The log pane's capacity rule, and a run's log shown in the pane.
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

// Lines that a run did not convert are counted right after the subtitles.
TEST_F(LogPaneTest, ARunsLogGoesToThePaneWithinItsCapacity) {
    RunReport done;
    done.pairText = "SRT => SSA ...";
    done.subs = 42;
    done.elapsedMs = 500;
    done.notConverted.add(5, NotConverted::unreadableTiming);
    done.notConverted.add(9, NotConverted::textOfUnreadableTiming);
    showRunReport(&dialog, done);
    EXPECT_EQ(logText(), "SRT => SSA ... done.\r\n\r\ntime : 0.5 sec\r\nsubs : 42\r\n"
                         "skipped: 2 lines (first: line 5)\r\nspeed: 84 subs/s\r\n");
    EXPECT_TRUE(dialog.messageBoxes.empty());
    // The pane is read back with at most 1022 characters and keeps within them.
    dialog.texts[IDC_LOG] = std::string(1000, 'x') + "\r\n" + std::string(21, 'y');
    showRunReport(&dialog, done);
    EXPECT_EQ(logText().substr(0, 22), std::string(20, 'y') + "SR");
}

}  // namespace
