// What marliva-convert says of one run, in the words of its messages; the
// program's name is put in front where they are printed.
#pragma once

#include <string>
#include <vector>

#include "conversion_settings.h"
#include "run_report.h"

// "IN:LINE: not converted: REASON" for each line kept in the report (the first
// ten), then "IN: N more lines not converted" for those beyond.
std::vector<std::string> notConvertedLines(const std::string& input, const NotConvertedLines& lines);

// "IN:LINE: overlaps the subtitle before it after the time change" for each
// line kept, then "IN: N more subtitles overlap ..." for those beyond.
std::vector<std::string> overlapLines(const std::string& input, const NotedLines& lines);
// "IN:LINE: markup dropped: MARKUP" for the first ten pieces of markup that
// the output cannot hold, then "IN: N more pieces of markup dropped".
std::vector<std::string> markupDroppedLines(const std::string& input, const MarkupDropped& dropped);

// The message of a failed run on one line: a line after one that ends in a
// colon follows a space, any other a colon and a space.
std::string failureText(const RunReport& report);

// A failed run in marliva-convert's own words, where they are shorter than
// the dialog's message: one line that names the file ("no subtitles found in
// IN", "IN: the input file changed while it was read", "OUT is not a regular
// file", the pairs of extensions that choose a conversion); empty for the
// other failures, which print the dialog's lines.
std::string commandLineFailure(const RunReport& report, const ConversionSettings& settings);

// Why a batch's file failed: the same words without the file's name, which
// the batch's line gives first; the dialog's message on one line otherwise.
std::string batchFailure(const RunReport& report, const ConversionSettings& settings);

// Why there is no conversion from `input` to `output`, or for a batch's
// input (whose line names it) when `input` is empty: the pairs of extensions
// that choose one.
std::string noConversionText(const std::string& input, const std::string& output);

// "IN declares R frames per second; converted at S" when a frame-line input
// declares another rate than the run's; else empty.
std::string declaredRateNote(const ConversionSettings& settings, const RunReport& report);
