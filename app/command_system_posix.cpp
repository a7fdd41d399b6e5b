// marliva-convert's system calls on POSIX systems.
#include "command_system.h"

#include <cerrno>
#include <csignal>
#include <cstring>
#include <dirent.h>
#include <sys/ioctl.h>
#include <sys/stat.h>
#include <unistd.h>

namespace {

EntryKind kindOf(const std::string& path, unsigned char type) {
    if (type == DT_REG) return EntryKind::file;
    if (type == DT_DIR) return EntryKind::folder;
    struct stat info;
    if (type != DT_LNK && type != DT_UNKNOWN) return EntryKind::other;
    if (lstat(path.c_str(), &info) != 0) return EntryKind::other;
    if (S_ISREG(info.st_mode)) return EntryKind::file;
    if (S_ISDIR(info.st_mode)) return EntryKind::folder;
    if (!S_ISLNK(info.st_mode)) return EntryKind::other;
    if (stat(path.c_str(), &info) != 0) return EntryKind::file;  // leads nowhere: its run says so
    if (S_ISDIR(info.st_mode)) return EntryKind::linkToFolder;
    return S_ISREG(info.st_mode) ? EntryKind::file : EntryKind::other;
}


}  // namespace

int listFolder(const std::string& folder, std::vector<FolderEntry>& entries) {
    DIR* dir = opendir(folder.c_str());
    if (!dir) return errno;
    const std::string prefix = folder.empty() || folder.back() == '/' ? folder : folder + '/';
    errno = 0;
    while (const dirent* entry = readdir(dir)) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") entries.push_back({name, kindOf(prefix + name, entry->d_type)});
        errno = 0;
    }
    const int error = errno;
    closedir(dir);
    return error;
}

bool isFolder(const std::string& path) {
    struct stat info;
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

int makeFolder(const std::string& path) { return mkdir(path.c_str(), 0777) == 0 ? 0 : errno; }

void removeEmptyFolder(const std::string& path) { rmdir(path.c_str()); }

char pathSeparator() { return '/'; }

bool isPathSeparator(char c) { return c == '/'; }

bool namesIgnoreCase() { return false; }

void ignoreClosedPipes() { std::signal(SIGPIPE, SIG_IGN); }

int writeText(std::FILE* stream, const std::string& text) {
    if (const int error = writeStream(stream, text.data(), text.size())) return error;
    errno = 0;
    if (std::fflush(stream) == 0) return 0;
    return errno ? errno : EIO;
}

bool isTerminal(std::FILE* stream) { return isatty(fileno(stream)) == 1; }

int terminalColumns(std::FILE* stream) {
    winsize size{};
    if (ioctl(fileno(stream), TIOCGWINSZ, &size) == 0 && size.ws_col > 0) return size.ws_col;
    return 80;
}

