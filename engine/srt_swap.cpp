// SRT swap: turns SRT timing lines into frame lines and frame lines into
// numbered SRT entries, at the settings' frame rate.
#include "entry_scan.h"
#include "text_output.h"
#include "time_format.h"
#include "writers.h"

namespace {

// A frame line from an entry of timing lines: "{start}{end}" with frame
// numbers of six digits or as many as they need, and the text lines joined by "|".
void writeFrameLine(EntryWriting& w, const SrtEntry& entry) {
    const double start = secondsOf(entry.times.start), end = secondsOf(entry.times.end);
    const double by = shiftFor(w.shift, start);
    char frames[32];
    char* p = frames;
    *p++ = '{';
    p = putDigits(p, timeToFrame(start + by, w.settings.frameRate), 6);
    *p++ = '}';
    *p++ = '{';
    p = putDigits(p, timeToFrame(end + by, w.settings.frameRate), 6);
    *p++ = '}';
    put(w.out, std::string_view(frames, static_cast<std::size_t>(p - frames)));
    for (std::int32_t k = entry.textFrom; k < entry.textTo; ++k) {
        const std::string_view text = line(w.store, k);
        // A "|" of the text reads back as a line break.
        if (containsByte(text, '|')) w.notConverted.add(k + 1, NotConverted::barInText);
        if (k > entry.textFrom) putChar(w.out, '|');
        put(w.out, text);
    }
    putLineEnd(w.out);
    w.subs += entry.textTo - entry.textFrom > 1 ? entry.textTo - entry.textFrom : 1;
}

// The timing line of a frame line's entry: the frames' times, rounded to
// milliseconds, moved by the first-subtitle shift when it is on.
void putFramesTiming(EntryWriting& w, const SrtEntry& entry) {
    char timing[kTimesBufferSize];
    Millis startMs, endMs;
    if (!w.shift.on && frameTime(entry.frames.start, w.settings.frameRate, 1000, startMs) &&
        frameTime(entry.frames.end, w.settings.frameRate, 1000, endMs)) {
        char* p = putSrtTime(timing, startMs);
        p += std::string_view(" --> ").copy(p, 5);
        put(w.out, std::string_view(timing, static_cast<std::size_t>(putSrtTime(p, endMs) - timing)));
        return;
    }
    const double start = entry.frames.start / w.settings.frameRate;
    const double end = entry.frames.end / w.settings.frameRate;
    const double by = shiftFor(w.shift, start);
    formatSrtTimes(start + by, end + by, timing, sizeof timing);
    put(w.out, timing);
}

// A numbered SRT entry from a frame line, its text's lines split at each "|".
void writeTimedEntry(EntryWriting& w, const SrtEntry& entry) {
    putDecimal(w.out, entry.position);
    putLineEnd(w.out);
    putFramesTiming(w, entry);
    putLineEnd(w.out);
    putJoined(w.out, line(w.store, entry.timingLine).substr(entry.frames.textFrom), '|', "\r\n");
    putLineEnd(w.out);
    putLineEnd(w.out);
    ++w.subs;
}

}  // namespace

WriteOutcome writeSrtSwap(const LineStore& store, const ConversionSettings& settings,
                          const char* outputPath) {
    OutputFile out;
    if (!openOutput(out, outputPath, store.encoding, expectedOutputBytes(store), settings.dryRun))
        return failedOutcome(out);
    EntryWriting w{out, store, settings, firstSubShift(settings), 0, {}};
    EntryScan scan = startEntryScan(store, &w.notConverted);
    for (SrtEntry entry; nextEntry(scan, entry);) {
        if (entry.kind == LineKindSrt)
            writeFrameLine(w, entry);
        else
            writeTimedEntry(w, entry);
    }
    return finishOutput(out, settings, store, w.subs, w.notConverted);
}
