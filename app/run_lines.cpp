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

std::vector<std::string> overlapLines(const std::string& input, const NotedLines& lines) {
    std::vector<std::string> text;
    const std::int32_t kept = lines.count < NotedLines::kKept ? lines.count : NotedLines::kKept;
    for (std::int32_t i = 0; i < kept; ++i)
        text.push_back(input + formatText(":%d: overlaps the subtitle before it after the time change",
                                          static_cast<int>(lines.first[static_cast<std::size_t>(i)])));
    if (lines.count > kept)
        text.push_back(input + formatText(": %d more subtitles overlap the one before them after the time change",
                                          static_cast<int>(lines.count - kept)));
    return text;
}

std::vector<std::string> markupDroppedLines(const std::string& input, const MarkupDropped& dropped) {
    std::vector<std::string> text;
    const std::int32_t kept = dropped.count < MarkupDropped::kKept ? dropped.count : MarkupDropped::kKept;
    for (std::int32_t i = 0; i < kept; ++i) {
        const DroppedMarkup& markup = dropped.first[static_cast<std::size_t>(i)];
        text.push_back(input + formatText(":%d: markup dropped: ", static_cast<int>(markup.line)) + markup.text);
    }
    if (dropped.count > kept)
        text.push_back(input + formatText(": %d more pieces of markup dropped", static_cast<int>(dropped.count - kept)));
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

std::string noConversionText(const std::string& input, const std::string& output) {
    const std::string pairs = "; the extensions choose one of .srt => .ssa, .ssa => .srt, .ass => .srt, .srt => .srt";
    if (input.empty()) return "no conversion for this name" + pairs;
    return "no conversion from " + input + " to " + output + pairs;
}

std::string commandLineFailure(const RunReport& report, const ConversionSettings& settings) {
    switch (report.failure) {
    case RunFailure::fileKinds: return noConversionText(settings.inputPath, settings.outputPath);
    case RunFailure::noSubtitles: return "no subtitles found in " + settings.inputPath;
    case RunFailure::inputChanged: return settings.inputPath + ": the input file changed while it was read";
    case RunFailure::outputNotRegular: return settings.outputPath + " is not a regular file";
    default: return {};
    }
}

std::string batchFailure(const RunReport& report, const ConversionSettings& settings) {
    switch (report.failure) {
    case RunFailure::noSubtitles: return "no subtitles found";
    case RunFailure::inputChanged: return "the input file changed while it was read";
    case RunFailure::outputNotRegular: return settings.outputPath + " is not a regular file";
    case RunFailure::alreadyFrameLines: return "already frame lines";
    case RunFailure::alreadyTimingLines: return "already timing lines";
    default: return failureText(report);
    }
}

std::string declaredRateNote(const ConversionSettings& settings, const RunReport& report) {
    // A speed change reads frame lines at its old rate.
    const double rate = settings.retime ? static_cast<double>(settings.retimeFrom.num) / static_cast<double>(settings.retimeFrom.den)
                                        : settings.frameRate;
    if (!report.completed() || !report.declaresFrameRate || report.declaredFrameRate == rate) return {};
    return settings.inputPath + formatText(" declares %g frames per second; converted at %g", report.declaredFrameRate, rate);
}
