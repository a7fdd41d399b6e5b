// marliva-convert: the command-line companion of the dialog, one conversion
// run per input on the same engine, for scripts and batches.
#include <cstdio>
#include <string>
#include <vector>

#include "batch_run.h"
#include "command_line.h"
#include "conversion_run.h"
#include "run_lines.h"
#include "stop_state.h"
#include "version.h"

namespace {

constexpr int kExitCompleted = 0;
constexpr int kExitMessage = 1;
constexpr int kExitUsage = 2;

void printMessages(const std::vector<std::string>& lines) {
    std::fflush(stdout);
    for (const std::string& line : lines) std::fprintf(stderr, "marliva-convert: %s\n", line.c_str());
}

int usageError(const std::string& what) {
    std::fprintf(stderr, "marliva-convert: %s\n", what.c_str());
    std::fprintf(stderr, "marliva-convert: Try 'marliva-convert --help'.\n");
    return kExitUsage;
}

// One run: its log on stdout; on stderr the lines it did not convert and
// any message.
int convertOne(const CommandLine& line) {
    ConversionSettings settings = line.settings;
    settings.inputPath = line.operands[0];
    settings.outputPath = line.operands[1];
    const RunReport report = runConversion(settings);
    std::fputs(joinLines(logLines(report), "\n").c_str(), stdout);
    printMessages(notConvertedLines(settings.inputPath, report.notConverted));
    printMessages(overlapLines(settings.inputPath, report.overlaps));
    printMessages(markupDroppedLines(settings.inputPath, report.markupDropped));
    if (!report.completed()) {
        const std::string line = commandLineFailure(report, settings);
        printMessages(line.empty() ? messageLines(report) : std::vector<std::string>{line});
        return kExitMessage;
    }
    if (const std::string note = declaredRateNote(settings, report); !note.empty()) printMessages({note});
    return kExitCompleted;
}

}  // namespace

int main(int argc, char** argv) {
    CommandLine line;
    if (const std::string error = parseCommandLine(argc, argv, line); !error.empty()) return usageError(error);
    if (line.help) {
        std::fputs(kUsage, stdout);
        return kExitCompleted;
    }
    if (line.version) {
        std::puts("marliva-convert " MARLIVA_VERSION);
        return kExitCompleted;
    }
    // A stop signal: the temporary files of the outputs being written go; a
    // single run ends at once, a batch stops cleanly.
    catchStops(line.batch);
    const int status = line.batch ? runBatch(line) : convertOne(line);
    std::fflush(stdout);
    return status;
}
