// System calls on Windows.
#include "system_calls.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

char* allocateLarge(std::size_t bytes) { return static_cast<char*>(std::malloc(bytes ? bytes : 1)); }

void freeLarge(char* block, std::size_t) { std::free(block); }

// Files are read into memory on Windows rather than mapped.
const char* mapFile(std::FILE*, std::size_t) { return nullptr; }

void unmapFile(const char*, std::size_t) {}

long long regularFileSize(std::FILE* file) {
    struct _stat64 info;
    if (_fstat64(_fileno(file), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) return -1;
    return static_cast<long long>(info.st_size);
}

std::FILE* createNewFile(const char* path) {
    const int fd = _open(path, _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    return fd < 0 ? nullptr : _fdopen(fd, "wb");
}

// Links are left to the system: the output's path is the file written.
bool resolveLinks(const char* path, std::string& resolved) {
    resolved = path;
    return true;
}

int replaceableFile(const char*) { return 0; }

void reserveFileSpace(std::FILE*, std::size_t) {}

void releaseUnusedSpace(std::FILE*, std::size_t) {}

void copyPermissions(std::FILE*, const char*) {}

int replaceFile(const char* from, const char* to) {
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return 0;
    switch (GetLastError()) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND: return ENOENT;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    default: return EIO;
    }
}

bool fileIdentity(const char* path, FileIdentity& identity) {
    // Opened for no access at all, which any file allows; folders need the
    // backup flag to be opened.
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return false;
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    CloseHandle(file);
    if (!known) return false;
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return true;
}

bool pathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }
