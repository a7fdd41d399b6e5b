// Writing an output through a temporary file beside it.
#include "output_file.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>

#include "large_memory.h"
#include "stop_state.h"
#include "system_calls.h"

static void discardTemp(OutputFile& out) {
    if (out.file) {
        std::fclose(out.file);
        out.file = nullptr;
    }
    if (!out.tempPath.empty()) {
        std::remove(out.tempPath.c_str());
        out.tempPath.clear();
    }
    forgetTemporary(out.temporarySlot);
}

OutputFile::~OutputFile() {
    discardTemp(*this);
    if (buffer != small) freeLarge(buffer, capacity);
}

constexpr std::size_t kLargeBufferSize = std::size_t{256} << 10;

// Records the first failure; false, for returning at once.
static bool failWith(OutputFile& out, int error, RunFailure kind = RunFailure::cannotWrite) {
    if (!error && kind == RunFailure::cannotWrite) error = EIO;
    if (!out.failure) out.failure = {kind, error};
    return false;
}

static void writeBytes(OutputFile& out, const char* bytes, std::size_t n) {
    if (stopSignal() != 0) failWith(out, EINTR);
    if (n && !out.failure && !out.sink)
        if (const int error = writeStream(out.file, bytes, n)) failWith(out, error);
    out.written += n;
}

// "<output>.marliva-NN.tmp", or the short form "<folder>/.marliva-NN.tmp".
static std::string temporaryName(const std::string& path, bool shortForm, int attempt) {
    char suffix[24];
    std::snprintf(suffix, sizeof suffix, ".marliva-%02d.tmp", attempt);
    if (!shortForm) return path + suffix;
    std::size_t folder = path.size();
    while (folder > 0 && path[folder - 1] != '/' && path[folder - 1] != '\\') --folder;
    return path.substr(0, folder) + suffix;
}

// The temporary name is the output's name with a suffix; when that is too
// long for the system (an output name near the longest allowed), a short
// name in the output's folder serves instead. Created and recorded with the
// stop signals held, so that a stop finds it. 0, or the system's error number.
static int createTemporary(OutputFile& out) {
    holdStopSignals();
    int error = EINTR;
    for (int form = 0; form < 2 && !out.file && stopSignal() == 0; ++form) {
        for (int attempt = 0; attempt < 100; ++attempt) {
            out.tempPath = temporaryName(out.path, form == 1, attempt);
            error = createNewFile(out.tempPath.c_str(), out.file);
            if (error != EEXIST) break;
        }
    }
    if (out.file) out.temporarySlot = recordTemporary(out.tempPath);
    releaseStopSignals();
    // A file that a stop could not find is not written.
    if (out.file && out.temporarySlot < 0) {
        discardTemp(out);
        return EMFILE;
    }
    if (!out.file) out.tempPath.clear();
    return out.file ? 0 : error;
}

// The folder that holds the file at `path`.
static std::string folderHolding(const std::string& path) {
    std::size_t end = path.size();
    while (end > 0 && path[end - 1] != '/' && path[end - 1] != '\\') --end;
    if (end == 0) return ".";
    return path.substr(0, end == 1 ? 1 : end - 1);
}

bool openOutput(OutputFile& out, const char* path, TextEncoding encoding, std::size_t expectedBytes, bool sink) {
    discardTemp(out);
    out.sink = sink;
    out.failure = {};
    out.used = 0;
    out.written = 0;
    out.encoding = encoding;
    // An output that is a symbolic link stays one: the file it leads to is
    // what gets replaced.
    if (const int error = resolveLinks(path, out.path)) return failWith(out, error);
    path = out.path.c_str();
    // A device, a pipe or a folder is never replaced by a file.
    const PathKind kind = pathKindOf(path);
    if (kind != PathKind::nothing && kind != PathKind::regularFile)
        return failWith(out, 0, RunFailure::outputNotRegular);
    // A read-only output stays as it is, as it would if it were opened for writing.
    if (const int error = replaceableFile(path)) return failWith(out, error);
    if (sink) {
        if (const int error = creatableIn(folderHolding(out.path).c_str())) return failWith(out, error);
        return true;
    }
    if (const int error = createTemporary(out)) return failWith(out, error);
    // As large as the output is expected to be, up to a quarter of a
    // megabyte: a write of that many bytes costs no more a byte than a larger
    // one, and a buffer of that size comes from the heap, which keeps it for
    // the next file of a batch, where a mapped one would be populated and
    // given back for every file.
    const std::size_t wanted = std::min(kLargeBufferSize, std::max(expectedBytes, sizeof out.small));
    if (out.buffer == out.small && wanted > sizeof out.small) {
        if (char* large = allocateLarge(wanted)) {
            out.buffer = large;
            out.capacity = wanted;
        }
    }
    // The output keeps its own buffer; a second one in the stream would split
    // every write of it into two system calls.
    std::setvbuf(out.file, nullptr, _IONBF, 0);
    copyPermissions(out.file, path);
    reserveFileSpace(out.file, expectedBytes);
    const std::string_view mark = byteOrderMark(encoding);
    writeBytes(out, mark.data(), mark.size());
    return true;
}

void copyLong(char* to, const char* from, std::size_t n) { std::memcpy(to, from, n); }

// Text goes out as it is, or encoded into UTF-16 or UTF-32.
static bool isEncoded(TextEncoding encoding) { return unitBytes(encoding) > 1; }

// The buffer encoded, a piece at a time; the first bytes of a character cut
// by the buffer's end stay in it for the next flush.
static void flushEncoded(OutputFile& out) {
    constexpr std::size_t kPiece = 4096;
    char units[4 * kPiece];
    std::size_t from = 0, pending = 0;
    while (from < out.used) {
        const std::size_t n = std::min(kPiece, out.used - from);
        writeBytes(out, units, encodeFromUtf8(out.buffer + from, n, out.encoding, units, pending));
        from += n - pending;
        if (pending && from + pending == out.used) break;
    }
    std::memmove(out.buffer, out.buffer + from, out.used - from);
    out.used -= from;
}

static void flushBuffer(OutputFile& out) {
    if (isEncoded(out.encoding) && !out.sink) {
        flushEncoded(out);
        return;
    }
    writeBytes(out, out.buffer, out.used);
    out.used = 0;
}

void putBeyondBuffer(OutputFile& out, std::string_view text) {
    flushBuffer(out);
    if (text.size() > out.capacity - out.used && (!isEncoded(out.encoding) || out.sink)) {
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

bool commitOutput(OutputFile& out) {
    if (out.sink) {
        flushBuffer(out);
        if (!out.failure && stopSignal() != 0) failWith(out, EINTR);
        return !out.failure;
    }
    if (!out.file) return false;
    flushBuffer(out);
    if (out.used) {
        // A character that never ended.
        char units[4];
        std::size_t pending = 0;
        writeBytes(out, units, encodeFromUtf8("\xEF\xBF\xBD", 3, out.encoding, units, pending));
        out.used = 0;
    }
    if (!out.failure) {
        if (const int error = releaseUnusedSpace(out.file, out.written)) failWith(out, error);
    }
    if (const int error = closeStream(out.file)) failWith(out, error);
    out.file = nullptr;
    if (!out.failure && stopSignal() != 0) failWith(out, EINTR);
    if (!out.failure) {
        if (const int error = replaceFile(out.tempPath.c_str(), out.path.c_str())) failWith(out, error);
    }
    if (out.failure) {
        discardTemp(out);
        return false;
    }
    out.tempPath.clear();
    forgetTemporary(out.temporarySlot);
    return true;
}
