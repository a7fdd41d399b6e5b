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

// The message of a failed run on one line: a line after one that ends in a
// colon follows a space, any other a colon and a space.
std::string failureText(const RunReport& report);

// "IN declares R frames per second; converted at S" when a frame-line input
// declares another rate than the run's; else empty.
std::string declaredRateNote(const ConversionSettings& settings, const RunReport& report);
