// The inputs of a batch and the output of each, listed whole before the
// first output is written, so that a batch never takes its own outputs for
// inputs: the files named and those found in the folders named, each file
// once whatever the names that lead to it, never one in the output folder;
// each output's name; and why an input is left alone (no conversion for its
// name, a file of the wrong kind for --to, an output that is an input or
// another input's output, an output that exists, an output that is no
// regular file or a link to anything but a regular file of its extension).
// The batch's threads only read the plan.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

#include "command_line.h"

enum class FileStatus { converted, skipped, failed, notReached };

struct BatchItem {
    std::string input;
    std::string output;   // empty when the input has none
    std::string refusal;  // why it is not run; empty when it is
    FileStatus refusedAs = FileStatus::failed;
    bool folder = false;  // a folder that could not be read, counted apart from the files
};

struct BatchPlan {
    // Each item's input and output, each ended by a zero byte, one item after
    // the other, and the refusals apart: a library of ten thousand files
    // takes a few hundred kilobytes.
    std::string names;
    std::string refusals;
    struct Entry {
        std::size_t names;     // where its input starts in `names`
        std::size_t refusal;   // where its refusal starts in `refusals`, or npos
        FileStatus refusedAs;
        bool folder;
    };
    std::vector<Entry> entries;
    std::size_t files = 0;  // the entries that are files
};

// Lists the batch's inputs and decides each one's output and refusal.
void planBatch(BatchPlan& plan, const CommandLine& line);
// Item i of the plan, 0 <= i < entries.size().
BatchItem batchItem(const BatchPlan& plan, std::size_t i);

// The folder part of a path ("." for a bare name), and a path joined to a
// name below it.
std::string folderOf(const std::string& path);
std::string joinPath(const std::string& folder, const std::string& name);
