// The inputs of a batch and the output of each, decided as the batch goes:
// the files named and those found in the folders named, the output's name,
// and why an input is left alone (no output name, a file of the wrong kind for
// --to, an output that is an input or another input's output, an output that
// exists). A first walk over the inputs keeps only what the refusals need of
// all of them (each input's file identity, and which outputs more than one
// input would have); the second hands out the items one at a time, so that a
// batch holds no more per file than those few bytes.
#pragma once

#include <cstdint>
#include <string>
#include <unordered_map>
#include <unordered_set>
#include <vector>

#include "command_line.h"
#include "command_system.h"
#include "system_calls.h"

enum class FileStatus { converted, skipped, failed, notReached };

struct BatchItem {
    std::string input;
    std::string output;   // empty when the input has none
    std::string refusal;  // why it is not run; empty when it is
    FileStatus refusedAs = FileStatus::failed;
};

// Where a walk over the batch's inputs stands: the next operand, and the
// listings of the folders it is in, each sorted by name.
struct WalkLevel {
    std::string folder;
    std::vector<FolderEntry> entries;
    std::size_t next = 0;
};

struct InputWalk {
    std::size_t operand = 0;
    std::size_t rootLength = 0;  // where the path below the folder named starts
    std::vector<WalkLevel> levels;
};

struct BatchPlan {
    const CommandLine* line = nullptr;
    bool outputFolderKnown = false;
    FileIdentity outputFolder;
    std::size_t count = 0;                     // inputs found by the first walk
    std::vector<FileIdentity> inputs;          // their identities, sorted
    std::unordered_set<std::size_t> shared;    // hashes of outputs of more than one input
    std::unordered_map<std::string, std::string> firstInput;  // such an output: its first input
    std::unordered_map<std::string, std::string> folderKeys;  // a folder's path: its identity
    InputWalk walk;
};

// The first walk.
void startBatchPlan(BatchPlan& plan, const CommandLine& line);
// The next item of the batch, its refusal decided; false after the last.
bool nextBatchItem(BatchPlan& plan, BatchItem& item);

// The folder part of a path ("." for a bare name), and a path joined to a
// name below it.
std::string folderOf(const std::string& path);
std::string joinPath(const std::string& folder, const std::string& name);
