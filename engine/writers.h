// The three writers of the dispatch table. Each reads the store, creates its
// output, writes it whole and returns the count of subtitles it reports as
// "subs" and the input lines it could not convert.
#pragma once

#include <cstdint>

#include "conversion_settings.h"
#include "line_store.h"
#include "run_report.h"

struct WriteOutcome {
    std::int32_t subs = 0;
    bool written = false;  // false when the output was not put in place
    int error = 0;         // the system's error number when it could not be written
    bool notRegularFile = false;  // the output is a device, a pipe or a folder
    NotConvertedLines notConverted;
};

using Writer = WriteOutcome (*)(const LineStore& store, const ConversionSettings& settings,
                                const char* outputPath);

WriteOutcome writeSrtToSsa(const LineStore& store, const ConversionSettings& settings,
                           const char* outputPath);
WriteOutcome writeSsaToSrt(const LineStore& store, const ConversionSettings& settings,
                           const char* outputPath);
WriteOutcome writeSrtSwap(const LineStore& store, const ConversionSettings& settings,
                          const char* outputPath);
