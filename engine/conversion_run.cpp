// One conversion run: types both paths, refuses unsupported pairs, loads the
// input, calls the pair's writer, and reports time, subs and speed.
#include "conversion_run.h"

#include <chrono>
#include <cmath>
#include <cstring>

#include "line_store.h"
#include "timing_lines.h"
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

// Whether the run divides by the frame rate: SRT => SRT always, SRT => SSA
// when the first timing line is a frame line.
bool usesFrameRate(const DispatchRow& row, const LineStore& store) {
    if (row.output == FileKindSrt && row.input == FileKindSrt) return true;
    if (row.output != FileKindSsa) return false;
    for (std::int32_t i = 0; i < store.count; ++i) {
        const LineKind kind = classifyLine(line(store, i), LineKindNone);
        if (kind != LineKindNone) return kind == LineKindFrame;
    }
    return false;
}

// Whether the input holds a subtitle: a timing line or frame line of an SRT
// file, a "Dialogue:" line after "[Events]" in a script.
bool holdsSubtitle(FileKind kind, const LineStore& store) {
    bool events = kind != FileKindSsa;
    for (std::int32_t i = 0; i < store.count; ++i) {
        const std::string_view l = line(store, i);
        if (kind == FileKindSsa) {
            if (events && l.substr(0, 9) == "Dialogue:") return true;
            events = events || l == "[Events]";
        } else if (classifyLine(l, LineKindNone) != LineKindNone) {
            return true;
        }
    }
    return false;
}

// Whether any line holds more than blanks.
bool holdsText(const LineStore& store) {
    for (std::int32_t i = 0; i < store.count; ++i)
        for (const char c : line(store, i))
            if (c != ' ' && c != '\t' && c != '\r') return true;
    return false;
}

// Frees the store however the run ends.
struct StoreGuard {
    LineStore store;
    ~StoreGuard() { release(store); }
};

RunReport failure(RunFailure kind, const std::string& path, int error) {
    RunReport report;
    report.failure = kind;
    report.path = path;
    if (error) report.reason = std::strerror(error);
    return report;
}

std::uint32_t elapsedMsSince(std::chrono::steady_clock::time_point start) {
    const auto elapsed = std::chrono::steady_clock::now() - start;
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(elapsed).count());
}

}  // namespace

RunReport runConversion(const ConversionSettings& settings) {
    const char* inputPath = settings.inputPath.c_str();
    const char* outputPath = settings.outputPath.c_str();
    const DispatchRow* row = findRow(fileKindOf(inputPath), fileKindOf(outputPath));
    if (!row) return failure(RunFailure::fileKinds, {}, 0);

    const auto start = std::chrono::steady_clock::now();
    StoreGuard guard;
    switch (loadLines(guard.store, inputPath, layoutKindOf(row->input))) {
    case LoadStatus::ok:
        break;
    case LoadStatus::cannotOpen:
        return failure(RunFailure::cannotRead, settings.inputPath, guard.store.error);
    case LoadStatus::tooLarge:
        return failure(RunFailure::tooLarge, settings.inputPath, guard.store.error);
    }
    if (usesFrameRate(*row, guard.store) &&
        !(std::isfinite(settings.frameRate) && settings.frameRate > 0)) {
        RunReport report = failure(RunFailure::frameRate, {}, 0);
        report.frameRate = settings.frameRate;
        return report;
    }

    // Text without a subtitle fails before anything is written.
    if (!holdsSubtitle(layoutKindOf(row->input), guard.store) && holdsText(guard.store))
        return failure(RunFailure::noSubtitles, settings.inputPath, 0);

    const WriteOutcome written = row->writer(guard.store, settings, outputPath);
    RunReport report;
    report.pairText = row->logText;
    report.subs = written.subs;
    report.notConverted = written.notConverted;
    report.declaresFrameRate = guard.store.declaresFrameRate;
    report.declaredFrameRate = guard.store.declaredFrameRate;
    if (settings.strict && written.notConverted.count > 0) {
        report.failure = RunFailure::linesNotConverted;
        report.path = settings.inputPath;
    } else if (!written.written) {
        report.failure = RunFailure::cannotWrite;
        report.path = settings.outputPath;
        report.reason = std::strerror(written.error);
    }
    report.elapsedMs = elapsedMsSince(start);
    return report;
}
