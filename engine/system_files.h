// The few file-system questions the programs ask of the platform, answered by
// system_files_posix.cpp or system_files_win32.cpp as the build chooses.
#pragma once

#include <cstdint>

// What tells one file from another, whatever the names that lead to it.
struct FileIdentity {
    std::uint64_t volume = 0;
    std::uint64_t index = 0;
    bool operator==(const FileIdentity&) const = default;
};

// The identity of the file at `path` (through symbolic links); false when
// there is none.
bool fileIdentity(const char* path, FileIdentity& identity);

// Whether anything stands at `path`: a file, a folder, or a symbolic link,
// even one that leads nowhere.
bool pathExists(const char* path);
