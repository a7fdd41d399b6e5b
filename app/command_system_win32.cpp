// marliva-convert's system calls on Windows, through the A functions, which
// take paths as the program's arguments and the engine's files do.
#include "command_system.h"

#include <cerrno>
#include <cstring>
#include <io.h>
#include <windows.h>

namespace {

EntryKind kindOf(const WIN32_FIND_DATAA& data) {
    const DWORD attributes = data.dwFileAttributes;
    if (!(attributes & FILE_ATTRIBUTE_DIRECTORY)) return EntryKind::file;
    return attributes & FILE_ATTRIBUTE_REPARSE_POINT ? EntryKind::linkToFolder : EntryKind::folder;
}

}  // namespace

bool listFolder(const std::string& folder, std::vector<FolderEntry>& entries, int& error) {
    const bool separated = !folder.empty() && isPathSeparator(folder.back());
    const std::string pattern = folder + (separated ? "*" : "\\*");
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD last = GetLastError();
        error = last == ERROR_FILE_NOT_FOUND ? 0 : errnoOfWindowsError(last);
        return error == 0;
    }
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") entries.push_back({name, kindOf(data)});
    } while (FindNextFileA(find, &data));
    const DWORD last = GetLastError();
    FindClose(find);
    error = last == ERROR_NO_MORE_FILES ? 0 : errnoOfWindowsError(last);
    return error == 0;
}

bool isFolder(const std::string& path) {
    const DWORD attributes = GetFileAttributesA(path.c_str());
    return attributes != INVALID_FILE_ATTRIBUTES && (attributes & FILE_ATTRIBUTE_DIRECTORY);
}

int makeFolder(const std::string& path) {
    return CreateDirectoryA(path.c_str(), nullptr) ? 0 : errnoOfWindowsError(GetLastError());
}

void removeEmptyFolder(const std::string& path) { RemoveDirectoryA(path.c_str()); }

char pathSeparator() { return '\\'; }

bool isPathSeparator(char c) { return c == '\\' || c == '/'; }

bool namesIgnoreCase() { return true; }

// Windows has no SIGPIPE: a write to a closed pipe always fails.
void ignoreClosedPipes() {}

// The C library says EINVAL for a pipe whose reader has gone; the system's
// own error tells.
int writeText(std::FILE* stream, const std::string& text) {
    errno = 0;
    SetLastError(0);
    if (std::fwrite(text.data(), 1, text.size(), stream) == text.size() && std::fflush(stream) == 0) return 0;
    const DWORD last = GetLastError();
    if (last == ERROR_BROKEN_PIPE || last == ERROR_NO_DATA || last == ERROR_PIPE_NOT_CONNECTED) return EPIPE;
    return errno ? errno : EIO;
}

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

int terminalColumns(std::FILE* stream) {
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(handle, &info)) return info.srWindow.Right - info.srWindow.Left + 1;
    return 80;
}

