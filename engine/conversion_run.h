// One conversion run: from the settings to the writer that serves the pair of
// file kinds, and the report of what it came to.
#pragma once

#include <cstdint>

#include "conversion_settings.h"
#include "file_kind.h"
#include "report_sink.h"

// The message of a refused pair of file kinds.
extern const char kExtensionErrorMessage[];

// What a run came to. The dialog ignores it; the command-line companion turns
// it into an exit status and a batch summary.
struct RunOutcome {
    bool completed = false;  // false when the run showed a message instead of converting
    std::int32_t subs = 0;
    // The input holds a line with more than blanks, though no subtitle came of it.
    bool textWithoutSubs = false;
    // The frame rate that a frame-line input declares on its first line, if any.
    bool declaresFrameRate = false;
    double declaredFrameRate = 0.0;
};

RunOutcome runConversion(ConversionSettings& settings, const ReportSink& sink);

// The report lines after " done.": time, subs and speed, from the elapsed ticks.
void reportRunStatistics(const ReportSink& sink, std::int32_t subs, std::uint32_t elapsedMs);

// A monotonic millisecond counter; differences of two readings never go negative
// when taken as unsigned 32-bit values.
std::uint32_t tickCount();
