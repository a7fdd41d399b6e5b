// The three writers of the dispatch table. Each reads the store, creates its
// output, writes it whole and returns the count of subtitles it reports as
// "subs" and the input lines it could not convert.
#pragma once

#include <cstdint>

#include "conversion_settings.h"
#include "line_store.h"
#include "run_report.h"

// The first subtitle whose times pass what the output holds, which stops the
// writer: its place among the subtitles and its input line, counted from 1
// (0: none passed), and the latest time or frame of the output, as written.
struct TimesBeyond {
    std::int32_t subtitle = 0;
    std::int32_t line = 0;
    const char* limit = "";
};

struct WriteOutcome {
    std::int32_t subs = 0;
    bool written = false;  // false when the output was not put in place
    int error = 0;         // the system's error number when it could not be written
    bool notRegularFile = false;  // the output is a device, a pipe or a folder
    NotConvertedLines notConverted;
    TimesBeyond beyond;
};

using Writer = WriteOutcome (*)(const LineStore& store, const ConversionSettings& settings,
                                const char* outputPath);

WriteOutcome writeSrtToSsa(const LineStore& store, const ConversionSettings& settings,
                           const char* outputPath);
WriteOutcome writeSsaToSrt(const LineStore& store, const ConversionSettings& settings,
                           const char* outputPath);
WriteOutcome writeSrtSwap(const LineStore& store, const ConversionSettings& settings,
                          const char* outputPath);
