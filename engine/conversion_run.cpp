// One conversion run: types both paths, refuses unsupported pairs, loads the
// input, makes sure that it holds a subtitle and, where the run needs it, a
// frame rate to use, calls the pair's writer, and reports what it came to.
#include "conversion_run.h"

#include <chrono>
#include <cmath>

#include "entry_scan.h"
#include "line_store.h"
#include "ssa_events.h"
#include "system_calls.h"
#include "time_change.h"
#include "writers.h"

namespace {

struct DispatchRow {
    FileKind input;
    FileKind output;
    const char* logText;
    Writer writer;
};

const DispatchRow kDispatch[] = {
    {FileKindSrt, FileKindSsa, "SRT => SSA ...", writeSrtToSsa},
    {FileKindSsa, FileKindSrt, "SSA => SRT ...", writeSsaToSrt},
    {FileKindAss, FileKindSrt, "SSA => SRT ...", writeSsaToSrt},
    {FileKindSrt, FileKindSrt, "SRT => SRT ...", writeSrtSwap},
};

const DispatchRow* findRow(FileKind input, FileKind output) {
    for (const DispatchRow& row : kDispatch)
        if (row.input == input && row.output == output) return &row;
    return nullptr;
}

RunReport failure(RunFailure kind, const std::string& path, int error) {
    RunReport report;
    report.failure = kind;
    report.path = path;
    if (error) report.reason = errorText(error);
    return report;
}

// Whether any line holds text, before an end-of-file mark or after it.
bool holdsText(const LineStore& store) {
    for (std::int32_t i = 0; i < store.count; ++i)
        if (!line(store, i).empty()) return true;
    for (std::int32_t k = 0; k < store.linesAfterEndMark; ++k)
        if (!lineAfterEndMark(store, k).empty()) return true;
    return false;
}

// What the run must know before it writes: whether the input holds a
// subtitle, and whether the run divides by the frame rate (SRT => SRT always,
// SRT => SSA when the file's entries are frame lines), and which lines an
// SRT file has, told by its first entry. A frame-line file may declare its
// frame rate, which the report passes on.
struct Survey {
    bool holdsSubtitle = false;
    bool usesFrameRate = false;
    SrtLines lines = SrtLines::any;
};

Survey survey(const DispatchRow& row, const LineStore& store, RunReport& report) {
    Survey found;
    if (layoutKindOf(row.input) == FileKindSsa) {
        EventScan scan = startEventScan(store, nullptr);
        SsaEvent event;
        found.holdsSubtitle = nextEvent(scan, event);
        return found;
    }
    SrtEntry entry;
    const EntryScan scan = firstEntry(store, entry);
    found.holdsSubtitle = entry.kind != LineKindNone;
    found.usesFrameRate = row.output == FileKindSrt || entry.kind == LineKindFrame;
    if (found.holdsSubtitle) found.lines = entry.kind == LineKindFrame ? SrtLines::frames : SrtLines::timing;
    report.declaresFrameRate = scan.declaresFrameRate;
    report.declaredFrameRate = scan.declaredFrameRate;
    return found;
}

std::uint32_t elapsedMsSince(std::chrono::steady_clock::time_point start) {
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<std::uint32_t>(std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

// Whether the output is the input itself, whatever names lead to it.
bool ontoItself(const ConversionSettings& settings) {
    FileIdentity input, output;
    return fileIdentity(settings.inputPath.c_str(), input) == 0 &&
           fileIdentity(settings.outputPath.c_str(), output) == 0 && input == output;
}

// The report of a failure: the file it is about and the system's reason.
// Times too large are reported in the input, with the latest time that the
// output holds as their reason.
void reportFailure(const ConversionSettings& settings, const Failure& failed, RunReport& report) {
    report.failure = failed.kind;
    switch (failed.kind) {
    case RunFailure::cannotWrite:
    case RunFailure::outputNotRegular: report.path = settings.outputPath; break;
    default: report.path = settings.inputPath; break;
    }
    report.reason = failed.error ? errorText(failed.error) : std::string();
}

// The report of a run whose writer has run.
void reportWriting(const ConversionSettings& settings, const WriteOutcome& written, RunReport& report) {
    report.subs = written.subs;
    report.notConverted = written.notConverted;
    report.markupDropped = written.markupDropped;
    report.overlaps = written.overlaps;
    report.changed = written.changed;
    if (written.failure) reportFailure(settings, written.failure, report);
    if (written.failure.kind == RunFailure::timesTooLarge) {
        report.reason = written.beyond.limit;
        report.subtitle = written.beyond.subtitle;
        report.subtitleLine = written.beyond.line;
    }
}

// The time change over the input: its log lines, or the failure of a sync
// point that names no entry or no longer makes a map with the other.
bool planChange(const ConversionSettings& settings, const DispatchRow& row, const LineStore& store,
                RunReport& report) {
    TimeChangePlan plan;
    std::int32_t entry;
    switch (planTimeChange(settings, store, layoutKindOf(row.input) == FileKindSsa, plan, entry)) {
    case TimeChangeProblem::none: report.timeChangeLog = timeChangeLog(settings, plan); return true;
    case TimeChangeProblem::noSuchEntry:
        report.reason = formatText("It has no subtitle %d.", static_cast<int>(entry));
        break;
    case TimeChangeProblem::pointsDoNotFit:
        report.reason = syncPointText(settings.sync[0]) + " and " + syncPointText(settings.sync[1]) +
                        " need two different times, the later one going to the later time.";
        break;
    }
    report.failure = RunFailure::syncPoints;
    report.path = settings.inputPath;
    return false;
}

}  // namespace

RunReport runConversion(const ConversionSettings& settings) {
    const DispatchRow* row = findRow(fileKindOf(settings.inputPath), fileKindOf(settings.outputPath));
    if (!row) return failure(RunFailure::fileKinds, {}, 0);

    const auto start = std::chrono::steady_clock::now();
    LineStore store;
    RunReport report;
    if (const Failure failed = loadLines(store, settings.inputPath.c_str())) {
        reportFailure(settings, failed, report);
        return report;
    }
    report.pairText = row->logText;
    report.markup = settings.markup;
    const Survey found = survey(*row, store, report);
    // An input that already has the lines the run would write.
    if (settings.inputLines != SrtLines::any && found.lines != SrtLines::any && found.lines != settings.inputLines)
        return failure(found.lines == SrtLines::frames ? RunFailure::alreadyFrameLines : RunFailure::alreadyTimingLines,
                       settings.inputPath, 0);
    // Text without a subtitle fails before anything is written; a blank input
    // gives an output without subtitles.
    if (!found.holdsSubtitle && holdsText(store))
        return failure(RunFailure::noSubtitles, settings.inputPath, 0);
    if (found.usesFrameRate && !(std::isfinite(settings.frameRate) && settings.frameRate > 0)) {
        report.failure = RunFailure::frameRate;
        report.frameRate = settings.frameRate;
        return report;
    }
    if (!planChange(settings, *row, store, report)) return report;
    // A run onto itself that would drop lines keeps the only copy of them: it
    // fails as a strict run does.
    ConversionSettings run = settings;
    report.ontoItself = !settings.strict && ontoItself(settings);
    run.strict = settings.strict || report.ontoItself;
    reportWriting(run, row->writer(store, run, settings.outputPath.c_str()), report);
    report.elapsedMs = elapsedMsSince(start);
    return report;
}
