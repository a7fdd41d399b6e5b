// marliva-convert: the command-line companion of the dialog, one conversion
// run per input on the same engine, for scripts and batches.
#include <charconv>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>
#include <vector>

#include "conversion_run.h"
#include "system_calls.h"
#include "version.h"

namespace {

constexpr int kExitCompleted = 0;
constexpr int kExitMessage = 1;
constexpr int kExitUsage = 2;

const char kUsage[] =
    "usage: marliva-convert [--fps RATE] [--no-join] [--first-sub H:M:S[.FFF]] INPUT OUTPUT\n"
    "       marliva-convert [options] [--overwrite] --batch FILE...\n"
    "\n"
    "Converts SRT => SSA, SSA => SRT and SRT => SRT (timing lines <=> frame lines);\n"
    "the extensions of INPUT and OUTPUT choose the conversion.\n"
    "\n"
    "  --fps RATE                 frame rate for frame lines (default 25)\n"
    "  --no-join                  SRT => SSA: one Dialogue line per text line\n"
    "  --first-sub H:M:S[.FFF]    move all times so that the first subtitle starts there\n"
    "  --batch FILE...            convert each file to the other extension beside it\n"
    "  --overwrite                --batch: replace outputs that already exist\n"
    "  --help, --version\n";

// Each line of a message on standard error, with the program's name in front.
void printMessage(const std::vector<std::string>& lines) {
    std::fflush(stdout);
    for (const std::string& line : lines) std::fprintf(stderr, "marliva-convert: %s\n", line.c_str());
}

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A plain decimal number: an optional sign, then digits with an optional point.
bool parseRate(std::string_view text, double& rate) {
    std::size_t i = (!text.empty() && (text[0] == '+' || text[0] == '-')) ? 1 : 0;
    bool digits = false, point = false;
    for (std::size_t j = i; j < text.size(); ++j) {
        if (isDigit(text[j])) digits = true;
        else if (text[j] == '.' && !point) point = true;
        else return false;
    }
    if (!digits) return false;
    const std::string_view number = text.substr(i);
    double value = 0;
    const auto result = std::from_chars(number.data(), number.data() + number.size(), value);
    if (result.ec != std::errc() || result.ptr != number.data() + number.size()) return false;
    rate = text[0] == '-' ? -value : value;
    return true;
}

bool parseUnsigned(std::string_view text, std::uint32_t& value) {
    if (text.empty()) return false;
    for (char c : text)
        if (!isDigit(c)) return false;
    const auto result = std::from_chars(text.data(), text.data() + text.size(), value);
    return result.ec == std::errc() && result.ptr == text.data() + text.size();
}

// H:M:S with an optional fraction of one to three digits: ".5" is 500 ms.
bool parseFirstSub(std::string_view text, ConversionSettings& settings) {
    const std::size_t c1 = text.find(':');
    if (c1 == std::string_view::npos) return false;
    const std::size_t c2 = text.find(':', c1 + 1);
    if (c2 == std::string_view::npos) return false;
    std::string_view seconds = text.substr(c2 + 1);
    std::uint32_t millis = 0;
    const std::size_t dot = seconds.find('.');
    if (dot != std::string_view::npos) {
        const std::string_view fraction = seconds.substr(dot + 1);
        if (fraction.empty() || fraction.size() > 3 || !parseUnsigned(fraction, millis))
            return false;
        for (std::size_t n = fraction.size(); n < 3; ++n) millis *= 10;
        seconds = seconds.substr(0, dot);
    }
    settings.firstSubMillis = millis;
    return parseUnsigned(text.substr(0, c1), settings.firstSubHours) &&
           parseUnsigned(text.substr(c1 + 1, c2 - c1 - 1), settings.firstSubMinutes) &&
           parseUnsigned(seconds, settings.firstSubSeconds);
}

int usageError(const char* what, const char* argument) {
    std::fprintf(stderr, "marliva-convert: %s%s%s\n", what, argument ? ": " : "",
                 argument ? argument : "");
    std::fprintf(stderr, "marliva-convert: Try 'marliva-convert --help'.\n");
    return kExitUsage;
}

// A frame-line file that declares another frame rate than the run's: the
// run keeps the chosen one, and says so.
void noteDeclaredFrameRate(const ConversionSettings& settings, const RunReport& report) {
    if (report.declaresFrameRate && report.declaredFrameRate != settings.frameRate)
        std::fprintf(stderr,
                     "marliva-convert: %s declares %g frames per second; converted at %g\n",
                     settings.inputPath.c_str(), report.declaredFrameRate, settings.frameRate);
}

void noteNoSubtitles(const char* input) {
    std::fprintf(stderr, "marliva-convert: no subtitles found in %s\n", input);
}

int convertOne(const ConversionSettings& settings) {
    const RunReport report = runConversion(settings);
    std::fputs(joinLines(logLines(report), "\n").c_str(), stdout);
    std::fflush(stdout);
    if (report.failure == RunFailure::noSubtitles) {
        noteNoSubtitles(settings.inputPath.c_str());
        return kExitMessage;
    }
    if (!report.completed()) {
        printMessage(messageLines(report));
        return kExitMessage;
    }
    noteDeclaredFrameRate(settings, report);
    return kExitCompleted;
}

// Why the batch leaves a file alone, or nothing when it converts it: an
// output that is one of the batch's inputs is never replaced, and one that
// exists only with --overwrite.
const char* batchRefusal(const std::string& output, const std::vector<FileIdentity>& inputs,
                         bool overwrite, bool& skipped) {
    skipped = false;
    FileIdentity identity;
    if (fileIdentity(output.c_str(), identity))
        for (const FileIdentity& input : inputs)
            if (input == identity) return "is also an input of this batch";
    if (!overwrite && pathExists(output.c_str())) {
        skipped = true;
        return "exists (--overwrite replaces it)";
    }
    return nullptr;
}

int convertBatch(ConversionSettings& settings, char** files, int count, bool overwrite) {
    std::vector<FileIdentity> inputs;
    for (int i = 0; i < count; ++i) {
        FileIdentity identity;
        if (fileIdentity(files[i], identity)) inputs.push_back(identity);
    }
    int failed = 0, skipped = 0;
    for (int i = 0; i < count; ++i) {
        const char* input = files[i];
        const std::optional<std::string> output = deriveOutputName(input);
        if (!output) {
            std::printf("%s: failed: no output name (the name needs a three-letter extension)\n",
                        input);
            ++failed;
            continue;
        }
        bool skip = false;
        if (const char* refusal = batchRefusal(*output, inputs, overwrite, skip)) {
            std::printf("%s: %s: %s %s\n", input, skip ? "skipped" : "failed", output->c_str(), refusal);
            ++(skip ? skipped : failed);
            continue;
        }
        settings.inputPath = input;
        settings.outputPath = *output;
        const RunReport report = runConversion(settings);
        if (report.completed()) noteDeclaredFrameRate(settings, report);
        if (report.failure == RunFailure::noSubtitles) {
            std::printf("%s -> %s: failed: no subtitles found\n", input, output->c_str());
            ++failed;
        } else if (report.completed()) {
            std::printf("%s -> %s: %d subs\n", input, output->c_str(), static_cast<int>(report.subs));
        } else {
            // The message on one line: a line after one that ends in a colon
            // follows a space, any other a colon and a space.
            std::string reason;
            for (const std::string& line : messageLines(report)) {
                if (!reason.empty()) reason += reason.back() == ':' ? " " : ": ";
                reason += line;
            }
            std::printf("%s: failed: %s\n", input, reason.c_str());
            ++failed;
        }
        std::fflush(stdout);
    }
    if (skipped)
        std::printf("%d files: %d converted, %d failed, %d skipped\n", count,
                    count - failed - skipped, failed, skipped);
    else
        std::printf("%d files: %d converted, %d failed\n", count, count - failed, failed);
    return failed || skipped ? kExitMessage : kExitCompleted;
}

}  // namespace

int main(int argc, char** argv) {
    ConversionSettings settings;
    bool batch = false;
    bool overwrite = false;
    int i = 1;
    for (; i < argc; ++i) {
        const std::string_view arg = argv[i];
        if (arg == "--help" || arg == "-h") {
            std::fputs(kUsage, stdout);
            return kExitCompleted;
        }
        if (arg == "--version") {
            std::puts("marliva-convert " MARLIVA_VERSION);
            return kExitCompleted;
        }
        if (arg == "--no-join") {
            settings.joinWithNewline = false;
        } else if (arg == "--batch") {
            batch = true;
        } else if (arg == "--overwrite") {
            overwrite = true;
        } else if (arg == "--fps" || arg == "--first-sub") {
            if (i + 1 >= argc) return usageError("missing value after", argv[i]);
            const char* value = argv[++i];
            if (arg == "--fps" && !parseRate(value, settings.frameRate))
                return usageError("the frame rate must be a plain decimal number", value);
            if (arg == "--first-sub") {
                if (!parseFirstSub(value, settings))
                    return usageError("the first-sub time must be H:M:S or H:M:S.FFF", value);
                settings.shiftFirstSub = true;
            }
        } else if (arg == "--") {
            ++i;
            break;
        } else if (arg.size() > 1 && arg[0] == '-') {
            return usageError("unknown option", argv[i]);
        } else {
            break;
        }
    }
    const int operands = argc - i;
    if (batch) {
        if (operands < 1) return usageError("--batch needs at least one file", nullptr);
        return convertBatch(settings, argv + i, operands, overwrite);
    }
    if (operands != 2) return usageError("expected INPUT and OUTPUT", nullptr);
    settings.inputPath = argv[i];
    settings.outputPath = argv[i + 1];
    const int status = convertOne(settings);
    std::fflush(stdout);
    return status;
}
