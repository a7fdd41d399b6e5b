// What a batch says of each file and of the whole: a line for people (on
// stdout, or stderr under --json), the lines not converted and notes on
// stderr, and with --json one object a file and one of the totals on stdout.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "batch_plan.h"
#include "run_report.h"

struct FileResult {
    FileStatus status = FileStatus::failed;
    std::string reason;  // why it was skipped or failed
    std::int32_t subs = 0;
    NotConvertedLines notConverted;
    MarkupDropped markupDropped;
    ChangedTimes changed;  // where a time change puts the first and last times
    std::string note;  // a frame rate that the file declares and the run does not use
    double seconds = 0;
};

struct BatchTotals {
    std::size_t files = 0;
    std::size_t foldersNotRead = 0;  // counted apart from the files
    std::size_t converted = 0;
    std::size_t failed = 0;
    std::size_t skipped = 0;
    std::size_t notReached = 0;
    double seconds = 0;
};

struct ReportStyle {
    bool json = false;
    bool dryRun = false;
};

// Reports one file (or a folder that could not be read) and counts it; a
// file not reached gets no line. 0, or the system's error number when a line
// could not be written (EPIPE: its reader is gone).
int reportFile(const BatchItem& item, const FileResult& result, const ReportStyle& style, BatchTotals& totals);
void reportTotals(const BatchTotals& totals, const ReportStyle& style);

// A text as a JSON string, quoted; bytes that are not UTF-8 become U+FFFD.
std::string jsonString(const std::string& text);
