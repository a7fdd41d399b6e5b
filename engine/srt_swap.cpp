// SRT swap: turns SRT timing lines into frame lines and frame lines into
// numbered SRT entries, at the settings' frame rate.
#include "entry_scan.h"
#include "text_output.h"
#include "time_format.h"
#include "writers.h"

namespace {

// "{start}{end}": frame numbers of six digits or as many as they need.
void putFramePair(OutputFile& out, std::int32_t start, std::int32_t end) {
    char frames[32];
    char* p = frames;
    *p++ = '{';
    p = putDigits(p, start, 6);
    *p++ = '}';
    *p++ = '{';
    p = putDigits(p, end, 6);
    *p++ = '}';
    const auto n = static_cast<std::size_t>(p - frames);
    if (n > sizeof frames) __builtin_unreachable();  // as in putDecimal
    put(out, std::string_view(frames, n));
}

// A frame line from an entry of timing lines: "{start}{end}" with frame
// numbers of six digits or as many as they need, and the text lines joined
// by "|". False when a frame passes what a frame line holds.
bool writeFrameLine(EntryWriting& w, const SrtEntry& entry) {
    std::int32_t start, end;
    if (w.change.on) {
        TimeSpan times;
        if (!changedTimes(w, retimedSpan(w.change, entry.times), entry.timingLine, times)) return true;
        start = frameOfTime(w.change, times.start, w.settings.frameRate);
        end = frameOfTime(w.change, times.end, w.settings.frameRate);
    } else {
        const double by = w.shift.by;
        start = timeToFrame(secondsOf(entry.times.start) + by, w.settings.frameRate);
        end = timeToFrame(secondsOf(entry.times.end) + by, w.settings.frameRate);
    }
    if (start > kLastFrame || end > kLastFrame) return passes(w.beyond, entry.position, entry.timingLine, kLastFrameText);
    putFramePair(w.out, start, end);
    if (w.markup.mode != MarkupMode::keep) {
        putLines(w.out, markupLines(w.markup, entryMarkup(w, entry), MarkupLayout::frames, false, w.notConverted), "|");
    } else {
        for (std::int32_t k = entry.textFrom; k < entry.textTo; ++k) {
            const std::string_view text = line(w.store, k);
            // A "|" of the text reads back as a line break.
            if (containsByte(text, '|')) w.notConverted.add(k + 1, NotConverted::barInText);
            if (k > entry.textFrom) putChar(w.out, '|');
            put(w.out, text);
        }
    }
    putLineEnd(w.out);
    w.subs += entry.textTo - entry.textFrom > 1 ? entry.textTo - entry.textFrom : 1;
    return true;
}

// A numbered SRT entry from a frame line, its text's lines split at each "|".
// False when its times pass what a timing line holds. After a time change
// the entries are numbered as written, and the times are the changed ones.
bool writeTimedEntry(EntryWriting& w, SrtEntry entry) {
    if (w.change.on &&
        !changedTimes(w, frameSpanTimes(w.change, entry.frames, w.settings.frameRate), entry.timingLine, entry.times))
        return true;
    char timing[kTimesBufferSize];
    char* timingEnd = timing;
    const EntryTimes times = w.change.on ? readTimes(entry.times)
                                         : frameTimes(entry.frames.start, entry.frames.end, w.settings.frameRate);
    if (!putTimingLine(timingEnd, times, w.change.on ? FirstSubShift{false, 0.0} : w.shift))
        return passes(w.beyond, entry.position, entry.timingLine, kLatestSrtText);
    putDecimal(w.out, w.change.on ? w.subs + 1 : entry.position);
    putLineEnd(w.out);
    put(w.out, std::string_view(timing, static_cast<std::size_t>(timingEnd - timing)));
    putLineEnd(w.out);
    const std::string_view text = line(w.store, entry.timingLine).substr(entry.frames.textFrom);
    if (w.markup.mode != MarkupMode::keep) {
        const MarkedText marked = readFrameMarkup(text, entry.timingLine + 1, &w.markup.dropped);
        putLines(w.out, markupLines(w.markup, marked, MarkupLayout::srt, false, w.notConverted), kLineEnd);
    } else {
        putJoined(w.out, text, '|', kLineEnd);
    }
    putLineEnd(w.out);
    putLineEnd(w.out);
    ++w.subs;
    return true;
}

// An entry written as the kind of line it was read from, with its times
// changed: a numbered entry of timing lines, numbered as written, or a frame
// line. False when its times pass what the output holds.
bool writeSameKind(EntryWriting& w, const SrtEntry& entry) {
    const bool timed = entry.kind == LineKindSrt;
    TimeSpan times;
    if (!changedTimes(w, timed ? retimedSpan(w.change, entry.times)
                               : frameSpanTimes(w.change, entry.frames, w.settings.frameRate),
                      entry.timingLine, times))
        return true;
    if (timed) {
        char timing[kTimesBufferSize];
        char* p = timing;
        if (!putTimingLine(p, readTimes(times), FirstSubShift{false, 0.0}))
            return passes(w.beyond, entry.position, entry.timingLine, kLatestSrtText);
        putDecimal(w.out, w.subs + 1);
        putLineEnd(w.out);
        put(w.out, std::string_view(timing, static_cast<std::size_t>(p - timing)));
        putLineEnd(w.out);
        for (std::int32_t k = entry.textFrom; k < entry.textTo; ++k) {
            put(w.out, line(w.store, k));
            putLineEnd(w.out);
        }
        putLineEnd(w.out);
    } else {
        const std::int32_t start = frameOfTime(w.change, times.start, w.settings.frameRate);
        const std::int32_t end = frameOfTime(w.change, times.end, w.settings.frameRate);
        if (start > kLastFrame || end > kLastFrame)
            return passes(w.beyond, entry.position, entry.timingLine, kLastFrameText);
        putFramePair(w.out, start, end);
        put(w.out, line(w.store, entry.timingLine).substr(entry.frames.textFrom));
        putLineEnd(w.out);
    }
    ++w.subs;
    return true;
}

}  // namespace

WriteOutcome writeSrtSwap(const LineStore& store, const ConversionSettings& settings,
                          const char* outputPath) {
    OutputFile out;
    if (!openOutput(out, outputPath, store.encoding, expectedOutputBytes(store), settings.dryRun))
        return failedOutcome(out);
    const double earliest = settings.shiftFirstSub ? earliestStart(store, settings.frameRate) : 0.0;
    EntryWriting w{out, store, settings, firstSubShift(settings, earliest), 0, {}, {},
                   writerTimeChange(settings, store, false), {}, {}, startMarkupWriting(store, settings), {}};
    EntryScan scan = startEntryScan(store, &w.notConverted);
    const bool sameKind = settings.keepLineKind && w.change.on;
    for (SrtEntry entry; nextEntry(scan, entry);)
        if (!(sameKind                       ? writeSameKind(w, entry)
              : entry.kind == LineKindSrt ? writeFrameLine(w, entry)
                                          : writeTimedEntry(w, entry)))
            break;
    return finishOutput(w);
}
