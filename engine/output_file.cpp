// Writing an output through a temporary file beside it.
#include "output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <sys/stat.h>

#ifdef _WIN32
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

static void discardTemp(OutputFile& out) {
    if (out.file) {
        std::fclose(out.file);
        out.file = nullptr;
    }
    if (out.tempPath[0]) {
        std::remove(out.tempPath);
        out.tempPath[0] = '\0';
    }
}

OutputFile::~OutputFile() {
    discardTemp(*this);
    if (buffer != small) std::free(buffer);
}

constexpr std::size_t kLargeBufferSize = std::size_t{1} << 20;

// Records the first failure; false, for returning at once.
static bool failWith(OutputFile& out, int error) {
    if (!out.error) out.error = error ? error : EIO;
    out.failed = true;
    return false;
}

static void writeBytes(OutputFile& out, const char* bytes, std::size_t n) {
    errno = 0;
    if (n && !out.failed && std::fwrite(bytes, 1, n, out.file) != n) failWith(out, errno);
}

// Creates a new file that did not exist before, so that no file of the user's
// is ever overwritten by the temporary one.
static std::FILE* createExclusive(const char* path) {
#ifdef _WIN32
    const int fd = _open(path, _O_CREAT | _O_EXCL | _O_WRONLY | _O_BINARY, _S_IREAD | _S_IWRITE);
    return fd < 0 ? nullptr : _fdopen(fd, "wb");
#else
    const int fd = open(path, O_CREAT | O_EXCL | O_WRONLY | O_CLOEXEC, 0666);
    if (fd < 0) return nullptr;
    std::FILE* f = fdopen(fd, "wb");
    if (!f) close(fd);
    return f;
#endif
}

#ifndef _WIN32
// The file a symbolic link leads to, through any further links, so that the
// file the user's link points at receives the output and the link stays. A
// path that is no link is itself.
static bool resolveLinks(const char* path, char* resolved, std::size_t size) {
    if (std::snprintf(resolved, size, "%s", path) >= static_cast<int>(size)) return false;
    for (int hop = 0; hop < 40; ++hop) {
        struct stat info;
        if (lstat(resolved, &info) != 0 || !S_ISLNK(info.st_mode)) return true;
        char target[1024];
        const ssize_t n = readlink(resolved, target, sizeof target - 1);
        if (n < 0 || static_cast<std::size_t>(n) >= sizeof target - 1) return false;
        target[n] = '\0';
        if (target[0] == '/') {
            if (std::snprintf(resolved, size, "%s", target) >= static_cast<int>(size)) return false;
            continue;
        }
        // A relative target is taken from the link's folder.
        const char* slash = std::strrchr(resolved, '/');
        const int folder = slash ? static_cast<int>(slash - resolved + 1) : 0;
        char joined[1024];
        if (std::snprintf(joined, sizeof joined, "%.*s%s", folder, resolved, target) >=
            static_cast<int>(sizeof joined))
            return false;
        if (std::snprintf(resolved, size, "%s", joined) >= static_cast<int>(size)) return false;
    }
    return false;  // a loop of links
}
#endif

// "<output>.marliva-NN.tmp", or the short form "<folder>/.marliva-NN.tmp".
static void temporaryName(char* name, std::size_t size, const char* path, bool shortForm,
                          int attempt) {
    if (!shortForm) {
        std::snprintf(name, size, "%s.marliva-%02d.tmp", path, attempt);
        return;
    }
    std::size_t folder = std::strlen(path);
    while (folder > 0 && path[folder - 1] != '/' && path[folder - 1] != '\\') --folder;
    std::snprintf(name, size, "%.*s.marliva-%02d.tmp", static_cast<int>(folder), path, attempt);
}

bool openOutput(OutputFile& out, const char* path, TextEncoding encoding) {
    discardTemp(out);
    out.failed = false;
    out.used = 0;
    out.encoding = encoding;
    out.error = 0;
#ifdef _WIN32
    if (std::snprintf(out.path, sizeof out.path, "%s", path) >= static_cast<int>(sizeof out.path))
        return failWith(out, ENAMETOOLONG);
#else
    errno = 0;
    if (!resolveLinks(path, out.path, sizeof out.path)) return failWith(out, errno ? errno : ELOOP);
    path = out.path;
#endif
#ifndef _WIN32
    // A read-only output stays as it is, as it would if it were opened for writing.
    if (access(path, F_OK) == 0 && access(path, W_OK) != 0) return failWith(out, errno);
#endif
    // The temporary name is the output's name with a suffix; when that is too
    // long for the system (an output name near the longest allowed), a short
    // name in the output's folder serves instead.
    for (int form = 0; form < 2 && !out.file; ++form) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            temporaryName(out.tempPath, sizeof out.tempPath, path, form == 1, attempt);
            out.file = createExclusive(out.tempPath);
            if (out.file || errno != EEXIST) break;
        }
    }
    if (!out.file) {
        out.tempPath[0] = '\0';
        return failWith(out, errno);
    }
    if (out.buffer == out.small) {
        if (auto* large = static_cast<char*>(std::malloc(kLargeBufferSize))) {
            out.buffer = large;
            out.capacity = kLargeBufferSize;
        }
    }
    // The output keeps its own buffer; a second one in the stream would split
    // every write of it into two system calls.
    std::setvbuf(out.file, nullptr, _IONBF, 0);
#ifndef _WIN32
    struct stat existing;
    if (stat(path, &existing) == 0 && S_ISREG(existing.st_mode))
        fchmod(fileno(out.file), existing.st_mode & 07777);
#endif
    const std::string_view mark = byteOrderMark(encoding);
    writeBytes(out, mark.data(), mark.size());
    return true;
}


static bool isUtf16(TextEncoding encoding) {
    return encoding == TextEncoding::utf16le || encoding == TextEncoding::utf16be;
}

// The buffer in UTF-16, a piece at a time; the first bytes of a character
// cut by the buffer's end stay in it for the next flush.
static void flushUtf16(OutputFile& out) {
    constexpr std::size_t kPiece = 8192;
    char units[2 * kPiece];
    const bool bigEndian = out.encoding == TextEncoding::utf16be;
    std::size_t from = 0, pending = 0;
    while (from < out.used) {
        const std::size_t n = std::min(kPiece, out.used - from);
        writeBytes(out, units, encodeUtf16(out.buffer + from, n, bigEndian, units, pending));
        from += n - pending;
        if (pending && from + pending == out.used) break;
    }
    std::memmove(out.buffer, out.buffer + from, out.used - from);
    out.used -= from;
}

static void flushBuffer(OutputFile& out) {
    if (isUtf16(out.encoding)) {
        flushUtf16(out);
        return;
    }
    writeBytes(out, out.buffer, out.used);
    out.used = 0;
}

void flushOutput(OutputFile& out) { flushBuffer(out); }

void putBeyondBuffer(OutputFile& out, std::string_view text) {
    flushBuffer(out);
    if (text.size() > out.capacity - out.used && !isUtf16(out.encoding)) {
        writeBytes(out, text.data(), text.size());
        return;
    }
    // Through the buffer, which encodes what goes out.
    while (text.size() > out.capacity - out.used) {
        const std::size_t room = out.capacity - out.used;
        std::memcpy(out.buffer + out.used, text.data(), room);
        out.used += room;
        text.remove_prefix(room);
        flushBuffer(out);
    }
    std::memcpy(out.buffer + out.used, text.data(), text.size());
    out.used += text.size();
}

// Puts `from` in place of `to`; the system's error number when it cannot, else 0.
static int replaceFile(const char* from, const char* to) {
#ifdef _WIN32
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
#else
    return std::rename(from, to) == 0 ? 0 : errno;
#endif
}

bool commitOutput(OutputFile& out) {
    if (!out.file) return false;
    flushBuffer(out);
    if (out.used) {
        // A character that never ended.
        char units[2];
        std::size_t pending = 0;
        writeBytes(out, units, encodeUtf16("\xEF\xBF\xBD", 3, out.encoding == TextEncoding::utf16be, units, pending));
        out.used = 0;
    }
    errno = 0;
    if (std::fclose(out.file) != 0) failWith(out, errno);
    out.file = nullptr;
    if (!out.failed) {
        if (const int error = replaceFile(out.tempPath, out.path)) failWith(out, error);
    }
    if (out.failed) {
        discardTemp(out);
        return false;
    }
    out.tempPath[0] = '\0';
    return true;
}
