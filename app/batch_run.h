// Running a batch: its files converted on several threads at once, each
// file's report printed in input order, the totals, and a clean stop.
#pragma once

#include "command_line.h"

// Runs the batch; the exit status: 0 when every file was converted, 1 when
// one failed or was skipped, 128 + the signal's number when it was stopped.
int runBatch(const CommandLine& line);
