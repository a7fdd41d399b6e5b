// Planning a batch: the inputs gathered from files and folders, each one's
// output named, and the refusals that keep a batch from ever destroying a
// file.
#include "batch_plan.h"

#include <algorithm>
#include <cstring>
#include <unordered_map>
#include <unordered_set>

#include "characters.h"
#include "command_system.h"
#include "file_kind.h"
#include "run_lines.h"
#include "system_calls.h"

namespace {

// An input and where its path below the folder named on the command line
// starts (its name alone for a file named there), which an output folder
// repeats; or, with the reason, a folder that could not be read or a file
// named that cannot be found. Its identity when the system gives one.
struct FoundInput {
    std::string path;
    std::size_t relativeFrom = 0;
    std::string error;
    bool folder = false;
    bool identified = false;
    FileIdentity identity{};
};

// Where the walk over the batch's inputs stands: the next operand, and the
// listings of the folders it is in, each sorted by name.
struct WalkLevel {
    std::string folder;
    std::vector<FolderEntry> entries;
    std::size_t next = 0;
};

struct InputWalk {
    const CommandLine& line;
    bool outputFolderKnown = false;
    FileIdentity outputFolder{};
    std::size_t operand = 0;
    std::size_t rootLength = 0;  // where the path below the folder named starts
    std::vector<WalkLevel> levels{};
    std::vector<FileIdentity> foldersNamed{};
};

// Whether a folder's file is an input of the batch's direction.
bool takenFromFolder(const std::string& name, Direction direction) {
    const FileKind kind = layoutKindOf(fileKindOf(name));
    switch (direction) {
    case Direction::byExtension: return kind != FileKindNone;
    case Direction::toSrt: return kind == FileKindSsa;
    default: return kind == FileKindSrt;
    }
}

std::string nameOf(const std::string& path) {
    std::size_t start = path.size();
    while (start > 0 && !isPathSeparator(path[start - 1])) --start;
    return path.substr(start);
}

// An input found at `path`, with its identity when the system gives one.
FoundInput foundAt(const std::string& path, std::size_t relativeFrom, std::string error = {}, bool folder = false) {
    FoundInput found{path, relativeFrom, std::move(error), folder};
    found.identified = fileIdentity(path.c_str(), found.identity) == 0;
    return found;
}

// Enters a folder; false, with the folder as a failed input, when it cannot be read.
bool enterFolder(InputWalk& walk, const std::string& folder, FoundInput& found) {
    WalkLevel level{folder, {}, 0};
    if (const int error = listFolder(folder, level.entries)) {
        found = foundAt(folder, 0, "cannot read the folder: " + errorText(error), true);
        return false;
    }
    std::sort(level.entries.begin(), level.entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    walk.levels.push_back(std::move(level));
    return true;
}

// A folder named on the command line, unless it was named before under
// another name; true, with the folder as a failed input, when it cannot be read.
bool folderNamedFails(InputWalk& walk, const std::string& folder, FoundInput& found) {
    FileIdentity identity;
    if (fileIdentity(folder.c_str(), identity) == 0) {
        if (std::find(walk.foldersNamed.begin(), walk.foldersNamed.end(), identity) != walk.foldersNamed.end())
            return false;
        walk.foldersNamed.push_back(identity);
    }
    walk.rootLength = joinPath(folder, {}).size();
    return !enterFolder(walk, folder, found);
}

// A file named on the command line; one that cannot be found fails with the
// system's reason. A device has no identity on Windows (NUL, CON): it is read
// as any input is.
void fileNamed(const std::string& path, FoundInput& found) {
    found = foundAt(path, path.size() - nameOf(path).size());
    if (!found.identified && pathKindOf(path.c_str()) != PathKind::other) {
        const int error = fileIdentity(path.c_str(), found.identity);
        RunReport report;
        report.failure = RunFailure::cannotRead;
        report.path = path;
        report.reason = errorText(error);
        found.error = failureText(report);
    }
}

// The next input in the batch's order: the operands in theirs, a folder's
// files by name, a subfolder's (with -r) where its name falls, never through
// a link to a folder nor into the output folder.
bool nextInput(InputWalk& walk, FoundInput& found) {
    const CommandLine& line = walk.line;
    for (;;) {
        if (walk.levels.empty()) {
            if (walk.operand == line.operands.size()) return false;
            const std::string& operand = line.operands[walk.operand++];
            if (!isFolder(operand)) {
                fileNamed(operand, found);
                return true;
            }
            if (folderNamedFails(walk, operand, found)) return true;
            continue;
        }
        WalkLevel& level = walk.levels.back();
        if (level.next == level.entries.size()) {
            walk.levels.pop_back();
            continue;
        }
        const FolderEntry& entry = level.entries[level.next++];
        const std::string path = joinPath(level.folder, entry.name);
        if (entry.kind == EntryKind::folder && line.recursive) {
            FileIdentity identity;
            const bool output = walk.outputFolderKnown && fileIdentity(path.c_str(), identity) == 0 &&
                                identity == walk.outputFolder;
            if (!output && !enterFolder(walk, path, found)) return true;
        } else if (entry.kind == EntryKind::file && takenFromFolder(entry.name, line.direction)) {
            found = foundAt(path, walk.rootLength);
            return true;
        }
    }
}

// The output of an input: beside it, or below the output folder.
std::string outputNameFor(const FoundInput& input, const CommandLine& line) {
    const bool intoFolder = !line.outputFolder.empty();
    const std::string base =
        intoFolder ? joinPath(line.outputFolder, input.path.substr(input.relativeFrom)) : input.path;
    const bool swap = line.direction == Direction::toFrames || line.direction == Direction::toTiming;
    if (!swap) return deriveOutputName(base).value_or(std::string());
    if (base.size() <= 4 || base[base.size() - 4] != '.') return {};
    if (intoFolder) return base;
    const char* suffix = line.direction == Direction::toFrames ? ".frames.srt" : ".timing.srt";
    return base.substr(0, base.size() - 4) + suffix;
}

// Why a file named on the command line is not one that --to converts.
std::string wrongKind(const std::string& input, Direction direction) {
    const FileKind kind = layoutKindOf(fileKindOf(input));
    if (direction == Direction::toSrt)
        return kind == FileKindSsa ? std::string() : "not an SSA or ASS script (--to srt)";
    if (direction == Direction::byExtension || kind == FileKindSrt) return {};
    const char* to = direction == Direction::toSsa ? "ssa" : direction == Direction::toFrames ? "frames" : "timing";
    return std::string("not an SRT file (--to ") + to + ")";
}

// The item of a found input with its output, and a refusal that needs no
// other input: false when it is refused.
bool nameOutput(const FoundInput& found, const CommandLine& line, BatchItem& item) {
    item = BatchItem{found.path, {}, found.error, FileStatus::failed, found.folder};
    if (!item.refusal.empty()) return false;
    item.refusal = wrongKind(found.path, line.direction);
    if (!item.refusal.empty()) {
        item.refusedAs = FileStatus::skipped;
        return false;
    }
    if (fileKindOf(found.path) != FileKindNone) item.output = outputNameFor(found, line);
    if (item.output.empty()) item.refusal = noConversionText({}, {});
    return !item.output.empty();
}

struct IdentityOrder {
    bool operator()(const FileIdentity& a, const FileIdentity& b) const {
        return a.volume != b.volume ? a.volume < b.volume : a.index < b.index;
    }
};

struct IdentityHash {
    std::size_t operator()(const FileIdentity& identity) const {
        return std::hash<std::uint64_t>()(identity.volume * 0x9E3779B97F4A7C15u ^ identity.index);
    }
};

std::string identityKey(const FileIdentity& identity) {
    return std::to_string(identity.volume) + ':' + std::to_string(identity.index);
}

// On a system whose names ignore case, a name in one case.
std::string folded(std::string text) {
    if (namesIgnoreCase())
        for (char& c : text) c = lowerCase(c);
    return text;
}

// What planning keeps of all the inputs while it decides the refusals.
struct Planner {
    const CommandLine& line;
    BatchPlan& plan;
    std::vector<FileIdentity> inputs;  // sorted
    std::vector<std::size_t> outputKeys;  // each entry's output key's hash (0: refused)
    std::vector<bool> outputsExist;
    std::unordered_set<std::size_t> shared;  // hashes of outputs of more than one input
    std::unordered_map<std::string, std::string> firstInput;  // such an output: its first input
    std::unordered_map<std::string, std::string> folderKeys;  // a folder's path: its identity
};

const char* inputOf(const BatchPlan& plan, std::size_t i) { return plan.names.c_str() + plan.entries[i].names; }

const char* outputOf(const BatchPlan& plan, std::size_t i) {
    const char* input = inputOf(plan, i);
    return input + std::strlen(input) + 1;
}

void refuse(BatchPlan& plan, std::size_t i, const std::string& refusal, FileStatus as) {
    plan.entries[i].refusal = plan.refusals.size();
    plan.entries[i].refusedAs = as;
    plan.refusals += refusal;
    plan.refusals += '\0';
}

// What names one output file whatever the path to it: the file that the
// path leads to through links, by its folder's identity and its name, or by
// its path when the folder is yet to be made. A folder is looked up once.
std::string outputKey(Planner& planner, const std::string& output, bool exists) {
    std::string resolved = output;
    if (exists && resolveLinks(output.c_str(), resolved) != 0) resolved = output;
    const std::string folder = folderOf(resolved);
    auto known = planner.folderKeys.find(folder);
    if (known == planner.folderKeys.end()) {
        FileIdentity identity;
        const bool folderExists = fileIdentity(folder.c_str(), identity) == 0;
        known = planner.folderKeys.emplace(folder, folderExists ? "in " + identityKey(identity) : std::string()).first;
    }
    if (known->second.empty()) return "path " + folded(resolved);
    return known->second + '/' + folded(nameOf(resolved));
}

// Whether a name ends in the extension of the output's name (".ssa"), in any case.
bool endsInExtensionOf(const std::string& name, const std::string& output) {
    const std::size_t dot = output.rfind('.');
    if (dot == std::string::npos || name.size() < output.size() - dot) return false;
    const std::size_t extension = output.size() - dot;
    return equalsIgnoringCase(std::string_view(name).substr(name.size() - extension),
                              std::string_view(output).substr(dot));
}

// Why an existing output may not be written through: a device, a pipe or a
// folder is never replaced, and a link only leads to a regular file of the
// output's own extension (never to a file of another kind that it hides).
std::string unwritable(const std::string& output) {
    std::string target;
    if (const int error = resolveLinks(output.c_str(), target)) return output + ": " + errorText(error);
    const PathKind kind = pathKindOf(target.c_str());
    if (target == output)
        return kind == PathKind::folder || kind == PathKind::other ? output + " is not a regular file" : std::string();
    if (kind == PathKind::regularFile && endsInExtensionOf(target, output)) return {};
    return output + " is a link to " + target + ", which is not a regular " + output.substr(output.rfind('.')) +
           " file";
}

std::string refusalOf(Planner& planner, std::size_t i, FileStatus& as) {
    const std::string input = inputOf(planner.plan, i);
    const std::string output = outputOf(planner.plan, i);
    const bool exists = planner.outputsExist[i];
    FileIdentity identity;
    if (exists && fileIdentity(output.c_str(), identity) == 0 &&
        std::binary_search(planner.inputs.begin(), planner.inputs.end(), identity, IdentityOrder()))
        return output + " is also an input of this batch";
    if (planner.shared.count(planner.outputKeys[i])) {
        const auto claim = planner.firstInput.emplace(outputKey(planner, output, exists), input);
        if (!claim.second) return output + " is also the output of " + claim.first->second;
    }
    if (!exists) return {};
    if (std::string why = unwritable(output); !why.empty()) return why;
    if (planner.line.overwrite) return {};
    as = FileStatus::skipped;
    return output + " exists (--overwrite replaces it)";
}

// The inputs, each once: the first name found of a file stays.
void listInputs(Planner& planner) {
    BatchPlan& plan = planner.plan;
    InputWalk walk{planner.line};
    const std::string& outputFolder = planner.line.outputFolder;
    walk.outputFolderKnown = !outputFolder.empty() && isFolder(outputFolder) &&
                             fileIdentity(outputFolder.c_str(), walk.outputFolder) == 0;
    std::unordered_set<FileIdentity, IdentityHash> seen;
    FoundInput found;
    BatchItem item;
    while (nextInput(walk, found)) {
        if (found.identified && !seen.insert(found.identity).second) continue;
        if (found.identified && !found.folder) planner.inputs.push_back(found.identity);
        nameOutput(found, planner.line, item);
        plan.entries.push_back({plan.names.size(), std::string::npos, item.refusedAs, item.folder});
        plan.names += item.input;
        plan.names += '\0';
        plan.names += item.output;
        plan.names += '\0';
        if (!item.refusal.empty()) refuse(plan, plan.entries.size() - 1, item.refusal, item.refusedAs);
        if (!item.folder) ++plan.files;
    }
    std::sort(planner.inputs.begin(), planner.inputs.end(), IdentityOrder());
}

}  // namespace

std::string folderOf(const std::string& path) {
    std::size_t end = path.size();
    while (end > 0 && !isPathSeparator(path[end - 1])) --end;
    if (end == 0) return ".";
    if (end == 1) return path.substr(0, 1);
    return path.substr(0, end - 1);
}

// A folder and a name joined by the system's separator, which is what the
// program prints: on Windows "films/a" and "e1.srt" give "films/a\e1.srt",
// the part the user typed staying as typed.
std::string joinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && isPathSeparator(folder.back())) return folder + name;
    return folder + pathSeparator() + name;
}

void planBatch(BatchPlan& plan, const CommandLine& line) {
    plan = BatchPlan{};
    Planner planner{line, plan, {}, {}, {}, {}, {}, {}};
    listInputs(planner);
    const std::size_t n = plan.entries.size();
    planner.outputKeys.assign(n, 0);
    planner.outputsExist.assign(n, false);
    // The outputs that more than one input would have, by the hashes of their keys.
    std::vector<std::size_t> outputs;
    for (std::size_t i = 0; i < n; ++i) {
        if (plan.entries[i].refusal != std::string::npos) continue;
        const std::string output = outputOf(plan, i);
        planner.outputsExist[i] = pathExists(output.c_str());
        planner.outputKeys[i] = std::hash<std::string>()(outputKey(planner, output, planner.outputsExist[i]));
        outputs.push_back(planner.outputKeys[i]);
    }
    std::sort(outputs.begin(), outputs.end());
    for (std::size_t i = 1; i < outputs.size(); ++i)
        if (outputs[i] == outputs[i - 1]) planner.shared.insert(outputs[i]);
    for (std::size_t i = 0; i < n; ++i) {
        FileStatus as = FileStatus::failed;
        if (plan.entries[i].refusal != std::string::npos) continue;
        if (const std::string refusal = refusalOf(planner, i, as); !refusal.empty()) refuse(plan, i, refusal, as);
    }
}

BatchItem batchItem(const BatchPlan& plan, std::size_t i) {
    const BatchPlan::Entry& entry = plan.entries[i];
    BatchItem item{inputOf(plan, i), outputOf(plan, i), {}, entry.refusedAs, entry.folder};
    if (entry.refusal != std::string::npos) item.refusal = plan.refusals.c_str() + entry.refusal;
    return item;
}
