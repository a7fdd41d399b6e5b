// The three writers of the dispatch table. Each creates its output, writes it
// whole and returns the count of subtitles it reports as "subs".
#pragma once

#include <cstdint>

#include "conversion_run.h"
#include "line_store.h"
#include "timing_lines.h"

struct WriteOutcome {
    std::int32_t subs;
    bool written;  // false when the output could not be created or written
    int error;     // then the system's error number
};

using Writer = WriteOutcome (*)(const LineStore& store, const ConversionSettings& settings,
                                TimeShift& shift, const char* outputPath);

WriteOutcome writeSrtToSsa(const LineStore& store, const ConversionSettings& settings,
                           TimeShift& shift, const char* outputPath);
WriteOutcome writeSsaToSrt(const LineStore& store, const ConversionSettings& settings,
                           TimeShift& shift, const char* outputPath);
WriteOutcome writeSrtSwap(const LineStore& store, const ConversionSettings& settings,
                          TimeShift& shift, const char* outputPath);
