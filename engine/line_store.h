// The whole input of one run as numbered lines: their text, each line ended
// by a zero byte, side by side in one allocation with an index of where each
// begins. The store is about the size of the input, whatever its lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "file_kind.h"
#include "text_encoding.h"

struct LineStore {
    // The lines, each followed by a zero byte, then kStoreTailBytes zero
    // bytes, then the index: count + 1 offsets of the lines' starts.
    char* block = nullptr;
    std::size_t blockSize = 0;
    const std::uint32_t* starts = nullptr;
    std::int32_t count = 0;
    // The input's encoding, which the output is written in again.
    TextEncoding encoding = TextEncoding::plain;
    // A frame-line file may declare its frame rate on its first line.
    bool declaresFrameRate = false;
    double declaredFrameRate = 0.0;
    // The system's error number when the file could not be loaded.
    int error = 0;
};

// Zero bytes after the last line, so that a scan may read a few bytes past
// any line's end without leaving the allocation.
constexpr std::size_t kStoreTailBytes = 64;

enum class LoadStatus {
    ok,            // the store holds the file's lines (none for an empty file)
    cannotOpen,    // the file could not be opened or read; the store is empty
    tooLarge,      // the store could not be allocated or its size does not fit
};

// Fills the store from the file at `path`: its text decoded, and its lines in
// the layouts that the writers read for an input of this kind.
LoadStatus loadLines(LineStore& store, const char* path, FileKind kind);

// Fills the store from bytes in memory, read exactly as a file would be.
LoadStatus loadLinesFromMemory(LineStore& store, const char* data, std::size_t size, FileKind kind);

// Line i, 0 <= i < count, without its line end; data() is followed by a zero byte.
inline std::string_view line(const LineStore& store, std::int32_t i) {
    const std::uint32_t start = store.starts[i];
    return {store.block + start, store.starts[i + 1] - start - 1};
}

void release(LineStore& store);
