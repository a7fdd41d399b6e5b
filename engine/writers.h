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

// What a writer came to. The output is in place unless there is a failure:
// cannotWrite or outputNotRegular from the output, timesTooLarge (with
// `beyond`), or linesNotConverted in a strict run.
struct WriteOutcome {
    std::int32_t subs = 0;
    Failure failure;
    NotConvertedLines notConverted;
    TimesBeyond beyond;
    NotedLines overlaps;  // entries that overlap the one before them after the time change
    MarkupDropped markupDropped;
    ChangedTimes changed;  // the first and last times after a time change
};

using Writer = WriteOutcome (*)(const LineStore& store, const ConversionSettings& settings,
                                const char* outputPath);

WriteOutcome writeSrtToSsa(const LineStore& store, const ConversionSettings& settings,
                           const char* outputPath);
WriteOutcome writeSsaToSrt(const LineStore& store, const ConversionSettings& settings,
                           const char* outputPath);
WriteOutcome writeSrtSwap(const LineStore& store, const ConversionSettings& settings,
                          const char* outputPath);
