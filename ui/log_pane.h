// The log pane and the message box: the dialog's side of the run's ReportSink.
#pragma once

#include "../engine/conversion_run.h"
#include "platform_dialog.h"

// appendLog formats into the log pane (IDC_LOG), keeping it within its capacity
// (log_trim.h); showMessage shows a modal box captioned "Debug Message" with one
// OK button.
ReportSink dialogReportSink(DialogHandle dialog);
