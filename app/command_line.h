// marliva-convert's command line: the options, anywhere before a "--", and
// the files they apply to.
#pragma once

#include <string>
#include <vector>

#include "conversion_settings.h"
#include "stop_state.h"

// Which conversion a batch makes of each input.
enum class Direction {
    byExtension,  // .srt to .ssa, .ssa and .ass to .srt
    toSsa,        // SRT files to SSA scripts
    toSrt,        // SSA and ASS scripts to SRT files
    toFrames,     // SRT files of timing lines to frame lines
    toTiming,     // SRT files of frame lines to timing lines
};

struct CommandLine {
    ConversionSettings settings;
    bool help = false;
    bool version = false;
    bool batch = false;
    bool overwrite = false;
    bool recursive = false;
    bool dryRun = false;
    bool json = false;
    Direction direction = Direction::byExtension;
    std::string outputFolder;  // empty: each output beside its input
    int jobs = 0;              // files converted at once (at most kMostJobs); 0: one per core
    std::vector<std::string> operands;
    // The time options as given, for those that exclude or need each other.
    bool fpsGiven = false;
    std::string shiftBound;  // "--from" or "--until" when given
    std::vector<std::string> syncTexts;
};

extern const char kUsage[];

// Reads the arguments into `line`; the empty text when they make sense,
// else what is wrong with them, naming the argument.
std::string parseCommandLine(int argc, char** argv, CommandLine& line);
