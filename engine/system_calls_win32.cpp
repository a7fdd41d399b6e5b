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

// The errno value nearest to a Windows error.
static int errnoOf(DWORD error) {
    switch (error) {
    case ERROR_ACCESS_DENIED:
    case ERROR_SHARING_VIOLATION:
    case ERROR_LOCK_VIOLATION: return EACCES;
    case ERROR_FILE_NOT_FOUND:
    case ERROR_PATH_NOT_FOUND:
    case ERROR_INVALID_NAME:
    case ERROR_DIRECTORY: return ENOENT;
    case ERROR_FILE_EXISTS:
    case ERROR_ALREADY_EXISTS: return EEXIST;
    case ERROR_DISK_FULL:
    case ERROR_HANDLE_DISK_FULL: return ENOSPC;
    default: return EIO;
    }
}

// Opened so that the file may be removed while it is written (a stop
// removes the temporary files of a program still writing them).
std::FILE* createNewFile(const char* path) {
    HANDLE handle = CreateFileA(path, GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_DELETE, nullptr,
                                CREATE_NEW, FILE_ATTRIBUTE_NORMAL, nullptr);
    if (handle == INVALID_HANDLE_VALUE) {
        errno = errnoOf(GetLastError());
        return nullptr;
    }
    const int fd = _open_osfhandle(reinterpret_cast<intptr_t>(handle), _O_WRONLY | _O_BINARY);
    if (fd < 0) {
        CloseHandle(handle);
        return nullptr;
    }
    std::FILE* file = _fdopen(fd, "wb");
    if (!file) _close(fd);
    return file;
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
    return errnoOf(GetLastError());
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

namespace {

struct Work {
    void (*run)(void*);
    void* context;
};

DWORD WINAPI runWork(void* work) {
    static_cast<Work*>(work)->run(static_cast<Work*>(work)->context);
    return 0;
}

}  // namespace

// Windows hands console events to a thread of their own, never to this one.
void runBesideThis(void (*there)(void*), void* thereContext, void (*here)(void*), void* hereContext) {
    Work work{there, thereContext};
    HANDLE thread = CreateThread(nullptr, 0, runWork, &work, 0, nullptr);
    here(hereContext);
    if (thread) {
        WaitForSingleObject(thread, INFINITE);
        CloseHandle(thread);
    } else {
        there(thereContext);
    }
}

void removeFileInHandler(const char* path) { DeleteFileA(path); }

std::string errorText(int error) {
    char buffer[256] = "";
    if (strerror_s(buffer, sizeof buffer, error) != 0) return "Unknown error";
    return buffer;
}
