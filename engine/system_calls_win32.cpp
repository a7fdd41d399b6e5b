// System calls on Windows.
#include "system_calls.h"

#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>


int errnoOfWindowsError(unsigned long error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION:
    case ERROR_WRITE_PROTECT: return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_DRIVE:
    case ERROR_BAD_NETPATH:
    case ERROR_BAD_NET_NAME:
    case ERROR_INVALID_NAME: return ENOENT;
    case ERROR_FILENAME_EXCED_RANGE: return ENAMETOOLONG;
    case ERROR_DIRECTORY: return ENOTDIR;
    case ERROR_DIR_NOT_EMPTY: return ENOTEMPTY;
    case ERROR_NOT_SAME_DEVICE: return EXDEV;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    case ERROR_NOT_ENOUGH_MEMORY:
    case ERROR_OUTOFMEMORY: return ENOMEM;
    case ERROR_TOO_MANY_OPEN_FILES: return EMFILE;
    case ERROR_BROKEN_PIPE:
    case ERROR_NO_DATA:
    case ERROR_PIPE_NOT_CONNECTED: return EPIPE;
    default: return EIO;
    }
}

static int lastError() { return errnoOfWindowsError(GetLastError()); }

static HANDLE handleOf(const InputFile& file) { return reinterpret_cast<HANDLE>(file.handle); }

// Others may go on reading, writing and renaming the file while it is open:
// a change while it is read shows in its state.
int openInputFile(const char* path, InputFile& file) {
    HANDLE handle = CreateFileA(path, GENERIC_READ, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                                nullptr, OPEN_EXISTING, FILE_FLAG_SEQUENTIAL_SCAN, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return lastError();
    file.handle = reinterpret_cast<std::intptr_t>(handle);
    return 0;
}

int inputFileState(const InputFile& file, FileState& state) {
    state = FileState{};
    if (GetFileType(handleOf(file)) != FILE_TYPE_DISK) return 0;
    BY_HANDLE_FILE_INFORMATION info;
    if (!GetFileInformationByHandle(handleOf(file), &info)) return lastError();
    state.regular = !(info.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY);
    state.size = (static_cast<std::uint64_t>(info.nFileSizeHigh) << 32) | info.nFileSizeLow;
    state.lastWritten = (static_cast<std::uint64_t>(info.ftLastWriteTime.dwHighDateTime) << 32) |
                        info.ftLastWriteTime.dwLowDateTime;
    return 0;
}

int readInputFile(const InputFile& file, char* to, std::size_t room, std::size_t& got) {
    got = 0;
    while (got < room) {
        constexpr std::size_t kMostAtOnce = std::size_t{1} << 30;
        const DWORD most = static_cast<DWORD>(room - got < kMostAtOnce ? room - got : kMostAtOnce);
        DWORD n = 0;
        if (!ReadFile(handleOf(file), to + got, most, &n, nullptr)) {
            // A pipe whose writer has closed it has simply ended.
            if (GetLastError() == ERROR_BROKEN_PIPE) break;
            return lastError();
        }
        if (n == 0) break;
        got += n;
    }
    return 0;
}

void closeInputFile(InputFile& file) {
    if (file.handle != -1) CloseHandle(handleOf(file));
    file.handle = -1;
}

// Opened so that the file may be removed while it is written (a stop
// removes the temporary files of a program still writing them).
int createNewFile(const char* path, std::FILE*& file) {
    file = nullptr;
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) return lastError();
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return EMFILE;
    }
    file = _fdopen(fd, "wb");
    if (file) return 0;
    _close(fd);
    return EMFILE;
}

// The C library maps a failed write its own way (a pipe whose reader has
// gone as EINVAL); the system's own error tells.
int writeStream(std::FILE* file, const char* bytes, std::size_t n) {
    SetLastError(0);
    if (std::fwrite(bytes, 1, n, file) == n) return 0;
    const DWORD last = GetLastError();
    return last ? errnoOfWindowsError(last) : EIO;
}

int closeStream(std::FILE* file) {
    SetLastError(0);
    if (std::fclose(file) == 0) return 0;
    const DWORD last = GetLastError();
    return last ? errnoOfWindowsError(last) : EIO;
}

// Links are left to the system: the output's path is the file written.
int resolveLinks(const char* path, std::string& resolved) {
    resolved = path;
    return 0;
}

// A device's name (NUL, CON, COM1; with an extension too, "nul.ssa", on the
// Windows versions that read it so) becomes "\\.\NUL" when the system makes
// the path whole.
static bool namesDevice(const char* path) {
    char full[MAX_PATH];
    const DWORD length = GetFullPathNameA(path, sizeof full, full, nullptr);
    return length >= 4 && length < sizeof full && std::strncmp(full, "\\\\.\\", 4) == 0;
}

PathKind pathKindOf(const char* path) {
    if (namesDevice(path)) return PathKind::other;
    const DWORD attributes = GetFileAttributesA(path);
    if (attributes == INVALID_FILE_ATTRIBUTES) return PathKind::nothing;
    if (attributes & FILE_ATTRIBUTE_DIRECTORY) return PathKind::folder;
    if (attributes & FILE_ATTRIBUTE_DEVICE) return PathKind::other;
    return PathKind::regularFile;
}

int creatableIn(const char* folder) {
    const DWORD attributes = GetFileAttributesA(folder);
    if (attributes == INVALID_FILE_ATTRIBUTES || (attributes & FILE_ATTRIBUTE_DIRECTORY)) return 0;
    return ENOTDIR;
}

int replaceableFile(const char*) { return 0; }

void reserveFileSpace(std::FILE*, std::size_t) {}

int releaseUnusedSpace(std::FILE*, std::size_t) { return 0; }

void copyPermissions(std::FILE*, const char*) {}

int replaceFile(const char* from, const char* to) {
    if (MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING)) return 0;
    return lastError();
}

int fileIdentity(const char* path, FileIdentity& identity) {
    // Opened for no access at all, which any file allows; folders need the
    // backup flag to be opened.
    HANDLE file = CreateFileA(path, 0, FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE,
                              nullptr, OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
    if (file == INVALID_HANDLE_VALUE) return lastError();
    BY_HANDLE_FILE_INFORMATION info;
    const bool known = GetFileInformationByHandle(file, &info) != 0;
    const int error = known ? 0 : lastError();
    CloseHandle(file);
    if (!known) return error;
    identity.volume = info.dwVolumeSerialNumber;
    identity.index = (static_cast<std::uint64_t>(info.nFileIndexHigh) << 32) | info.nFileIndexLow;
    return 0;
}

bool pathExists(const char* path) { return GetFileAttributesA(path) != INVALID_FILE_ATTRIBUTES; }

namespace {

void (*stopCallback)(int) = nullptr;
// Held while a temporary file is created and recorded, and by the console's
// thread while onStop runs.
SRWLOCK stopLock = SRWLOCK_INIT;

BOOL WINAPI onConsoleEvent(DWORD event) {
    const bool closed = event == CTRL_CLOSE_EVENT || event == CTRL_LOGOFF_EVENT ||
                        event == CTRL_SHUTDOWN_EVENT;
    if (!closed && event != CTRL_C_EVENT && event != CTRL_BREAK_EVENT) return FALSE;
    AcquireSRWLockExclusive(&stopLock);
    if (stopCallback) stopCallback(closed ? 1 : 2);
    if (closed) std::_Exit(128 + 1);
    ReleaseSRWLockExclusive(&stopLock);
    return TRUE;
}

}  // namespace

void catchStopSignals(void (*onStop)(int signal)) {
    stopCallback = onStop;
    SetConsoleCtrlHandler(onConsoleEvent, TRUE);
}

void holdStopSignals() { AcquireSRWLockExclusive(&stopLock); }

void releaseStopSignals() { ReleaseSRWLockExclusive(&stopLock); }

void removeFileInHandler(const char* path) { DeleteFileA(path); }

std::string errorText(int error) {
    char buffer[256] = "";
    if (strerror_s(buffer, sizeof buffer, error) != 0) return "Unknown error";
    return buffer;
}
