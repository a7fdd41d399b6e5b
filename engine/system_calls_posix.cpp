// System calls on POSIX systems.
#include "system_calls.h"

#include <cerrno>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <csignal>
#include <fcntl.h>
#include <pthread.h>
#include <sys/stat.h>
#include <unistd.h>

int openInputFile(const char* path, InputFile& file) {
    int fd;
    do fd = open(path, O_RDONLY | O_CLOEXEC);
    while (fd < 0 && errno == EINTR);
    if (fd < 0) return errno;
    file.handle = fd;
    return 0;
}

int inputFileState(const InputFile& file, FileState& state) {
    struct stat info;
    if (fstat(static_cast<int>(file.handle), &info) != 0) return errno;
    state.regular = S_ISREG(info.st_mode);
    state.size = static_cast<std::uint64_t>(info.st_size);
    state.lastWritten = static_cast<std::uint64_t>(info.st_mtim.tv_sec) * 1000000000u +
                        static_cast<std::uint64_t>(info.st_mtim.tv_nsec);
    return 0;
}

int readInputFile(const InputFile& file, char* to, std::size_t room, std::size_t& got) {
    got = 0;
    while (got < room) {
        const ssize_t n = read(static_cast<int>(file.handle), to + got, room - got);
        if (n == 0) break;
        if (n < 0) {
            if (errno == EINTR) continue;
            return errno;
        }
        got += static_cast<std::size_t>(n);
    }
    return 0;
}

void closeInputFile(InputFile& file) {
    if (file.handle >= 0) close(static_cast<int>(file.handle));
    file.handle = -1;
}

int createNewFile(const char* path, std::FILE*& file) {
    file = nullptr;
    const int fd = open(path, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return errno;
    file = fdopen(fd, "wb");
    if (file) return 0;
    const int error = errno;
    close(fd);
    return error;
}

int writeStream(std::FILE* file, const char* bytes, std::size_t n) {
    errno = 0;
    if (std::fwrite(bytes, 1, n, file) == n) return 0;
    return errno ? errno : EIO;
}

int closeStream(std::FILE* file) {
    errno = 0;
    if (std::fclose(file) == 0) return 0;
    return errno ? errno : EIO;
}

int resolveLinks(const char* path, std::string& resolved) {
    resolved = path;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (lstat(resolved.c_str(), &info) != 0 || !S_ISLNK(info.st_mode)) return 0;
        std::string target(static_cast<std::size_t>(info.st_size > 0 ? info.st_size : 255) + 1, '\0');
        const ssize_t n = readlink(resolved.c_str(), target.data(), target.size());
        if (n < 0) return errno;
        // A target that grew since lstat is read again on the next hop.
        if (static_cast<std::size_t>(n) >= target.size()) continue;
        target.resize(static_cast<std::size_t>(n));
        // A relative target is taken from the link's folder.
        const std::size_t slash = resolved.rfind('/');
        if (target[0] == '/' || slash == std::string::npos)
            resolved = target;
        else
            resolved = resolved.substr(0, slash + 1) + target;
    }
    return ELOOP;
}

PathKind pathKindOf(const char* path) {
    struct stat info;
    if (stat(path, &info) != 0) return PathKind::nothing;
    if (S_ISREG(info.st_mode)) return PathKind::regularFile;
    return S_ISDIR(info.st_mode) ? PathKind::folder : PathKind::other;
}

int creatableIn(const char* folder) {
    if (access(folder, W_OK | X_OK) == 0 || errno == ENOENT) return 0;
    return errno;
}

int replaceableFile(const char* path) {
    if (access(path, F_OK) == 0 && access(path, W_OK) != 0) return errno;
    return 0;
}

void reserveFileSpace(std::FILE* file, std::size_t bytes) {
    // Files of a few megabytes and more gain from room asked for at once; for
    // smaller ones, giving back what was not used costs more than it saves.
    [[maybe_unused]] constexpr std::size_t kReservedFrom = std::size_t{4} << 20;
#if defined(__linux__)
    if (bytes >= kReservedFrom) fallocate(fileno(file), FALLOC_FL_KEEP_SIZE, 0, static_cast<off_t>(bytes));
#elif defined(__EMSCRIPTEN__)
    // The in-memory file system grows a file beyond a megabyte by an eighth
    // at a time, copying it each time; the room is taken once here, as file
    // size, which releaseUnusedSpace cuts back to what was written.
    if (bytes >= kReservedFrom) posix_fallocate(fileno(file), 0, static_cast<off_t>(bytes));
#else
    (void)file;
    (void)bytes;
#endif
}

int releaseUnusedSpace(std::FILE* file, std::size_t written) {
#if defined(__linux__)
    // Only a file that got room of its own has any to give back; the room
    // beyond its end is no part of it, whether given back or not.
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || static_cast<std::size_t>(info.st_blocks) * 512 <= written + 4096) return 0;
    if (ftruncate(fileno(file), static_cast<off_t>(written)) != 0) return 0;
#elif defined(__EMSCRIPTEN__)
    struct stat info;
    if (fstat(fileno(file), &info) != 0) return errno;
    if (static_cast<std::size_t>(info.st_size) > written && ftruncate(fileno(file), static_cast<off_t>(written)) != 0)
        return errno;
#else
    (void)file;
    (void)written;
#endif
    return 0;
}

void copyPermissions(std::FILE* file, const char* path) {
    struct stat existing;
    if (stat(path, &existing) == 0 && S_ISREG(existing.st_mode))
        fchmod(fileno(file), existing.st_mode & 07777);
}

int replaceFile(const char* from, const char* to) { return std::rename(from, to) == 0 ? 0 : errno; }

int fileIdentity(const char* path, FileIdentity& identity) {
    struct stat info;
    if (stat(path, &info) != 0) return errno;
    identity.volume = static_cast<std::uint64_t>(info.st_dev);
    identity.index = static_cast<std::uint64_t>(info.st_ino);
    return 0;
}

bool pathExists(const char* path) {
    struct stat info;
    return lstat(path, &info) == 0;
}

namespace {

constexpr int kStopSignals[] = {SIGINT, SIGTERM, SIGHUP};
void (*stopCallback)(int) = nullptr;
thread_local sigset_t maskBeforeHold;

void onStopSignal(int signal) {
    const int savedErrno = errno;
    if (stopCallback) stopCallback(signal);
    errno = savedErrno;
}

sigset_t stopSignalSet() {
    sigset_t set;
    sigemptyset(&set);
    for (const int signal : kStopSignals) sigaddset(&set, signal);
    return set;
}

}  // namespace

void catchStopSignals(void (*onStop)(int signal)) {
    stopCallback = onStop;
    struct sigaction action {};
    action.sa_handler = onStopSignal;
    action.sa_flags = SA_RESTART;
    // While one stop signal is handled, the others wait.
    action.sa_mask = stopSignalSet();
    for (const int signal : kStopSignals) {
        // A signal ignored from the start stays so: nohup's SIGHUP, the
        // SIGINT of a job started in the background.
        struct sigaction before {};
        if (sigaction(signal, nullptr, &before) == 0 && before.sa_handler == SIG_IGN) continue;
        sigaction(signal, &action, nullptr);
    }
}

void holdStopSignals() {
    const sigset_t set = stopSignalSet();
    pthread_sigmask(SIG_BLOCK, &set, &maskBeforeHold);
}

void releaseStopSignals() { pthread_sigmask(SIG_SETMASK, &maskBeforeHold, nullptr); }

void removeFileInHandler(const char* path) { unlink(path); }

namespace {

// strerror_r as the C library declares it: the GNU form returns the text,
// the POSIX one fills the buffer.
[[maybe_unused]] const char* chosenText(int result, const char* buffer) { return result == 0 ? buffer : "Unknown error"; }
[[maybe_unused]] const char* chosenText(const char* result, const char*) { return result; }

}  // namespace

std::string errorText(int error) {
    char buffer[256] = "";
    return chosenText(strerror_r(error, buffer, sizeof buffer), buffer);
}
