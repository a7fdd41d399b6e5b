// The whole input of one run as numbered lines in fixed 1023-byte, zero-filled slots.
#pragma once

#include <cstddef>
#include <cstdint>

#include "file_kind.h"
#include "text_encoding.h"

constexpr std::size_t kSlotSize = 1023;
// One line read takes at most this many characters, line feed included.
constexpr std::size_t kChunkChars = 254;

struct LineStore {
    char* block = nullptr;  // count * kSlotSize bytes, zero-filled
    std::int32_t count = 0;
    // The input's encoding, which the output is written in again.
    TextEncoding encoding = TextEncoding::plain;
    // A frame-line file may declare its frame rate on its first line.
    bool declaresFrameRate = false;
    double declaredFrameRate = 0.0;
    // The system's error number when the file could not be loaded.
    int error = 0;
};

enum class LoadStatus {
    ok,            // the store holds the file's lines (none for an empty file)
    cannotOpen,    // the file could not be opened or read; the store is empty
    tooLarge,      // the block could not be allocated or its size does not fit
};

// Fills the store from the file at `path`: its text decoded, and its lines in
// the layouts that the writers read for an input of this kind.
LoadStatus loadLines(LineStore& store, const char* path, FileKind kind);

// Fills the store from bytes in memory, read exactly as a file would be.
LoadStatus loadLinesFromMemory(LineStore& store, const char* data, std::size_t size, FileKind kind);

// The slot of line i, 0 <= i < count: the text and the zeros after it.
inline const char* line(const LineStore& store, std::int32_t i) {
    return store.block + static_cast<std::size_t>(i) * kSlotSize;
}

void release(LineStore& store);
