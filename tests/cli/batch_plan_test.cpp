// The batch's plan over in-memory folders, which this file puts in place of
// the system's as the dialog's double stands in for the platform: which files
// a batch takes, in which order, the output of each, and the refusals that
// need no file's contents, on POSIX's names and on Windows'.
#include <gtest/gtest.h>

#include <algorithm>
#include <cerrno>
#include <map>

#include "batch_plan.h"
#include "command_line.h"
#include "command_system.h"

namespace {

struct {
    std::map<std::string, EntryKind> entries;  // by path
    char separator = '/';
} folders;

}  // namespace

// A folder lists its entries in the reverse of their names' order, so that
// nothing relies on the system's; "lib/c" cannot be read.
int listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    const std::string prefix = folder + folders.separator;
    for (auto at = folders.entries.rbegin(); at != folders.entries.rend(); ++at) {
        const std::string& path = at->first;
        if (path.size() > prefix.size() && path.rfind(prefix, 0) == 0 &&
            path.find(folders.separator, prefix.size()) == std::string::npos)
            entries.push_back({path.substr(prefix.size()), at->second});
    }
    return folder == "lib/c" ? EACCES : 0;
}
bool isFolder(const std::string& path) { return path == "lib/c" || folders.entries.count(path + folders.separator); }
char pathSeparator() { return folders.separator; }
bool isPathSeparator(char c) { return c == folders.separator; }
bool namesIgnoreCase() { return folders.separator == '\\'; }

namespace {

// The batch's plan of a command line on the tree below, one line an input:
// "input -> output" or "input: refusal".
std::string planOf(char separator, std::vector<std::string> args) {
    const std::pair<const char*, EntryKind> tree[] = {  // a folder's own entry ends in the separator
        {"lib/a/", EntryKind::folder}, {"lib/a/e1.srt", EntryKind::file}, {"lib/a/e2.SSA", EntryKind::file},
        {"lib/a/notes.txt", EntryKind::file}, {"lib/a/pipe.srt", EntryKind::other},
        {"lib/a/deep", EntryKind::folder}, {"lib/a/deep/e3.ass", EntryKind::file},
        {"lib/a/loop", EntryKind::linkToFolder}, {"lib/b/", EntryKind::folder}, {"lib/b/e1.srt", EntryKind::file},
        {"lib/w/", EntryKind::folder}, {"lib/w/A.srt", EntryKind::file}, {"lib/w/a.srt", EntryKind::file},
    };
    folders.separator = separator;
    folders.entries.clear();
    for (auto [path, kind] : tree) {
        std::string native = path;
        std::replace(native.begin(), native.end(), '/', separator);
        folders.entries.emplace(native, kind);
    }
    args.insert(args.begin(), {"marliva-convert", "--batch"});
    std::vector<char*> argv;
    for (std::string& arg : args) argv.push_back(arg.data());
    CommandLine line;
    EXPECT_EQ(parseCommandLine(static_cast<int>(argv.size()), argv.data(), line), "");
    BatchPlan plan;
    planBatch(plan, line);
    std::string found;
    for (std::size_t i = 0; i < plan.entries.size(); ++i) {
        const BatchItem item = batchItem(plan, i);
        found += item.input + (item.refusal.empty() ? " -> " + item.output : ": " + item.refusal) + '\n';
    }
    return found;
}

TEST(BatchPlan, InputsOutputsAndRefusals) {
    // A folder's .srt, .ssa and .ass files by name, not its subfolders.
    EXPECT_EQ(planOf('/', {"lib/a"}), "lib/a/e1.srt -> lib/a/e1.ssa\nlib/a/e2.SSA -> lib/a/e2.srt\n");
    // Subfolders where their names fall, never a link; -o repeats the paths below
    // the folder named; one output for two inputs; a folder that cannot be read.
    EXPECT_EQ(planOf('/', {"-r", "-o", "out", "lib/a", "lib/b", "lib/c"}),
              "lib/a/deep/e3.ass -> out/deep/e3.srt\nlib/a/e1.srt -> out/e1.ssa\nlib/a/e2.SSA -> out/e2.srt\n"
              "lib/b/e1.srt: out/e1.ssa is also the output of lib/a/e1.srt\n"
              "lib/c: cannot read the folder: Permission denied\n");
    EXPECT_EQ(planOf('/', {"--to", "frames", "lib/a"}), "lib/a/e1.srt -> lib/a/e1.frames.srt\n");
    // Names that differ in case are two files on POSIX, one on Windows.
    EXPECT_EQ(planOf('/', {"-o", "out", "lib/w"}), "lib/w/A.srt -> out/A.ssa\nlib/w/a.srt -> out/a.ssa\n");
    EXPECT_EQ(planOf('\\', {"-o", "out", "lib\\w"}),
              "lib\\w\\A.srt -> out\\A.ssa\nlib\\w\\a.srt: out\\a.ssa is also the output of lib\\w\\A.srt\n");
}

}  // namespace
