// Small pieces that more than one writer uses.
#pragma once

#include <cstdint>
#include <cstdio>

#include "line_store.h"
#include "output_file.h"
#include "timing_lines.h"

// Line i of the store, or an empty line where i lies outside it: the line
// before a timing line at index 0, or the text after a timing line at the end.
inline const char* lineOrEmpty(const LineStore& store, std::int32_t i) {
    return i >= 0 && i < store.count ? line(store, i) : "";
}

// The further-text scan stops at line k when the next line is an SRT timing
// line: line k is then the next entry's number, however the blank line before
// it went missing.
inline bool nextIsSrtTimingLine(const LineStore& store, std::int32_t k) {
    return k + 1 < store.count && isSrtTimingLine(line(store, k + 1));
}

inline void putDecimal(OutputFile& out, std::int32_t value) {
    char text[16];
    std::snprintf(text, sizeof text, "%d", static_cast<int>(value));
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
