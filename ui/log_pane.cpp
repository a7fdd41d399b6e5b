// The report sink that writes into the log pane and shows the message box.
#include "log_pane.h"

#include <array>
#include <cstdio>
#include <string>

#include "log_trim.h"

namespace {

void appendToPane(void* context, const char* format, std::va_list args) {
    auto dialog = static_cast<DialogHandle>(context);
    std::array<char, kMessageBufferSize> added{};
    std::vsnprintf(added.data(), added.size(), format, args);
    std::array<char, kLogCapacity + 1> old{};
    dialogGetItemText(dialog, IDC_LOG, old.data(), static_cast<int>(old.size()));
    std::string next = trimLog(old.data(), added.data());
    dialogSetItemText(dialog, IDC_LOG, next.c_str());
}

void showMessageBox(void* context, const char* format, std::va_list args) {
    std::array<char, kMessageBufferSize> text{};
    std::vsnprintf(text.data(), text.size(), format, args);
    dialogMessageBox(static_cast<DialogHandle>(context), text.data(), "Debug Message");
}

}  // namespace

ReportSink dialogReportSink(DialogHandle dialog) {
    return ReportSink{appendToPane, showMessageBox, dialog};
}
