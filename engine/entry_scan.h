// The entries of an SRT file, one after the other: an entry of timing lines
// with its number line, its timing line and its text lines (the empty lines
// among them), or a frame line. The first timing line or frame line decides
// which of the two kinds the file holds; every other line that is not part
// of an entry is noted as not converted, with its reason.
#pragma once

#include <cstdint>

#include "line_store.h"
#include "run_report.h"
#include "timing_lines.h"

// An entry's number line when the line before its timing line is text of the
// entry before: the entry is numbered by its position.
constexpr std::int32_t kNoNumberLine = INT32_MIN;

struct SrtEntry {
    LineKind kind = LineKindNone;
    std::int32_t position = 0;  // 1, 2, 3 ... among the entries
    // Timing lines: the line before the timing line when it is the entry's
    // number (-1 for a timing line at the file's start), else kNoNumberLine.
    std::int32_t numberLine = kNoNumberLine;
    std::int32_t timingLine = 0;  // the timing line or the frame line
    std::int32_t textFrom = 0;    // timing lines: the text lines, textFrom to textTo - 1
    std::int32_t textTo = 0;
    TimeSpan times;     // timing lines
    FrameSpan frames;   // frame lines
};

enum class LineClass : std::uint8_t { empty, number, timing, unreadableTiming, frame, unreadableFrame, text };

// A line as the scan classified it, with its times or frames.
struct ClassifiedLine {
    std::int32_t line = -1;
    LineClass kind = LineClass::empty;
    TimeSpan times;
    FrameSpan frames;
};

struct EntryScan {
    const LineStore* store = nullptr;
    NotConvertedLines* notConverted = nullptr;  // where skipped lines are noted; null: nowhere
    std::int32_t next = 0;
    LineKind lock = LineKindNone;
    std::int32_t entries = 0;
    // The timing line of the next entry, when the last entry's text ended
    // where that entry begins; 0 when unknown.
    std::int32_t nextTiming = 0;
    bool nextTimesRead = false;  // and its times, read already
    TimeSpan nextTimes;
    // A frame rate that the file declares on its first line.
    bool declaresFrameRate = false;
    double declaredFrameRate = 0.0;
    ClassifiedLine classified[4];  // the last lines classified, by their index modulo 4
};

inline EntryScan startEntryScan(const LineStore& store, NotConvertedLines* notConverted) {
    EntryScan scan;
    scan.store = &store;
    scan.notConverted = notConverted;
    return scan;
}

// The next entry; false when the store has no more.
bool nextEntry(EntryScan& scan, SrtEntry& entry);

// The kind of the file's first entry (none when it has none), and the frame
// rate it declares: what a run asks before it writes anything.
EntryScan firstEntry(const LineStore& store, SrtEntry& entry);

// The earliest start among the file's entries, in seconds as the writers
// compute it (a frame's at `frameRate`); 0 when it has none.
double earliestStart(const LineStore& store, double frameRate);
