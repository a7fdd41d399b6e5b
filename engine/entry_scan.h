// Finding the entries of an SRT file: the kind lock over its timing lines,
// and where an entry's text ends.
#pragma once

#include <cstdint>
#include <string_view>

#include "line_store.h"
#include "timing_lines.h"

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
