// The log pane's capacity rule and the report sink that writes into the pane.
#include "log_pane.h"

#include <array>
#include <cstdio>

const char kMessageCaption[] = "Debug Message";

std::string trimLog(std::string_view old, std::string_view added) {
    constexpr std::size_t kLimit = kLogCapacity + 1;
    if (old.size() + added.size() < kLimit) {
        return std::string(old).append(added);
    }
    std::size_t start = old.size() + added.size() - kLimit;
    std::size_t cut = old.size();
    if (start < old.size()) {
        std::size_t lineFeed = old.find('\n', start);
        if (lineFeed != std::string_view::npos) cut = lineFeed + 1;
    }
    return std::string(old.substr(cut)).append(added);
}

namespace {

void appendToPane(void* context, const char* format, std::va_list args) {
    auto dialog = static_cast<DialogHandle>(context);
    std::array<char, kMessageBufferSize> added{};
    std::vsnprintf(added.data(), added.size(), format, args);
    std::array<char, kLogCapacity + 1> old{};
    dialogGetItemText(dialog, kIdLog, old.data(), static_cast<int>(old.size()));
    std::string next = trimLog(old.data(), added.data());
    dialogSetItemText(dialog, kIdLog, next.c_str());
}

void showMessageBox(void* context, const char* format, std::va_list args) {
    std::array<char, kMessageBufferSize> text{};
    std::vsnprintf(text.data(), text.size(), format, args);
    dialogMessageBox(static_cast<DialogHandle>(context), text.data(), kMessageCaption);
}

}  // namespace

ReportSink dialogReportSink(DialogHandle dialog) {
    return ReportSink{appendToPane, showMessageBox, dialog};
}
