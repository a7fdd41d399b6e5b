// Reading an input line at fixed columns: a zero-padded copy of its start,
// texts made of fixed patterns filled from columns, and millisecond digits.
#pragma once

#include <cstddef>
#include <cstring>
#include <string_view>

#include "timing_lines.h"

// The first columns of a line, with zero bytes after its end: the writers
// read times and fields at fixed columns, and a column beyond a short line's
// end reads as zero, which is never a digit, a colon or a brace.
struct LineColumns {
    char at[48];
};

// Copied in pieces of fixed size, which compile to a few moves, where one
// copy of a varying size would cost a call or a slow string instruction.
inline const char* columnsOf(std::string_view line, LineColumns& columns) {
    char* to = columns.at;
    const char* from = line.data();
    const std::size_t n = line.size() < sizeof columns.at ? line.size() : sizeof columns.at;
    std::memset(to, 0, sizeof columns.at);
    if (n >= 16) {
        // Sixteen bytes from the start, the middle and the end, overlapping.
        std::memcpy(to, from, 16);
        if (n > 32) std::memcpy(to + 16, from + 16, 16);
        std::memcpy(to + n - 16, from + n - 16, 16);
    } else {
        for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    }
    return columns.at;
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

// The millisecond digits at `column` and after as a fraction of a second,
// computed in double from the last digit to the first.
inline double fractionAt(const char* line, int column, int digits) {
    double fraction = 0.0;
    for (int i = digits - 1; i >= 0; --i) fraction = (fraction + digitAt(line, column + i)) * 0.1;
    return fraction;
}
