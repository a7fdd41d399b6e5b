// The report's texts: the reasons for lines not converted, the message of a
// failed run and the log of a completed one.
#include "run_report.h"

#include <cstdarg>
#include <cstdio>

#include "line_store.h"

const char* notConvertedText(NotConverted reason) {
    switch (reason) {
    case NotConverted::unreadableTiming: return "a timing line that cannot be read";
    case NotConverted::textOfUnreadableTiming: return "text under a timing line that cannot be read";
    case NotConverted::frameLineAmongTimingLines: return "a frame line in a file of timing lines";
    case NotConverted::timingLineAmongFrameLines: return "a timing line in a file of frame lines";
    case NotConverted::textBeforeFirstSubtitle: return "text before the first subtitle";
    case NotConverted::textOutsideSubtitles: return "text outside a subtitle";
    case NotConverted::textAfterEndMark: return "text after an end-of-file mark (0x1A)";
    case NotConverted::barInText: return "a '|' in the text becomes a line break in frame lines";
    case NotConverted::newlineInText: return "a '\\n' in the text becomes a line break in SSA";
    case NotConverted::capitalNewlineInText: return "a '\\N' in the text becomes a line break in SSA";
    case NotConverted::unreadableEventTimes: return "an event whose times cannot be read";
    case NotConverted::noEvent: return "a line in [Events] that is no event";
    case NotConverted::numberNotNumber: return "an entry number that is not a number";
    case NotConverted::unreadableFrame: return "a frame line that cannot be read";
    case NotConverted::eventWithoutText: return "an event that ends before its Text field";
    case NotConverted::fieldNamedTwice: return "an event whose Format line names a field twice";
    case NotConverted::noCharacter: return "a code unit that is no character, written as U+FFFD";
    case NotConverted::cutCharacter: return "a character cut short at the end of the file, written as U+FFFD";
    case NotConverted::beforeZero: return "before 0:00:00 after the time change";
    case NotConverted::textReadAsMarkup: return "text that the output reads as markup or a line break";
    }
    return "";
}

std::string formatText(const char* format, ...) {
    std::va_list args;
    va_start(args, format);
    std::va_list again;
    va_copy(again, args);
    const int length = std::vsnprintf(nullptr, 0, format, args);
    va_end(args);
    std::string text(length > 0 ? static_cast<std::size_t>(length) : 0, '\0');
    if (length > 0) std::vsnprintf(text.data(), text.size() + 1, format, again);
    va_end(again);
    return text;
}

std::vector<std::string> messageLines(const RunReport& report) {
    switch (report.failure) {
    case RunFailure::none: return {};
    case RunFailure::fileKinds:
        return {"Error with file extensions:", "only srt=>ssa, srt=>srt and ssa=>srt supported."};
    case RunFailure::cannotRead: return {"Cannot read the input file:", report.path, report.reason};
    case RunFailure::tooLarge:
        return {"Not enough memory to load the input file:", report.path, report.reason};
    case RunFailure::frameRate:
        return {formatText("Invalid frame rate: %g", report.frameRate),
                "The frame rate must be a number above 0."};
    case RunFailure::cannotWrite: return {"Cannot write the output file:", report.path, report.reason};
    case RunFailure::noSubtitles: return {"No subtitles found in the input file:", report.path};
    case RunFailure::linesNotConverted:
        return {"Lines not converted in the input file:", report.path,
                formatText(report.ontoItself ? "%d lines (first: line %d); nothing was written, as the output "
                                               "is the input file itself."
                                             : "%d lines (first: line %d); nothing was written.",
                           static_cast<int>(report.notConverted.count),
                           static_cast<int>(report.notConverted.first[0].line))};
    case RunFailure::inputChanged: return {"The input file changed while it was read:", report.path};
    case RunFailure::inputOverLimit:
        return {"The input file is too large:", report.path,
                formatText("A run reads files of up to %llu bytes.", static_cast<unsigned long long>(kLargestInput))};
    case RunFailure::outputNotRegular:
        return {"Cannot write the output file:", report.path, "It is not a regular file."};
    case RunFailure::alreadyFrameLines: return {"The input file already has frame lines:", report.path};
    case RunFailure::alreadyTimingLines: return {"The input file already has timing lines:", report.path};
    case RunFailure::timesTooLarge:
        return {"The output cannot hold the times of the input file:", report.path,
                formatText("subtitle %d (line %d) would pass %s; nothing was written.",
                           static_cast<int>(report.subtitle), static_cast<int>(report.subtitleLine),
                           report.reason.c_str())};
    case RunFailure::syncPoints: return {"The sync points do not fit the input file:", report.path, report.reason};
    }
    return {};
}

std::vector<std::string> logLines(const RunReport& report) {
    if (report.failure == RunFailure::cannotWrite || report.failure == RunFailure::outputNotRegular)
        return {std::string(report.pairText) + " failed.", ""};
    if (!report.completed()) return {};
    std::vector<std::string> lines = {
        std::string(report.pairText) + " done.",
        "",
    };
    lines.insert(lines.end(), report.timeChangeLog.begin(), report.timeChangeLog.end());
    lines.push_back(formatText("time : %g sec", report.elapsedMs * 0.001));
    lines.push_back(formatText("subs : %d", static_cast<int>(report.subs)));
    if (report.notConverted.count > 0)
        lines.push_back(formatText("skipped: %d lines (first: line %d)",
                                   static_cast<int>(report.notConverted.count),
                                   static_cast<int>(report.notConverted.first[0].line)));
    if (report.overlaps.count > 0)
        lines.push_back(formatText("overlaps: %d subtitles overlap the one before them after the time change "
                                   "(first: line %d)",
                                   static_cast<int>(report.overlaps.count), static_cast<int>(report.overlaps.first[0])));
    if (report.markup != MarkupMode::keep)
        lines.push_back(report.markup == MarkupMode::translate ? "markup: translate" : "markup: strip");
    if (report.markupDropped.count > 0)
        lines.push_back(formatText("markup dropped: %d (first: line %d)", static_cast<int>(report.markupDropped.count),
                                   static_cast<int>(report.markupDropped.first[0].line)));
    if (report.elapsedMs > 0)
        lines.push_back(formatText("speed: %g subs/s", report.subs * 1000.0 / report.elapsedMs));
    else
        lines.push_back("speed: FAST !");
    return lines;
}

std::string joinLines(const std::vector<std::string>& lines, const char* lineEnd) {
    std::string text;
    for (const std::string& line : lines) {
        text += line;
        text += lineEnd;
    }
    return text;
}
