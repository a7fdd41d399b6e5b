// Entries of SRT files: which lines time an entry, which are its text, and
// which belong to no entry.
#include "entry_scan.h"

namespace {

// What a line is, with its times or frames read where it is a timing line or
// a frame line. Most lines are text and begin with a letter: those are told
// by their first byte.
LineClass classify(std::string_view l, TimeSpan& times, FrameSpan& frames) {
    if (l.empty()) return LineClass::empty;
    const char c = l[0];
    if (c == '{') return readFrameLine(l, frames) ? LineClass::frame : LineClass::text;
    const bool mayTime = (c >= '0' && c <= '9') || c == '-' || c == ' ' || c == '\t' ||
                         c == '\xC2' || c == '\xA0';
    if (!mayTime) return LineClass::text;
    if (readTimingLine(l, times)) return LineClass::timing;
    if (isNumberLine(l)) return LineClass::number;
    return looksLikeTimingLine(l) ? LineClass::unreadableTiming : LineClass::text;
}

// Line i classified, through the scan's memory of the last lines it
// classified: the scan asks of most lines twice (whether the line before is
// a number is decided by the line after it), and reads each timing line once.
const ClassifiedLine& classifiedAt(EntryScan& scan, std::int32_t i) {
    ClassifiedLine& slot = scan.classified[i & 1];
    if (slot.line != i) {
        slot.line = i;
        slot.kind = i < scan.store->count ? classify(line(*scan.store, i), slot.times, slot.frames)
                                          : LineClass::empty;
    }
    return slot;
}

LineClass classifyAt(EntryScan& scan, std::int32_t i) { return classifiedAt(scan, i).kind; }

bool isTiming(LineClass c) { return c == LineClass::timing || c == LineClass::unreadableTiming; }

// Whether line i begins an entry of timing lines: a timing line, read or not,
// or the number line right before one.
bool beginsTimedEntry(EntryScan& scan, std::int32_t i, LineClass c) {
    return isTiming(c) || (c == LineClass::number && isTiming(classifyAt(scan, i + 1)));
}

// Where the text of the entry whose timing line is t ends. An empty line inside
// the text belongs to it unless the next line with text begins the next entry
// (a timing line or frame line, or the number before a timing line), or no
// such line follows: some files have entries with an empty line in their text.
std::int32_t textEnd(EntryScan& scan, std::int32_t t) {
    const LineStore& store = *scan.store;
    std::int32_t k = t + 1;
    while (k < store.count) {
        const LineClass c = classifyAt(scan, k);
        if (beginsTimedEntry(scan, k, c)) break;
        if (c == LineClass::empty) {
            std::int32_t next = k;
            while (next < store.count && line(store, next).empty()) ++next;
            if (next == store.count) break;
            const LineClass after = classifyAt(scan, next);
            if (after == LineClass::frame || beginsTimedEntry(scan, next, after)) break;
            k = next;
        }
        ++k;
    }
    return k;
}

void note(EntryScan& scan, std::int32_t i, NotConverted reason) {
    if (scan.notConverted) scan.notConverted->add(i + 1, reason);
}

// The entry of timing lines whose timing line is t.
void timedEntry(EntryScan& scan, std::int32_t t, const TimeSpan& times, SrtEntry& entry) {
    const LineStore& store = *scan.store;
    entry.kind = LineKindSrt;
    entry.timingLine = t;
    entry.times = times;
    entry.numberLine = t == 0 || isNumberLine(line(store, t - 1)) ? t - 1 : kNoNumberLine;
    entry.textFrom = t + 1;
    entry.textTo = textEnd(scan, t);
    scan.next = entry.textTo;
}

}  // namespace

bool nextEntry(EntryScan& scan, SrtEntry& entry) {
    const LineStore& store = *scan.store;
    while (scan.next < store.count) {
        const std::int32_t i = scan.next;
        const std::string_view l = line(store, i);
        if (i == 0 && isFrameRateDeclaration(l, scan.declaredFrameRate)) {
            scan.declaresFrameRate = true;
            ++scan.next;
            continue;
        }
        const ClassifiedLine classified = classifiedAt(scan, i);
        const LineClass c = classified.kind;
        if (c == LineClass::timing && scan.lock != LineKindFrame) {
            scan.lock = LineKindSrt;
            timedEntry(scan, i, classified.times, entry);
            entry.position = ++scan.entries;
            return true;
        }
        if (c == LineClass::frame && scan.lock != LineKindSrt) {
            scan.lock = LineKindFrame;
            entry = {};
            entry.kind = LineKindFrame;
            entry.timingLine = i;
            entry.frames = classified.frames;
            entry.position = ++scan.entries;
            ++scan.next;
            return true;
        }
        ++scan.next;
        switch (c) {
        case LineClass::empty: break;
        case LineClass::number:
            // The number of the entry that follows, or text outside any.
            if (scan.lock != LineKindFrame && isTiming(classifyAt(scan, i + 1))) break;
            note(scan, i, scan.entries ? NotConverted::textOutsideSubtitles : NotConverted::textBeforeFirstSubtitle);
            break;
        case LineClass::timing: note(scan, i, NotConverted::timingLineAmongFrameLines); break;
        case LineClass::frame: note(scan, i, NotConverted::frameLineAmongTimingLines); break;
        case LineClass::unreadableTiming:
            if (scan.lock == LineKindFrame) {
                note(scan, i, NotConverted::timingLineAmongFrameLines);
                break;
            }
            // The lines of its entry go with it.
            note(scan, i, NotConverted::unreadableTiming);
            scan.next = textEnd(scan, i);
            for (std::int32_t k = i + 1; k < scan.next; ++k)
                if (!line(store, k).empty()) note(scan, k, NotConverted::textOfUnreadableTiming);
            break;
        case LineClass::text:
            note(scan, i, scan.entries ? NotConverted::textOutsideSubtitles : NotConverted::textBeforeFirstSubtitle);
            break;
        }
    }
    return false;
}

EntryScan firstEntry(const LineStore& store, SrtEntry& entry) {
    EntryScan scan = startEntryScan(store, nullptr);
    if (!nextEntry(scan, entry)) entry.kind = LineKindNone;
    return scan;
}
