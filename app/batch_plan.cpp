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

struct Walk {
    const CommandLine& line;
    bool outputFolderKnown = false;
    FileIdentity outputFolder;
    std::vector<FoundInput> found;
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

bool isOutputFolder(const Walk& walk, const std::string& path) {
    FileIdentity identity;
    return walk.outputFolderKnown && fileIdentity(path.c_str(), identity) && identity == walk.outputFolder;
}

// The files of a folder, its subfolders' with -r; `rootLength` is where the
// path below the folder named on the command line starts.
void gatherFolder(Walk& walk, const std::string& folder, std::size_t rootLength) {
    std::vector<FolderEntry> entries;
    int error = 0;
    if (!listFolder(folder, entries, error)) {
        walk.found.push_back({folder, {}, "cannot read the folder: " + errorText(error)});
        return;
    }
    std::sort(entries.begin(), entries.end(),
              [](const FolderEntry& a, const FolderEntry& b) { return a.name < b.name; });
    for (const FolderEntry& entry : entries) {
        const std::string path = joinPath(folder, entry.name);
        if (entry.kind == EntryKind::folder && walk.line.recursive && !isOutputFolder(walk, path))
            gatherFolder(walk, path, rootLength);
        else if (entry.kind == EntryKind::file && takenFromFolder(entry.name, walk.line.direction))
            walk.found.push_back({path, path.substr(rootLength), {}});
    }
}

std::string nameOf(const std::string& path) {
    std::size_t start = path.size();
    while (start > 0 && !isPathSeparator(path[start - 1])) --start;
    return path.substr(start);
}

std::vector<FoundInput> gatherInputs(const CommandLine& line) {
    Walk walk{line, false, {}, {}};
    walk.outputFolderKnown = !line.outputFolder.empty() && isFolder(line.outputFolder) &&
                             fileIdentity(line.outputFolder.c_str(), walk.outputFolder);
    for (const std::string& operand : line.operands) {
        if (isFolder(operand))
            gatherFolder(walk, operand, joinPath(operand, {}).size());
        else
            walk.found.push_back({operand, nameOf(operand), {}});
    }
    return std::move(walk.found);
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

// What names one output file whatever the path to it: the file's identity
// when it exists, else its folder's identity and its name, else its path.
struct OutputKeys {
    std::unordered_map<std::string, std::string> folderKeys;  // a folder's path: its key
    std::unordered_map<std::string, std::size_t> claimed;     // an output's key: its first input
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

std::string outputKey(OutputKeys& keys, const std::string& output) {
    std::string resolved;
    if (!resolveLinks(output.c_str(), resolved)) resolved = output;
    FileIdentity identity;
    if (fileIdentity(resolved.c_str(), identity)) return "file " + identityKey(identity);
    const std::string folder = folderOf(resolved);
    auto known = keys.folderKeys.find(folder);
    if (known == keys.folderKeys.end()) {
        const bool exists = fileIdentity(folder.c_str(), identity);
        known = keys.folderKeys.emplace(folder, exists ? "in " + identityKey(identity) : std::string()).first;
    }
    if (known->second.empty()) return "path " + folded(resolved);
    return known->second + '/' + folded(nameOf(resolved));
}

struct Refusals {
    std::vector<FileIdentity> inputs;  // sorted
    OutputKeys keys;
};

std::string refusalOf(Refusals& refusals, const std::vector<BatchItem>& items, BatchItem& item,
                      const CommandLine& line) {
    const std::string& output = item.output;
    FileIdentity identity;
    if (fileIdentity(output.c_str(), identity) &&
        std::binary_search(refusals.inputs.begin(), refusals.inputs.end(), identity, IdentityOrder()))
        return output + " is also an input of this batch";
    const auto claim = refusals.keys.claimed.emplace(outputKey(refusals.keys, output), items.size());
    if (!claim.second) return output + " is also the output of " + items[claim.first->second].input;
    if (!line.overwrite && pathExists(output.c_str())) {
        item.refusedAs = FileStatus::skipped;
        return output + " exists (--overwrite replaces it)";
    }
    return {};
}

BatchItem planItem(Refusals& refusals, const std::vector<BatchItem>& items, const FoundInput& found,
                   const CommandLine& line) {
    BatchItem item{found.path, {}, found.error};
    if (!item.refusal.empty()) return item;
    if (std::string kind = wrongKind(found.path, line.direction); !kind.empty()) {
        item.refusal = kind;
        item.refusedAs = FileStatus::skipped;
        return item;
    }
    item.output = outputNameFor(found, line);
    if (item.output.empty())
        item.refusal = "no output name (the name needs a three-letter extension)";
    else
        item.refusal = refusalOf(refusals, items, item, line);
    return item;
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

std::vector<BatchItem> planBatch(const CommandLine& line) {
    const std::vector<FoundInput> found = gatherInputs(line);
    Refusals refusals;
    for (const FoundInput& input : found) {
        FileIdentity identity;
        if (input.error.empty() && fileIdentity(input.path.c_str(), identity))
            refusals.inputs.push_back(identity);
    }
    std::sort(refusals.inputs.begin(), refusals.inputs.end(), IdentityOrder());
    std::vector<BatchItem> items;
    items.reserve(found.size());
    for (const FoundInput& input : found) items.push_back(planItem(refusals, items, input, line));
    return items;
}
