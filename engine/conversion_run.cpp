// One conversion run: types both paths, refuses unsupported pairs, loads the
// input, calls the pair's writer, and reports time, subs and speed.
#include "conversion_run.h"

#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstring>

#include "line_store.h"
#include "writers.h"

const char kExtensionErrorMessage[] =
    "Error with file extensions:\r\nonly srt=>ssa, srt=>srt and ssa=>srt supported.";

std::uint32_t tickCount() {
    const auto now = std::chrono::steady_clock::now().time_since_epoch();
    return static_cast<std::uint32_t>(
        std::chrono::duration_cast<std::chrono::milliseconds>(now).count());
}

void reportRunStatistics(const ReportSink& sink, std::int32_t subs, std::uint32_t elapsedMs) {
    sinkLog(sink, " done.\r\n\r\n");
    sinkLog(sink, "time : %g sec\r\n", elapsedMs * 0.001);
    sinkLog(sink, "subs : %d\r\n", static_cast<int>(subs));
    if (elapsedMs > 0)
        sinkLog(sink, "speed: %g subs/s\r\n", subs * 1000.0 / elapsedMs);
    else
        sinkLog(sink, "speed: FAST !\r\n");
}

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
    if (row.writer == writeSrtSwap) return true;
    if (row.writer != writeSrtToSsa) return false;
    for (std::int32_t i = 0; i < store.count; ++i) {
        const LineKind kind = classifyLine(line(store, i), LineKindNone);
        if (kind != LineKindNone) return kind == LineKindFrame;
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

}  // namespace

RunOutcome runConversion(ConversionSettings& settings, const ReportSink& sink) {
    const std::uint32_t wholeSeconds =
        settings.firstSubHours * 3600u + settings.firstSubMinutes * 60u + settings.firstSubSeconds;
    settings.firstSubTime =
        static_cast<std::int32_t>(wholeSeconds) + settings.firstSubMillis * 0.001;

    const char* inputPath = settings.inputPath.data();
    const char* outputPath = settings.outputPath.data();
    const DispatchRow* row = findRow(fileKindOf(inputPath), fileKindOf(outputPath));
    if (!row) {
        sinkMessage(sink, "%s", kExtensionErrorMessage);
        return {false, 0};
    }

    TimeShift shift = 0.0;
    const std::uint32_t t0 = tickCount();
    StoreGuard guard;
    switch (loadLines(guard.store, inputPath, row->input)) {
    case LoadStatus::ok:
        break;
    case LoadStatus::cannotOpen:
        sinkMessage(sink, "Cannot read the input file:\r\n%s\r\n%s", inputPath,
                    std::strerror(guard.store.error));
        return {false, 0};
    case LoadStatus::tooLarge:
        sinkMessage(sink, "Not enough memory to load the input file:\r\n%s\r\n%s", inputPath,
                    std::strerror(guard.store.error));
        return {false, 0};
    }
    if (usesFrameRate(*row, guard.store) &&
        !(std::isfinite(settings.frameRate) && settings.frameRate > 0)) {
        sinkMessage(sink, "Invalid frame rate: %g\r\nThe frame rate must be a number above 0.",
                    settings.frameRate);
        return {false, 0};
    }

    sinkLog(sink, "%s", row->logText);
    const WriteOutcome written = row->writer(guard.store, settings, shift, outputPath);
    const std::uint32_t t1 = tickCount();
    if (!written.written) {
        sinkLog(sink, " failed.\r\n\r\n");
        sinkMessage(sink, "Cannot write the output file:\r\n%s\r\n%s", outputPath,
                    std::strerror(written.error));
        return {false, 0};
    }
    reportRunStatistics(sink, written.subs, t1 - t0);
    RunOutcome outcome;
    outcome.completed = true;
    outcome.subs = written.subs;
    outcome.textWithoutSubs = written.subs == 0 && holdsText(guard.store);
    outcome.declaresFrameRate = guard.store.declaresFrameRate;
    outcome.declaredFrameRate = guard.store.declaredFrameRate;
    return outcome;
}
