// The whole input of one run as numbered lines. The store keeps the input's
// text as it was read (or the file itself, mapped) and one allocation with an
// index of where each line starts and how long it is, and the lines that the
// input layouts rewrote. It is about the size of the input, whatever its lines.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "file_kind.h"
#include "text_encoding.h"

// Where a line stands: in the input's text, or among the rewritten lines when
// kRewritten is set in its offset.
struct LineEntry {
    std::uint32_t offset;
    std::uint32_t length;
};
constexpr std::uint32_t kRewritten = std::uint32_t{1} << 31;

struct LineStore {
    std::int32_t count = 0;
    const LineEntry* index = nullptr;
    const char* text = nullptr;       // the input's text (UTF-8 when it was decoded)
    const char* rewritten = nullptr;  // lines as the input layouts rewrote them
    // What the store holds: the input's text (mapped, read or decoded) and
    // the allocation of the index and the rewritten lines.
    struct Memory {
        char* bytes = nullptr;
        std::size_t size = 0;
        bool mapped = false;
    } textMemory, indexMemory;
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
    tooLarge,      // the store could not be allocated or its size does not fit
};

// Fills the store from the file at `path`: its text decoded, and its lines in
// the layouts that the writers read for an input of this kind.
LoadStatus loadLines(LineStore& store, const char* path, FileKind kind);

// Fills the store from a copy of bytes in memory, read exactly as a file would be.
LoadStatus loadLinesFromMemory(LineStore& store, const char* data, std::size_t size, FileKind kind);

// Line i, 0 <= i < count, without its line end.
inline std::string_view line(const LineStore& store, std::int32_t i) {
    const LineEntry entry = store.index[i];
    const char* base = entry.offset & kRewritten ? store.rewritten : store.text;
    return {base + (entry.offset & ~kRewritten), entry.length};
}

void release(LineStore& store);
