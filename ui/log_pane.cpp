// The log pane and the message box, with the lines of a run's report joined
// by the platform's line end.
#include "log_pane.h"

#include <cstring>
#include <string>
#include <string_view>

#include "log_trim.h"

void showRunReport(DialogHandle dialog, const RunReport& report) {
    const std::vector<std::string> log = logLines(report);
    if (!log.empty()) {
        // The pane is read back with at most its capacity.
        const std::string old = dialogGetItemText(dialog, IDC_LOG);
        const std::string_view kept = std::string_view(old).substr(0, kLogCapacity);
        dialogSetItemText(dialog, IDC_LOG, trimLog(kept, joinLines(log, kDialogLineEnd)));
    }
    if (!report.completed()) {
        std::string text = joinLines(messageLines(report), kDialogLineEnd);
        text.resize(text.size() - std::strlen(kDialogLineEnd));  // none after the last line
        dialogMessageBox(dialog, text, "Debug Message");
    }
}
