// The inputs of a batch and the output of each, as decided before any run:
// the files named and those found in the folders named, the output's name,
// and why an input is left alone (no output name, a file of the wrong kind for
// --to, an output that is an input or another input's output, an output that
// exists).
#pragma once

#include <string>
#include <vector>

#include "command_line.h"

enum class FileStatus { converted, skipped, failed, notReached };

struct BatchItem {
    std::string input;
    std::string output;   // empty when the input has none
    std::string refusal;  // why it is not run; empty when it is
    FileStatus refusedAs = FileStatus::failed;
};

std::vector<BatchItem> planBatch(const CommandLine& line);

// The folder part of a path ("." for a bare name), and a path joined to a
// name below it.
std::string folderOf(const std::string& path);
std::string joinPath(const std::string& folder, const std::string& name);
