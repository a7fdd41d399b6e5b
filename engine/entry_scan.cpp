// Entries of SRT files: which lines time an entry, which are its text, and
// which belong to no entry.
#include "entry_scan.h"

#include "byte_scan.h"
#include "characters.h"
#include "fast_paths.h"

namespace {

// What a line is, with its times or frames read where it is a timing line or
// a frame line. Most lines are text and begin with a letter, or are timing
// lines in the program's own shape, or numbers: those are told at once. Other
// shapes of timing lines need an arrow, and a line that begins with a letter
// can be only one that cannot be read.
LineClass classify(std::string_view l, TimeSpan& times, FrameSpan& frames) {
    if (l.empty()) return LineClass::empty;
    const char c = l[0];
    if (c == '{') {
        if (readFrameLine(l, frames)) return LineClass::frame;
        return looksLikeFrameLine(l) ? LineClass::unreadableFrame : LineClass::text;
    }
    const bool digit = isDigit(c);
    if (!digit && c != '-' && c != ' ' && c != '\t' && c != '\xC2' && c != '\xA0')
        return containsByte(l, '>') && looksLikeTimingLine(l) ? LineClass::unreadableTiming : LineClass::text;
    if (kFastPaths && digit && readOwnTimingLine(l, times)) return LineClass::timing;
    if (isNumberLine(l)) return LineClass::number;
    if (l.find('>') == std::string_view::npos && l.find('\xE2') == std::string_view::npos)
        return LineClass::text;
    if (readOtherTimingLine(l, times)) return LineClass::timing;
    return looksLikeTimingLine(l) ? LineClass::unreadableTiming : LineClass::text;
}

#if defined(__GNUC__)
__attribute__((noinline))
#endif
void classifyInto(EntryScan& scan, std::int32_t i, ClassifiedLine& slot) {
    slot.line = i;
    slot.kind = i < scan.store->count ? classify(line(*scan.store, i), slot.times, slot.frames) : LineClass::empty;
}

// Line i classified, through the scan's memory of the last lines it
// classified: the scan asks of most lines twice (whether the line before is
// a number is decided by the line after it, and an empty line by the lines
// after it), and reads each timing line once.
inline const ClassifiedLine& classifiedAt(EntryScan& scan, std::int32_t i) {
    ClassifiedLine& slot = scan.classified[i & 3];
    if (slot.line != i) classifyInto(scan, i, slot);
    return slot;
}

LineClass classifyAt(EntryScan& scan, std::int32_t i) { return classifiedAt(scan, i).kind; }

bool isTiming(LineClass c) { return c == LineClass::timing || c == LineClass::unreadableTiming; }

// Whether line i begins an entry of timing lines: a timing line, read or not,
// or the number line right before one. `timing` receives the timing line.
bool beginsTimedEntry(EntryScan& scan, std::int32_t i, LineClass c, std::int32_t& timing) {
    timing = c == LineClass::number ? i + 1 : i;
    return isTiming(c) || (c == LineClass::number && isTiming(classifyAt(scan, i + 1)));
}

// Digits alone.
inline bool isDigitLine(std::string_view l) {
    if (l.empty()) return false;
    for (const char c : l)
        if (!isDigit(c)) return false;
    return true;
}

// Whether a line is text for certain, told by its first byte: a letter, say,
// begins no number, frame line or timing line that can be read. (A timing
// line that cannot be read may begin with one, "O0:00:01,000 --> ...": it is
// told as such where an entry may begin, after an empty line or a number.)
inline bool isPlainText(std::string_view l) {
    if (l.empty()) return false;
    const char c = l[0];
    return !isDigit(c) && c != '-' && c != ' ' && c != '\t' && c != '{' && c != '\xC2' &&
           c != '\xA0';
}

// Where the text of the entry whose timing line is t ends. An empty line inside
// the text belongs to it unless the next line with text begins the next entry
// (a timing line or frame line, or the line right above a timing line, which
// is that entry's number line whatever it holds), or no such line follows:
// some files have entries with an empty line in their text. When the next
// entry's timing line can be read and its number is one, the scan goes on
// there.
std::int32_t textEnd(EntryScan& scan, std::int32_t t) {
    const LineStore& store = *scan.store;
    std::int32_t k = t + 1, timing = 0;
    for (; k < store.count; ++k) {
        const std::string_view l = line(store, k);
        if (isPlainText(l)) continue;
        // The usual end of an entry, told at once: an empty line, the next
        // entry's number and its timing line in the program's own shape.
        if (kFastPaths && l.empty() && k + 2 < store.count && isDigitLine(line(store, k + 1)) &&
            readOwnTimingLine(line(store, k + 2), scan.nextTimes)) {
            scan.nextTiming = k + 2;
            scan.nextTimesRead = true;
            return k;
        }
        const LineClass c = classifyAt(scan, k);
        if (beginsTimedEntry(scan, k, c, timing)) break;
        if (c != LineClass::empty) continue;
        std::int32_t next = k;
        while (next < store.count && line(store, next).empty()) ++next;
        if (next == store.count) return k;
        const LineClass after = classifyAt(scan, next);
        if (after == LineClass::frame || after == LineClass::unreadableFrame) return k;
        if (beginsTimedEntry(scan, next, after, timing)) break;
        if (isTiming(classifyAt(scan, next + 1))) return k;
        k = next;
    }
    if (k < store.count && classifyAt(scan, timing) == LineClass::timing) scan.nextTiming = timing;
    return k;
}

void note(EntryScan& scan, std::int32_t i, NotConverted reason) {
    if (scan.notConverted) scan.notConverted->add(i + 1, reason);
}

// The entry of timing lines whose timing line is t, with a number line
// before it when `numbered`, else when the line before is one.
void timedEntry(EntryScan& scan, std::int32_t t, const TimeSpan& times, bool numbered, SrtEntry& entry) {
    entry.kind = LineKindSrt;
    entry.timingLine = t;
    entry.times = times;
    const LineClass before = numbered || t == 0 ? LineClass::empty : classifyAt(scan, t - 1);
    entry.numberLine = before == LineClass::empty || before == LineClass::number ? t - 1 : kNoNumberLine;
    entry.textFrom = t + 1;
    entry.textTo = textEnd(scan, t);
    scan.next = entry.textTo;
}

// Line i, which begins no entry: a layout's line (empty, the number before a
// timing line) or a line not converted, noted with its reason. Returns where
// the scan goes on: after the entry of a timing line that cannot be read.
std::int32_t skipLine(EntryScan& scan, std::int32_t i, LineClass c) {
    NotConverted outside = scan.entries ? NotConverted::textOutsideSubtitles : NotConverted::textBeforeFirstSubtitle;
    // The line right above a timing line, with an empty line or the file's
    // start above it, is that entry's number line, whatever it holds.
    if (scan.lock != LineKindFrame && (i == 0 || line(*scan.store, i - 1).empty()) &&
        isTiming(classifyAt(scan, i + 1)))
        outside = NotConverted::numberNotNumber;
    switch (c) {
    case LineClass::empty: break;
    case LineClass::number:
        // The number of the entry that follows, or text outside any.
        if (scan.lock == LineKindFrame || !isTiming(classifyAt(scan, i + 1))) note(scan, i, outside);
        break;
    case LineClass::timing: note(scan, i, NotConverted::timingLineAmongFrameLines); break;
    case LineClass::frame: note(scan, i, NotConverted::frameLineAmongTimingLines); break;
    case LineClass::unreadableFrame:
        note(scan, i, scan.lock == LineKindSrt ? NotConverted::frameLineAmongTimingLines : NotConverted::unreadableFrame);
        break;
    case LineClass::unreadableTiming: {
        if (scan.lock == LineKindFrame) {
            note(scan, i, NotConverted::timingLineAmongFrameLines);
            break;
        }
        // The lines of its entry go with it.
        note(scan, i, NotConverted::unreadableTiming);
        const std::int32_t end = textEnd(scan, i);
        for (std::int32_t k = i + 1; k < end; ++k)
            if (!line(*scan.store, k).empty()) note(scan, k, NotConverted::textOfUnreadableTiming);
        return end;
    }
    case LineClass::text: note(scan, i, outside); break;
    }
    return i + 1;
}

}  // namespace

bool nextEntry(EntryScan& scan, SrtEntry& entry) {
    const LineStore& store = *scan.store;
    while (scan.next < store.count) {
        // Only empty lines and the number line stand before a timing line
        // that the last entry's text ended at.
        if (scan.nextTiming > 0) scan.next = scan.nextTiming;
        scan.nextTiming = 0;
        const bool timesRead = scan.nextTimesRead;
        scan.nextTimesRead = false;
        const std::int32_t i = scan.next;
        if (timesRead && scan.lock != LineKindFrame) {
            scan.lock = LineKindSrt;
            const TimeSpan times = scan.nextTimes;
            timedEntry(scan, i, times, true, entry);
            entry.position = ++scan.entries;
            return true;
        }
        if (i == 0 && isFrameRateDeclaration(line(store, i), scan.declaredFrameRate)) {
            scan.declaresFrameRate = true;
            ++scan.next;
            continue;
        }
        const ClassifiedLine classified = classifiedAt(scan, i);
        if (classified.kind == LineClass::timing && scan.lock != LineKindFrame) {
            scan.lock = LineKindSrt;
            timedEntry(scan, i, classified.times, false, entry);
            entry.position = ++scan.entries;
            return true;
        }
        if (classified.kind == LineClass::frame && scan.lock != LineKindSrt) {
            scan.lock = LineKindFrame;
            entry = {};
            entry.kind = LineKindFrame;
            entry.timingLine = i;
            entry.frames = classified.frames;
            entry.position = ++scan.entries;
            ++scan.next;
            return true;
        }
        scan.next = skipLine(scan, i, classified.kind);
    }
    return false;
}

EntryScan firstEntry(const LineStore& store, SrtEntry& entry) {
    EntryScan scan = startEntryScan(store, nullptr);
    if (!nextEntry(scan, entry)) entry.kind = LineKindNone;
    return scan;
}

double earliestStart(const LineStore& store, double frameRate) {
    EntryScan scan = startEntryScan(store, nullptr);
    SrtEntry entry;
    if (!nextEntry(scan, entry)) return 0.0;
    const LineKind kind = entry.kind;
    Millis earliestTime = entry.times.start;
    std::int32_t earliestFrame = entry.frames.start;
    while (nextEntry(scan, entry)) {
        if (entry.times.start < earliestTime) earliestTime = entry.times.start;
        if (entry.frames.start < earliestFrame) earliestFrame = entry.frames.start;
    }
    return kind == LineKindSrt ? secondsOf(earliestTime) : earliestFrame / frameRate;
}
