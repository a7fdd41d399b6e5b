// The log pane and the message box: where the dialog shows a run's report.
#pragma once

#include "../engine/run_report.h"
#include "platform_dialog.h"

// Appends the run's log lines to the log pane (IDC_LOG), keeping it within its
// capacity (log_trim.h), and shows a failed run's message in a modal box
// captioned "Debug Message" with one OK button.
void showRunReport(DialogHandle dialog, const RunReport& report);
