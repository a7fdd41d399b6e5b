// One conversion run: from the settings to the writer that serves the pair of
// file kinds, and the report of what it came to.
#pragma once

#include "conversion_settings.h"
#include "file_kind.h"
#include "run_report.h"

// Converts settings.inputPath into settings.outputPath. A run that fails
// writes nothing: an existing output (or, converting a file onto itself, the
// input) keeps its bytes.
RunReport runConversion(const ConversionSettings& settings);
