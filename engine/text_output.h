// What the writers share: numbers in decimal, texts with their separators
// replaced, the room an output is expected to take, the first-subtitle shift,
// and finishing an output.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "byte_scan.h"
#include "characters.h"
#include "entry_scan.h"
#include "line_store.h"
#include "markup.h"
#include "output_file.h"
#include "time_change.h"
#include "time_format.h"
#include "writers.h"

// Room to ask for the output before writing it: the outputs of these
// conversions are about the size of their input, and never far beyond twice it.
inline std::size_t expectedOutputBytes(const LineStore& store) {
    return 2 * (store.textMemory.size + store.indexMemory.size);
}

inline void putDecimal(OutputFile& out, std::int32_t value) {
    char digits[12];
    const auto n = static_cast<std::size_t>(putDigits(digits, value, 1) - digits);
    // Said so that GCC does not take copyShort's wider moves for reads beyond
    // the buffer (it warns of them on 64-bit Windows).
    if (n > sizeof digits) __builtin_unreachable();
    put(out, std::string_view(digits, n));
}

// The text, each `separator` in it written as `joint`.
inline void putJoined(OutputFile& out, std::string_view text, char separator, std::string_view joint) {
    if (!containsByte(text, separator)) {
        put(out, text);
        return;
    }
    for (std::size_t mark; (mark = text.find(separator)) != std::string_view::npos;) {
        put(out, text.substr(0, mark));
        put(out, joint);
        text.remove_prefix(mark + 1);
    }
    put(out, text);
}

// The lines, `joint` between each two.
inline void putLines(OutputFile& out, const std::vector<std::string>& lines, std::string_view joint) {
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k > 0) put(out, joint);
        put(out, lines[k]);
    }
}

// Whether a text holds a backslash and an "n" or an "N", which a script's
// reader takes for a line break.
inline bool holdsScriptBreak(std::string_view text, char n) {
    for (std::size_t at = text.find('\\'); at != std::string_view::npos; at = text.find('\\', at + 1))
        if (at + 1 < text.size() && text[at + 1] == n) return true;
    return false;
}

// The first-subtitle shift of one writer, from the earliest start of its
// input (`earliest` seconds, as the writer computes its times).
inline FirstSubShift firstSubShift(const ConversionSettings& settings, double earliest) {
    return settings.shiftFirstSub ? FirstSubShift{true, firstSubSeconds(settings) - earliest} : FirstSubShift{false, 0.0};
}

// What a writer keeps while it writes.
struct EntryWriting {
    OutputFile& out;
    const LineStore& store;
    const ConversionSettings& settings;
    FirstSubShift shift;
    std::int32_t subs = 0;
    NotConvertedLines notConverted;
    TimesBeyond beyond;
    TimeChangePlan change;
    OverlapWatch watch;
    NotedLines overlaps;
    MarkupWriting markup;
    ChangedTimes changed;
};

// The times of an entry after the time change, from its times after the
// speed change. False when it is not written: it now ends at or before 0,
// which is noted at its timing line (`line`, from 0), as is an overlap.
inline bool changedTimes(const TimeChangePlan& plan, const TimeSpan& retimed, std::int32_t line,
                         OverlapWatch& watch, NotConvertedLines& notConverted, NotedLines& overlaps, TimeSpan& times) {
    times = retimed;
    if (!moveSpan(plan, times)) {
        notConverted.add(line + 1, NotConverted::beforeZero);
        return false;
    }
    if (nowOverlaps(watch, retimed, times)) overlaps.add(line + 1);
    return true;
}
inline bool changedTimes(EntryWriting& w, const TimeSpan& retimed, std::int32_t line, TimeSpan& times) {
    if (!changedTimes(w.change, retimed, line, w.watch, w.notConverted, w.overlaps, times)) return false;
    if (!w.changed.any) w.changed = {true, times.start, times.end};
    w.changed.lastEnd = times.end;
    return true;
}

// The time change of a writer over the store, which the run has checked.
inline TimeChangePlan writerTimeChange(const ConversionSettings& settings, const LineStore& store, bool events) {
    TimeChangePlan plan;
    std::int32_t entry;
    planTimeChange(settings, store, events, plan, entry);
    return plan;
}

// The text lines of an SRT entry, read for their markup.
MarkedText entryMarkup(EntryWriting& w, const SrtEntry& entry);

// How the outputs write their latest time or frame, for the message of a
// run whose times pass it.
constexpr const char* kLatestSsaText = "999:59:59.99";
constexpr const char* kLatestSrtText = "999:59:59,999";
constexpr const char* kLastFrameText = "frame 999999999";

// Notes that the subtitle at `position` (its line from 0) passes `limit`;
// false, which stops the writer.
inline bool passes(TimesBeyond& beyond, std::int32_t position, std::int32_t line, const char* limit) {
    beyond = {position, line + 1, limit};
    return false;
}

// The outcome of a writer whose output could not be opened.
inline WriteOutcome failedOutcome(const OutputFile& out) {
    WriteOutcome outcome;
    outcome.failure = out.failure;
    return outcome;
}

// Notes the lines after an end-of-file mark and those that could not be
// decoded, then puts the output in place, unless a subtitle passed what the
// output holds, or the run is strict and some input line was not converted:
// then the output is abandoned and nothing is written.
WriteOutcome finishOutput(EntryWriting& w);
