// Reading marliva-convert's arguments: options anywhere before "--", long
// ones also as --name=value, short ones bundled (-rn) or with their value
// attached (-j4).
#include "command_line.h"

#include <charconv>
#include <cmath>
#include <cstdint>
#include <string_view>

#include "characters.h"
#include "decimal_number.h"
#include "time_change.h"

const char kUsage[] =
    "usage: marliva-convert [options] INPUT OUTPUT\n"
    "       marliva-convert [options] --batch [batch options] FILE|FOLDER...\n"
    "\n"
    "Converts SRT => SSA, SSA => SRT and SRT => SRT (timing lines <=> frame lines);\n"
    "the extensions of INPUT and OUTPUT choose the conversion.\n"
    "\n"
    "  --fps RATE                 frame rate for frame lines (default 25)\n"
    "  --no-join                  SRT timing lines => SSA: one Dialogue line per text line\n"
    "  --first-sub H:M:S[.FFF]    move all times so that the first subtitle starts there\n"
    "  --strict                   fail, writing nothing, when an input line is not converted\n"
    "  --retime FROM:TO           change the speed: every time x FROM/TO (23.976:25, 24000/1001:25);\n"
    "                             frame lines read at FROM and written at TO\n"
    "  --shift [+|-]H:M:S[.FFF]   add to every time (-1.5, +0:01:00); after any --retime\n"
    "  --from, --until H:M:S[.FFF]\n"
    "                             shift only the subtitles that start from / before there\n"
    "  --sync A=B                 move time A (or #N, the start of subtitle N) to B; twice:\n"
    "                             stretch so that A goes to B and C to D\n"
    "  --markup keep|translate|strip\n"
    "                             italics, colours, positions...: copied as they stand (keep,\n"
    "                             the default), written in the output's own markup, or removed\n"
    "  --batch FILE|FOLDER...     convert each file, and the .srt, .ssa and .ass files of\n"
    "                             each folder, to the other extension beside it\n"
    "Batch options:\n"
    "  --overwrite                replace outputs that already exist\n"
    "  -r, --recursive            also the files in the folders' subfolders\n"
    "  --to ssa|srt|frames|timing\n"
    "                             one conversion for the whole batch\n"
    "  -o, --output-dir DIR       write the outputs under DIR, as the inputs lie in their folders\n"
    "  -n, --dry-run              say what would be done; convert every file, write nothing\n"
    "  --json                     one JSON object per file and one of the totals on stdout\n"
    "  -j, --jobs N               convert N files at once (default: one per core)\n"
    "  --help, --version\n";

namespace {

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
    if (readDecimal(number, value) != number.size() || !std::isfinite(value)) return false;
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

// Below 1000 hours: the hours go up to 999, and the minutes and seconds may
// be given beyond 59 within that.
bool firstSubInRange(const ConversionSettings& settings) {
    const std::uint64_t seconds = settings.firstSubHours * std::uint64_t{3600} +
                                  settings.firstSubMinutes * std::uint64_t{60} +
                                  settings.firstSubSeconds;
    return seconds < 1000 * std::uint64_t{3600};
}

struct Option {
    const char* longName;
    char shortName;  // 0 for none
    bool takesValue;
    bool batchOnly;
};

const Option kOptions[] = {
    {"help", 'h', false, false},        {"version", 0, false, false},
    {"fps", 0, true, false},            {"no-join", 0, false, false},
    {"first-sub", 0, true, false},      {"strict", 0, false, false},
    {"batch", 0, false, false},         {"overwrite", 0, false, true},
    {"recursive", 'r', false, true},    {"to", 0, true, true},
    {"output-dir", 'o', true, true},    {"dry-run", 'n', false, true},
    {"json", 0, false, true},           {"jobs", 'j', true, true},
    {"retime", 0, true, false},         {"shift", 0, true, false},
    {"from", 0, true, false},           {"until", 0, true, false},
    {"sync", 0, true, false},
    {"markup", 0, true, false},
};

const Option* findLong(std::string_view name) {
    for (const Option& option : kOptions)
        if (name == option.longName) return &option;
    return nullptr;
}

const Option* findShort(char name) {
    for (const Option& option : kOptions)
        if (option.shortName && name == option.shortName) return &option;
    return nullptr;
}

std::string valueError(std::string_view name, std::string_view value) {
    const char* what = "";
    if (name == "fps") what = "the frame rate must be a plain decimal number";
    if (name == "first-sub") what = "the first-sub time must be H:M:S or H:M:S.FFF, below 1000 hours";
    if (name == "to") what = "--to takes ssa, srt, frames or timing";
    if (name == "output-dir") what = "--output-dir needs a folder";
    if (name == "jobs") what = "--jobs takes a whole number from 1 to 64";
    if (name == "retime") what = "--retime takes FROM:TO, two frame rates above 0 (23.976:25, 24000/1001:25)";
    if (name == "shift") what = "--shift takes [+|-]H:M:S[.FFF] below 1000 hours (-1.5, +0:01:00)";
    if (name == "from" || name == "until")
        what = "--from and --until take H:M:S[.FFF] below 1000 hours";
    if (name == "sync") what = "--sync takes A=B, A a time or #N (the start of subtitle N), B a time";
    if (name == "markup") what = "--markup takes keep, translate or strip";
    return std::string(what) + ": " + std::string(value);
}

bool setDirection(std::string_view value, Direction& direction) {
    if (value == "ssa") direction = Direction::toSsa;
    else if (value == "srt") direction = Direction::toSrt;
    else if (value == "frames") direction = Direction::toFrames;
    else if (value == "timing") direction = Direction::toTiming;
    else return false;
    return true;
}

// A time option's value into the command line; false when it is not one.
bool setTimeValue(std::string_view name, std::string_view value, CommandLine& line) {
    ConversionSettings& settings = line.settings;
    if (name == "retime") {
        const std::size_t colon = value.find(':');
        settings.retime = true;
        return colon != std::string_view::npos && readRateRatio(value.substr(0, colon), settings.retimeFrom) &&
               readRateRatio(value.substr(colon + 1), settings.retimeTo);
    }
    if (name == "shift") {
        settings.shiftTimes = true;
        return readClockTime(value, true, settings.shiftBy);
    }
    if (name == "from" || name == "until") {
        line.shiftBound = "--" + std::string(name);
        return readClockTime(value, false, name == "from" ? settings.shiftFrom : settings.shiftUntil);
    }
    if (settings.syncPoints == 2) return false;
    line.syncTexts.emplace_back(value);
    return readSyncPoint(value, settings.sync[settings.syncPoints++]);
}

// What is wrong with the time options together; empty when nothing.
std::string checkTimeOptions(const CommandLine& line) {
    const ConversionSettings& settings = line.settings;
    if (settings.retime && line.fpsGiven)
        return "--fps and --retime exclude each other: --retime reads frame lines at FROM and writes them at TO";
    const char* moves[3];
    int given = 0;
    if (settings.shiftFirstSub) moves[given++] = "--first-sub";
    if (settings.shiftTimes) moves[given++] = "--shift";
    if (settings.syncPoints > 0) moves[given++] = "--sync";
    if (given > 1) return std::string(moves[0]) + " and " + moves[1] + " exclude each other";
    if (!line.shiftBound.empty() && !settings.shiftTimes) return line.shiftBound + " goes with --shift";
    if (settings.shiftUntil <= settings.shiftFrom) return "--until must be later than --from";
    if (settings.syncPoints == 2 && settings.sync[0].entry == 0 && settings.sync[1].entry == 0 &&
        !syncPointsFit(settings.sync[0], settings.sync[1]))
        return "--sync " + line.syncTexts[0] + " and --sync " + line.syncTexts[1] +
               ": two different times, the later one going to the later time";
    return {};
}

// The --markup value; false when it is none of the three.
bool setMarkup(std::string_view value, MarkupMode& mode) {
    if (value == "keep") mode = MarkupMode::keep;
    else if (value == "translate") mode = MarkupMode::translate;
    else if (value == "strip") mode = MarkupMode::strip;
    else return false;
    return true;
}

// The option's value into the command line; false when it is not one.
bool setValue(std::string_view name, std::string_view value, CommandLine& line) {
    ConversionSettings& settings = line.settings;
    if (name == "fps") {
        line.fpsGiven = true;
        return parseRate(value, settings.frameRate);
    }
    if (name == "retime" || name == "shift" || name == "from" || name == "until" || name == "sync")
        return setTimeValue(name, value, line);
    if (name == "first-sub") {
        settings.shiftFirstSub = true;
        return parseFirstSub(value, settings) && firstSubInRange(settings);
    }
    if (name == "to") return setDirection(value, line.direction);
    if (name == "markup") return setMarkup(value, settings.markup);
    if (name == "output-dir") {
        line.outputFolder = value;
        return !value.empty();
    }
    std::uint32_t jobs = 0;
    if (!parseUnsigned(value, jobs) || jobs < 1 || jobs > kMostJobs) return false;
    line.jobs = static_cast<int>(jobs);
    return true;
}

void setFlag(std::string_view name, CommandLine& line) {
    if (name == "help") line.help = true;
    if (name == "version") line.version = true;
    if (name == "no-join") line.settings.joinWithNewline = false;
    if (name == "strict") line.settings.strict = true;
    if (name == "batch") line.batch = true;
    if (name == "overwrite") line.overwrite = true;
    if (name == "recursive") line.recursive = true;
    if (name == "dry-run") line.dryRun = true;
    if (name == "json") line.json = true;
}

// Reads the arguments one at a time; `batchOption` keeps the first option
// given that only a batch takes.
struct Reader {
    int argc;
    char** argv;
    int at = 1;
    std::string batchOption;
};

std::string applyOption(Reader& reader, const Option& option, std::string_view spelled,
                        const char* attached, CommandLine& line) {
    if (option.batchOnly && reader.batchOption.empty()) reader.batchOption = spelled;
    if (!option.takesValue) {
        if (attached) return std::string(spelled) + " takes no value";
        setFlag(option.longName, line);
        return {};
    }
    if (!attached) {
        if (reader.at + 1 >= reader.argc) return "missing value after " + std::string(spelled);
        attached = reader.argv[++reader.at];
    }
    if (!setValue(option.longName, attached, line)) return valueError(option.longName, attached);
    return {};
}

std::string readLongOption(Reader& reader, std::string_view arg, CommandLine& line) {
    const std::size_t equals = arg.find('=');
    const std::string_view spelled = arg.substr(0, equals);
    const Option* option = findLong(spelled.substr(2));
    if (!option) return "unknown option: " + std::string(spelled);
    const char* attached = equals == std::string_view::npos ? nullptr : arg.data() + equals + 1;
    return applyOption(reader, *option, spelled, attached, line);
}

// -rn, -j4, -o DIR: flags bundled, the last one may take a value.
std::string readShortOptions(Reader& reader, std::string_view arg, CommandLine& line) {
    for (std::size_t i = 1; i < arg.size(); ++i) {
        const Option* option = findShort(arg[i]);
        const std::string spelled = {'-', arg[i]};
        if (!option) return "unknown option: " + spelled;
        const char* attached = option->takesValue && i + 1 < arg.size() ? arg.data() + i + 1 : nullptr;
        if (std::string error = applyOption(reader, *option, spelled, attached, line); !error.empty())
            return error;
        if (option->takesValue) break;
    }
    return {};
}

std::string checkOperands(const Reader& reader, const CommandLine& line) {
    if (line.batch) {
        if (line.operands.empty()) return "--batch needs at least one file or folder";
        return {};
    }
    if (!reader.batchOption.empty()) return reader.batchOption + " is an option of --batch";
    if (line.operands.size() != 2) return "expected INPUT and OUTPUT";
    return {};
}

}  // namespace

std::string parseCommandLine(int argc, char** argv, CommandLine& line) {
    Reader reader{argc, argv, 1, {}};
    bool optionsEnded = false;
    for (; reader.at < argc; ++reader.at) {
        const std::string_view arg = argv[reader.at];
        if (optionsEnded || arg.size() < 2 || arg[0] != '-') {
            line.operands.emplace_back(arg);
            continue;
        }
        if (arg == "--") {
            optionsEnded = true;
            continue;
        }
        const std::string error = arg[1] == '-' ? readLongOption(reader, arg, line)
                                                : readShortOptions(reader, arg, line);
        if (!error.empty()) return error;
        if (line.help || line.version) return {};
    }
    if (std::string error = checkTimeOptions(line); !error.empty()) return error;
    // A time change of one SRT file keeps its kind of lines.
    const ConversionSettings& settings = line.settings;
    line.settings.keepLineKind = !line.batch && (settings.retime || settings.shiftTimes || settings.syncPoints > 0);
    return checkOperands(reader, line);
}
