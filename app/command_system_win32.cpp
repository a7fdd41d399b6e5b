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

int listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    const bool separated = !folder.empty() && isPathSeparator(folder.back());
    const std::string pattern = folder + (separated ? "*" : "\\*");
    WIN32_FIND_DATAA data;
    HANDLE find = FindFirstFileA(pattern.c_str(), &data);
    if (find == INVALID_HANDLE_VALUE) {
        const DWORD last = GetLastError();
        return last == ERROR_FILE_NOT_FOUND ? 0 : errnoOfWindowsError(last);
    }
    do {
        const std::string name = data.cFileName;
        if (name != "." && name != "..") entries.push_back({name, kindOf(data)});
    } while (FindNextFileA(find, &data));
    const DWORD last = GetLastError();
    FindClose(find);
    return last == ERROR_NO_MORE_FILES ? 0 : errnoOfWindowsError(last);
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

int writeText(std::FILE* stream, const std::string& text) {
    if (const int error = writeStream(stream, text.data(), text.size())) return error;
    SetLastError(0);
    if (std::fflush(stream) == 0) return 0;
    const DWORD last = GetLastError();
    return last ? errnoOfWindowsError(last) : EIO;
}

bool isTerminal(std::FILE* stream) { return _isatty(_fileno(stream)) != 0; }

int terminalColumns(std::FILE* stream) {
    HANDLE handle = reinterpret_cast<HANDLE>(_get_osfhandle(_fileno(stream)));
    CONSOLE_SCREEN_BUFFER_INFO info;
    if (GetConsoleScreenBufferInfo(handle, &info)) return info.srWindow.Right - info.srWindow.Left + 1;
    return 80;
}

