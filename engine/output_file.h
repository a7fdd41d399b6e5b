// An output file that appears only when it is complete: text goes to a
// temporary file beside the output, which replaces the output on commit and
// is removed if the writing fails or is abandoned.
#pragma once

#include <cstddef>
#include <cstdio>
#include <cstring>
#include <string_view>

struct OutputFile {
    std::FILE* file = nullptr;
    bool failed = false;
    char path[300] = {};      // the output
    char tempPath[340] = {};  // the temporary file beside it
    std::size_t used = 0;
    char buffer[1 << 16];

    OutputFile() = default;
    OutputFile(const OutputFile&) = delete;
    OutputFile& operator=(const OutputFile&) = delete;
    ~OutputFile();
};

// Creates the temporary file; false when it cannot be created.
bool openOutput(OutputFile& out, const char* path);
// Writes out what the buffer holds.
void flushOutput(OutputFile& out);
// put() for a text that does not fit into the room left in the buffer.
void putBeyondBuffer(OutputFile& out, std::string_view text);

// Writers call these a few times for every subtitle, so they are inline: a
// copy into the buffer, which goes out whenever it is full.
inline void put(OutputFile& out, std::string_view text) {
    // An empty piece (an empty Name, say) may come without any data behind it.
    if (text.empty()) return;
    if (text.size() > sizeof out.buffer - out.used) {
        putBeyondBuffer(out, text);
        return;
    }
    std::memcpy(out.buffer + out.used, text.data(), text.size());
    out.used += text.size();
}

inline void putChar(OutputFile& out, char c) {
    if (out.used == sizeof out.buffer) flushOutput(out);
    out.buffer[out.used++] = c;
}
// A line end of the output: always carriage return and line feed.
inline void putLineEnd(OutputFile& out) { put(out, "\r\n"); }
// Writes everything out and puts the file in place of the output; false when
// anything failed, in which case the output is as it was before.
bool commitOutput(OutputFile& out);
