// The log pane and the message box, with the lines of a run's report joined
// by CR LF as the dialog shows them.
#include "log_pane.h"

#include <array>
#include <string>

#include "log_trim.h"

void showRunReport(DialogHandle dialog, const RunReport& report) {
    const std::vector<std::string> log = logLines(report);
    if (!log.empty()) {
        std::array<char, kLogCapacity + 1> old{};
        dialogGetItemText(dialog, IDC_LOG, old.data(), static_cast<int>(old.size()));
        const std::string next = trimLog(old.data(), joinLines(log, "\r\n"));
        dialogSetItemText(dialog, IDC_LOG, next.c_str());
    }
    if (!report.completed()) {
        std::string text = joinLines(messageLines(report), "\r\n");
        text.resize(text.size() - 2);  // no line end after the last line
        dialogMessageBox(dialog, text.c_str(), "Debug Message");
    }
}
