// File-system questions on POSIX systems.
#include "system_files.h"

#include <sys/stat.h>

bool fileIdentity(const char* path, FileIdentity& identity) {
    struct stat info;
    if (stat(path, &info) != 0) return false;
    identity.volume = static_cast<std::uint64_t>(info.st_dev);
    identity.index = static_cast<std::uint64_t>(info.st_ino);
    return true;
}

bool pathExists(const char* path) {
    struct stat info;
    return lstat(path, &info) == 0;
}
