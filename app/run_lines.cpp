// The words of marliva-convert's messages about one run.
#include "run_lines.h"

std::vector<std::string> notConvertedLines(const std::string& input, const NotConvertedLines& lines) {
    std::vector<std::string> text;
    const std::int32_t kept = lines.count < NotConvertedLines::kKept ? lines.count : NotConvertedLines::kKept;
    for (std::int32_t i = 0; i < kept; ++i) {
        const NotConvertedLine& line = lines.first[static_cast<std::size_t>(i)];
        text.push_back(input + formatText(":%d: not converted: ", static_cast<int>(line.line)) +
                       notConvertedText(line.reason));
    }
    if (lines.count > kept)
        text.push_back(input + formatText(": %d more lines not converted", static_cast<int>(lines.count - kept)));
    return text;
}

std::string failureText(const RunReport& report) {
    std::string text;
    for (const std::string& line : messageLines(report)) {
        if (!text.empty()) text += text.back() == ':' ? " " : ": ";
        text += line;
    }
    return text;
}

std::string declaredRateNote(const ConversionSettings& settings, const RunReport& report) {
    if (!report.completed() || !report.declaresFrameRate || report.declaredFrameRate == settings.frameRate)
        return {};
    return settings.inputPath + formatText(" declares %g frames per second; converted at %g",
                                           report.declaredFrameRate, settings.frameRate);
}
