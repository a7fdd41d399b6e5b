// Small pieces that more than one writer uses.
#pragma once

#include <cstdint>
#include <cstring>
#include <string_view>

#include "line_store.h"
#include "output_file.h"
#include "timing_lines.h"

// Room to ask for the output before writing it: the outputs of these
// conversions are about the size of their input, and never far beyond twice it.
inline std::size_t expectedOutputBytes(const LineStore& store) {
    return 2 * (store.textMemory.size + store.indexMemory.size);
}

// Line i of the store, or an empty line where i lies outside it: the line
// before a timing line at index 0, or the text after a timing line at the end.
inline std::string_view lineOrEmpty(const LineStore& store, std::int32_t i) {
    return i >= 0 && i < store.count ? line(store, i) : std::string_view();
}

// The further-text scan stops at line k when the next line is an SRT timing
// line: line k is then the next entry's number, however the blank line before
// it went missing.
inline bool nextIsSrtTimingLine(const LineStore& store, std::int32_t k) {
    return k + 1 < store.count && isSrtTimingLine(line(store, k + 1));
}

// An empty line inside an entry's text ends the entry only when the next line
// that is not empty is a timing line or the number before one, or when no
// such line follows: some files have entries with an empty line in their
// text. A timing line of either kind counts. Returns the line after the run
// of empty lines from k on, or store.count when the run ends the entry.
inline std::int32_t emptyLinesInText(const LineStore& store, std::int32_t k) {
    std::int32_t next = k;
    while (next < store.count && line(store, next).empty()) ++next;
    if (next >= store.count || classifyLine(line(store, next), LineKindNone) != LineKindNone ||
        nextIsSrtTimingLine(store, next))
        return store.count;
    return next;
}

// Writes value in decimal with at least `digits` digits, zero-filled after
// any minus sign, as printf's "%.*d" does; returns the end. Writers print
// numbers this way rather than with printf, which would cost more than all
// the rest of a conversion.
inline char* putDigits(char* p, std::int32_t value, int digits) {
    char reversed[12];
    int n = 0;
    std::uint32_t v = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    do {
        reversed[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (value < 0) *p++ = '-';
    for (int i = n; i < digits; ++i) *p++ = '0';
    while (n > 0) *p++ = reversed[--n];
    return p;
}

inline void putDecimal(OutputFile& out, std::int32_t value) {
    // Straight into the buffer, which always has room for eleven characters
    // once it has gone out.
    if (out.capacity - out.used < 12) flushOutput(out);
    char* at = out.buffer + out.used;
    out.used += static_cast<std::size_t>(putDigits(at, value, 1) - at);
}

// A line of fixed text in which each "#" takes the character at one column of
// an input line, in order, as printf's "%c" would: a zero byte copied from
// beyond a short line ends the text there. The places of the marks are found
// when compiling.
template <std::size_t kLength, std::size_t kMarks>
struct ColumnCopy {
    char pattern[kLength];
    int marks[kMarks];
    int columns[kMarks];
};

template <std::size_t kLength>
constexpr std::size_t marksIn(const char (&pattern)[kLength]) {
    std::size_t n = 0;
    for (char c : pattern) n += c == '#';
    return n;
}

template <std::size_t kLength, std::size_t kMarks>
constexpr ColumnCopy<kLength, kMarks> makeColumnCopy(const char (&pattern)[kLength],
                                                     const int (&columns)[kMarks]) {
    ColumnCopy<kLength, kMarks> copy{};
    std::size_t n = 0;
    for (std::size_t i = 0; i < kLength; ++i) {
        copy.pattern[i] = pattern[i];
        if (pattern[i] == '#') {
            copy.marks[n] = static_cast<int>(i);
            copy.columns[n] = columns[n];
            ++n;
        }
    }
    return copy;
}

// Writes the filled pattern to `out` and returns the length of its text,
// which a zero byte copied from the line ends.
template <std::size_t kLength, std::size_t kMarks>
inline std::size_t fillColumns(char* out, const ColumnCopy<kLength, kMarks>& copy, const char* line) {
    std::memcpy(out, copy.pattern, kLength);
    for (std::size_t k = 0; k < kMarks; ++k) {
        const char c = line[copy.columns[k]];
        if (c == '\0') return static_cast<std::size_t>(copy.marks[k]);
        out[copy.marks[k]] = c;
    }
    return kLength - 1;
}

// The text, each `separator` in it written as `joint`.
inline void putJoined(OutputFile& out, std::string_view text, char separator, std::string_view joint) {
    for (std::size_t mark; (mark = text.find(separator)) != std::string_view::npos;) {
        put(out, text.substr(0, mark));
        put(out, joint);
        text.remove_prefix(mark + 1);
    }
    put(out, text);
}

// The millisecond digits at `column` and after as a fraction of a second,
// computed in double from the last digit to the first.
inline double fractionAt(const char* line, int column, int digits) {
    double fraction = 0.0;
    for (int i = digits - 1; i >= 0; --i) fraction = (fraction + digitAt(line, column + i)) * 0.1;
    return fraction;
}

// The kind lock: the first timing line decides whether the file is read as SRT
// timing lines or as frame lines; lines of the other kind are skipped unless
// an entry takes them as text. onTiming(t) writes the entry at timing line t
// and returns the line at which the scan goes on; onFrame(line) writes one
// frame line's entry.
template <typename OnTiming, typename OnFrame>
void scanEntries(const LineStore& store, OnTiming onTiming, OnFrame onFrame) {
    int lock = LineKindNone;
    for (std::int32_t i = 0; i < store.count;) {
        const LineKind kind = classifyLine(line(store, i), lock);
        if (kind == LineKindNone) {
            ++i;
            continue;
        }
        lock = kind;
        if (kind == LineKindSrt) {
            i = onTiming(i);
        } else {
            onFrame(line(store, i));
            ++i;
        }
    }
}
