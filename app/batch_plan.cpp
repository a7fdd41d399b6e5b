// Planning a batch: the inputs gathered from files and folders, each one's
// output named, and the refusals that keep a batch from ever destroying a
// file.
#include "batch_plan.h"

#include <algorithm>
#include <unordered_map>

#include "command_system.h"
#include "file_kind.h"
#include "system_calls.h"

namespace {

// An input and its path below the folder named on the command line (its
// name alone for a file named there), which an output folder repeats.
struct FoundInput {
    std::string path;
    std::string relative;
    std::string error;  // a folder that could not be read
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

bool isOutputFolder(const BatchPlan& plan, const std::string& path) {
    FileIdentity identity;
    return plan.outputFolderKnown && fileIdentity(path.c_str(), identity) && identity == plan.outputFolder;
}

std::string nameOf(const std::string& path) {
    std::size_t start = path.size();
    while (start > 0 && !isPathSeparator(path[start - 1])) --start;
    return path.substr(start);
}

// Enters a folder; false, with the folder as a failed input, when it cannot be read.
bool enterFolder(InputWalk& walk, const std::string& folder, FoundInput& found) {
    WalkLevel level{folder, {}, 0};
    int error = 0;
    if (!listFolder(folder, level.entries, error)) {
        found = {folder, {}, "cannot read the folder: " + errorText(error)};
        return false;
    }
    std::sort(level.entries.begin(), level.entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    walk.levels.push_back(std::move(level));
    return true;
}

// The next input in the batch's order: the operands in theirs, a folder's
// files by name, a subfolder's (with -r) where its name falls, never through
// a link to a folder nor into the output folder.
bool nextInput(const BatchPlan& plan, InputWalk& walk, FoundInput& found) {
    const CommandLine& line = *plan.line;
    for (;;) {
        if (walk.levels.empty()) {
            if (walk.operand == line.operands.size()) return false;
            const std::string& operand = line.operands[walk.operand++];
            if (!isFolder(operand)) {
                found = {operand, nameOf(operand), {}};
                return true;
            }
            walk.rootLength = joinPath(operand, {}).size();
            if (!enterFolder(walk, operand, found)) return true;
            continue;
        }
        WalkLevel& level = walk.levels.back();
        if (level.next == level.entries.size()) {
            walk.levels.pop_back();
            continue;
        }
        const FolderEntry& entry = level.entries[level.next++];
        const std::string path = joinPath(level.folder, entry.name);
        if (entry.kind == EntryKind::folder && line.recursive && !isOutputFolder(plan, path)) {
            if (!enterFolder(walk, path, found)) return true;
        } else if (entry.kind == EntryKind::file && takenFromFolder(entry.name, line.direction)) {
            found = {path, path.substr(walk.rootLength), {}};
            return true;
        }
    }
}

// The output of an input: beside it, or below the output folder.
std::string outputNameFor(const FoundInput& input, const CommandLine& line) {
    const bool intoFolder = !line.outputFolder.empty();
    const std::string base = intoFolder ? joinPath(line.outputFolder, input.relative) : input.path;
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

struct IdentityOrder {
    bool operator()(const FileIdentity& a, const FileIdentity& b) const {
        return a.volume != b.volume ? a.volume < b.volume : a.index < b.index;
    }
};

std::string identityKey(const FileIdentity& identity) {
    return std::to_string(identity.volume) + ':' + std::to_string(identity.index);
}

// On a system whose names ignore case, a name in one case.
std::string folded(std::string text) {
    if (namesIgnoreCase())
        for (char& c : text) c = (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
    return text;
}

// What names one output file whatever the path to it: the file that the
// path leads to through links, by its folder's identity and its name, or by
// its path when the folder is yet to be made. A folder is looked up once, so
// that the key stays the same while the batch makes folders and outputs.
std::string outputKey(BatchPlan& plan, const std::string& output) {
    std::string resolved;
    if (!resolveLinks(output.c_str(), resolved)) resolved = output;
    const std::string folder = folderOf(resolved);
    auto known = plan.folderKeys.find(folder);
    if (known == plan.folderKeys.end()) {
        FileIdentity identity;
        const bool exists = fileIdentity(folder.c_str(), identity);
        known = plan.folderKeys.emplace(folder, exists ? "in " + identityKey(identity) : std::string()).first;
    }
    if (known->second.empty()) return "path " + folded(resolved);
    return known->second + '/' + folded(nameOf(resolved));
}

std::string refusalOf(BatchPlan& plan, BatchItem& item) {
    const std::string& output = item.output;
    FileIdentity identity;
    if (fileIdentity(output.c_str(), identity) &&
        std::binary_search(plan.inputs.begin(), plan.inputs.end(), identity, IdentityOrder()))
        return output + " is also an input of this batch";
    std::string key = outputKey(plan, output);
    if (plan.shared.count(std::hash<std::string>()(key))) {
        const auto claim = plan.firstInput.emplace(std::move(key), item.input);
        if (!claim.second) return output + " is also the output of " + claim.first->second;
    }
    if (!plan.line->overwrite && pathExists(output.c_str())) {
        item.refusedAs = FileStatus::skipped;
        return output + " exists (--overwrite replaces it)";
    }
    return {};
}

// The item's output, and a refusal that needs no other input: false when
// it is refused.
bool nameOutput(const FoundInput& found, const CommandLine& line, BatchItem& item) {
    item = BatchItem{found.path, {}, found.error};
    if (!item.refusal.empty()) return false;
    item.refusal = wrongKind(found.path, line.direction);
    if (!item.refusal.empty()) {
        item.refusedAs = FileStatus::skipped;
        return false;
    }
    item.output = outputNameFor(found, line);
    if (item.output.empty()) item.refusal = "no output name (the name needs a three-letter extension)";
    return !item.output.empty();
}

}  // namespace

std::string folderOf(const std::string& path) {
    std::size_t end = path.size();
    while (end > 0 && !isPathSeparator(path[end - 1])) --end;
    if (end == 0) return ".";
    if (end == 1) return path.substr(0, 1);
    return path.substr(0, end - 1);
}

// The separator a path already uses, else 0.
static char separatorIn(const std::string& path) {
    for (const char c : path)
        if (isPathSeparator(c)) return c;
    return 0;
}

std::string joinPath(const std::string& folder, const std::string& name) {
    if (!folder.empty() && isPathSeparator(folder.back())) return folder + name;
    // Paths keep the separator they were given with ("films/a" on Windows too).
    char separator = separatorIn(folder);
    if (!separator) separator = separatorIn(name);
    if (!separator) separator = pathSeparator();
    return folder + separator + name;
}

void startBatchPlan(BatchPlan& plan, const CommandLine& line) {
    plan.line = &line;
    plan.outputFolderKnown = !line.outputFolder.empty() && isFolder(line.outputFolder) &&
                             fileIdentity(line.outputFolder.c_str(), plan.outputFolder);
    std::vector<std::size_t> outputs;  // the hashes of the outputs' keys
    InputWalk walk;
    FoundInput found;
    BatchItem item;
    while (nextInput(plan, walk, found)) {
        ++plan.count;
        FileIdentity identity;
        if (found.error.empty() && fileIdentity(found.path.c_str(), identity)) plan.inputs.push_back(identity);
        if (nameOutput(found, line, item)) outputs.push_back(std::hash<std::string>()(outputKey(plan, item.output)));
    }
    std::sort(plan.inputs.begin(), plan.inputs.end(), IdentityOrder());
    std::sort(outputs.begin(), outputs.end());
    for (std::size_t i = 1; i < outputs.size(); ++i)
        if (outputs[i] == outputs[i - 1]) plan.shared.insert(outputs[i]);
}

bool nextBatchItem(BatchPlan& plan, BatchItem& item) {
    FoundInput found;
    if (!nextInput(plan, plan.walk, found)) return false;
    if (nameOutput(found, *plan.line, item)) item.refusal = refusalOf(plan, item);
    return true;
}
