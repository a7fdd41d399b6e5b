// The log pane and the message box: the dialog's side of the run's ReportSink.
#pragma once

#include <string>
#include <string_view>

#include "../engine/conversion_run.h"
#include "platform_dialog.h"

// The pane holds at most this many characters after an append (a lone message
// of one more may stand alone) and is read back with a buffer of this size + 1.
constexpr std::size_t kLogCapacity = 1022;
// Every formatted message fits a buffer of this size.
constexpr std::size_t kMessageBufferSize = 1024;

// The pane's next text: old followed by added, with whole lines dropped from the
// beginning of old when both together would reach 1023 characters.
std::string trimLog(std::string_view old, std::string_view added);

// appendLog formats into the log pane (edit 1023); showMessage shows a modal box
// captioned "Debug Message" with one OK button.
ReportSink dialogReportSink(DialogHandle dialog);

extern const char kMessageCaption[];
