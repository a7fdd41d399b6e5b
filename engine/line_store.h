// The whole input of one run as numbered lines. The store keeps the input's
// text as it was read, decoded to UTF-8 where it was UTF-16 or UTF-32, and
// one allocation with an index of where each line starts and how long it is.
// It is about the size of the input, whatever its lines. Line i of the store
// is line i + 1 of the file. The store owns that memory: it frees it when it
// goes, and moves but is never copied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "run_report.h"
#include "text_encoding.h"

struct LineEntry {
    std::uint32_t offset;
    std::uint32_t length;
};

struct LineStore {
    std::int32_t count = 0;
    const LineEntry* index = nullptr;
    const char* text = nullptr;  // the input's text (UTF-8 when it was decoded)
    // What the store holds: the input's text (read or decoded) and the
    // allocation of the index.
    struct Memory {
        char* bytes = nullptr;
        std::size_t size = 0;
    } textMemory, indexMemory;
    // The input's encoding, which the output is written in again, and where
    // decoding it met units that are no character.
    TextEncoding encoding = TextEncoding::plain;
    DecodeFaults decodeFaults;
    // An end-of-file mark (0x1A) ends the lines. What follows it is indexed
    // after them, to be reported: line count + k of the index is line
    // endMarkLine + k of the file, counted from 1.
    std::int32_t linesAfterEndMark = 0;
    std::int32_t endMarkLine = 0;

    LineStore() = default;
    LineStore(LineStore&& other) noexcept;
    LineStore& operator=(LineStore&& other) noexcept;
    LineStore(const LineStore&) = delete;
    LineStore& operator=(const LineStore&) = delete;
    ~LineStore();
};

// The largest input file a store takes: its offsets are 32 bits.
constexpr std::uint64_t kLargestInput = 4294967295u;

// Fills the store from the file at `path`: no failure when the store holds
// the file's lines (none for an empty file); else the store is empty and the
// failure says why: cannotRead (with the system's error number), tooLarge
// (memory could not be had, or the size does not fit), inputOverLimit (larger
// than kLargestInput) or inputChanged (another program wrote it meanwhile).
Failure loadLines(LineStore& store, const char* path);

// Fills the store from a copy of bytes in memory, read exactly as a file would be.
Failure loadLinesFromMemory(LineStore& store, const char* data, std::size_t size);

// Line i, 0 <= i < count, without its line end. A line of only blanks is empty.
inline std::string_view line(const LineStore& store, std::int32_t i) {
    const LineEntry entry = store.index[i];
    return {store.text + entry.offset, entry.length};
}

// Line i, or an empty line where i lies outside the store.
inline std::string_view lineOrEmpty(const LineStore& store, std::int32_t i) {
    return i >= 0 && i < store.count ? line(store, i) : std::string_view();
}

// Line k after the end-of-file mark, 0 <= k < linesAfterEndMark.
inline std::string_view lineAfterEndMark(const LineStore& store, std::int32_t k) {
    const LineEntry entry = store.index[store.count + k];
    return {store.text + entry.offset, entry.length};
}

// The index of the line that holds the byte at `offset` of the text: below
// count a line of the store, from count on a line after the end-of-file mark.
std::int32_t lineIndexAt(const LineStore& store, std::size_t offset);
