// Writing an output through a temporary file beside it.
#include "output_file.h"

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

bool openOutput(OutputFile& out, const char* path) {
    discardTemp(out);
    out.failed = false;
    out.used = 0;
    if (std::snprintf(out.path, sizeof out.path, "%s", path) >= static_cast<int>(sizeof out.path))
        return false;
#ifndef _WIN32
    // A read-only output stays as it is, as it would if it were opened for writing.
    if (access(path, F_OK) == 0 && access(path, W_OK) != 0) return false;
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
        return false;
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
    return true;
}

static void flushBuffer(OutputFile& out) {
    if (out.used && !out.failed && std::fwrite(out.buffer, 1, out.used, out.file) != out.used)
        out.failed = true;
    out.used = 0;
}

void flushOutput(OutputFile& out) { flushBuffer(out); }

void putBeyondBuffer(OutputFile& out, std::string_view text) {
    flushBuffer(out);
    if (text.size() > out.capacity) {
        if (!out.failed && std::fwrite(text.data(), 1, text.size(), out.file) != text.size())
            out.failed = true;
        return;
    }
    std::memcpy(out.buffer, text.data(), text.size());
    out.used = text.size();
}

static bool replaceFile(const char* from, const char* to) {
#ifdef _WIN32
    return MoveFileExA(from, to, MOVEFILE_REPLACE_EXISTING) != 0;
#else
    return std::rename(from, to) == 0;
#endif
}

bool commitOutput(OutputFile& out) {
    if (!out.file) return false;
    flushBuffer(out);
    const bool closed = std::fclose(out.file) == 0;
    out.file = nullptr;
    if (out.failed || !closed || !replaceFile(out.tempPath, out.path)) {
        discardTemp(out);
        return false;
    }
    out.tempPath[0] = '\0';
    return true;
}
