// An output file that appears only when it is complete: text goes to a
// temporary file beside the output, which replaces the output on commit and
// is removed if the writing fails or is abandoned. A dry run's output is a
// sink: the same checks of the output's path, and bytes counted, never
// written (no temporary file).
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string>
#include <string_view>

#include "run_report.h"
#include "fast_paths.h"
#include "text_encoding.h"

struct OutputFile {
    std::FILE* file = nullptr;
    bool sink = false;  // a dry run's: nothing is written
    // The first failure: cannotWrite with the system's error number, or
    // outputNotRegular where the output is, or leads to, something that is no
    // regular file (a device, a pipe, a folder), which is never replaced.
    Failure failure;
    // The file that receives the output: the output's path, or the file that
    // it leads to when it is a symbolic link.
    std::string path;
    std::string tempPath;  // the temporary file beside it
    int temporarySlot = -1;  // where a stop finds the temporary file (stop_state.h)
    // Text is written in UTF-8 and goes out in this encoding. In UTF-16 the
    // buffer may keep the first bytes of a character whose rest comes later.
    TextEncoding encoding = TextEncoding::plain;
    // Text goes out in writes of up to a megabyte from a buffer got by
    // openOutput: each write costs the system a share beyond its bytes, and
    // fewer, larger ones let the file take larger pages. Should that memory
    // not be there, the small buffer inside serves.
    char* buffer = small;
    std::size_t capacity = sizeof small;
    std::size_t used = 0;
    std::size_t written = 0;  // bytes in the file so far
    char small[4096];

    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();
};

// Creates the temporary file, with room for about `expectedBytes`, and writes
// the encoding's byte-order mark; false when it cannot be created. A sink
// creates nothing; it fails where the file could not be created (a folder
// that is yet to be made counts as one that will be).
bool openOutput(OutputFile& out, const char* path, TextEncoding encoding = TextEncoding::plain,
                std::size_t expectedBytes = 0, bool sink = false);
// put() for a text that does not fit into the room left in the buffer.
void putBeyondBuffer(OutputFile& out, std::string_view text);

// Copies n bytes with memcpy, out of line.
void copyLong(char* to, const char* from, std::size_t n);

// Copies n bytes. Most pieces of output are a few dozen bytes: those are
// copied in overlapping moves of fixed size, where a call to memcpy, or the
// string instruction a compiler puts in its place, would cost more than the
// copy itself.
inline void copyShort(char* to, const char* from, std::size_t n) {
    if (!kFastPaths || n > 64) {
        copyLong(to, from, n);
    } else if (n > 32) {
        std::memcpy(to, from, 16);
        std::memcpy(to + 16, from + 16, 16);
        std::memcpy(to + n - 32, from + n - 32, 16);
        std::memcpy(to + n - 16, from + n - 16, 16);
    } else if (n >= 16) {
        std::memcpy(to, from, 16);
        std::memcpy(to + n - 16, from + n - 16, 16);
    } else if (n >= 8) {
        std::memcpy(to, from, 8);
        std::memcpy(to + n - 8, from + n - 8, 8);
    } else if (n >= 4) {
        std::memcpy(to, from, 4);
        std::memcpy(to + n - 4, from + n - 4, 4);
    } else {
        for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    }
}

// Writers call these a few times for every subtitle, so they are inline: a
// copy into the buffer, which goes out whenever it is full.
inline void put(OutputFile& out, std::string_view text) {
    // An empty piece (an empty Name, say) may come without any data behind it.
    if (text.empty()) return;
    if (text.size() > out.capacity - out.used) {
        putBeyondBuffer(out, text);
        return;
    }
    copyShort(out.buffer + out.used, text.data(), text.size());
    out.used += text.size();
}

inline void putChar(OutputFile& out, char c) {
    if (out.used == out.capacity) {
        putBeyondBuffer(out, std::string_view(&c, 1));
        return;
    }
    out.buffer[out.used++] = c;
}
// A line end of the output: always carriage return and line feed.
constexpr std::string_view kLineEnd = "\r\n";
inline void putLineEnd(OutputFile& out) { put(out, kLineEnd); }
// Writes everything out and puts the file in place of the output; false when
// anything failed, in which case the output is as it was before.
bool commitOutput(OutputFile& out);
