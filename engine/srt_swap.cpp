// SRT swap: turns SRT timing lines into frame lines and frame lines into
// numbered SRT entries, at the settings' frame rate.
#include "entry_scan.h"
#include "text_output.h"
#include "time_format.h"
#include "writers.h"

namespace {

// A frame line from an entry of timing lines: "{start}{end}" with frame
// numbers of six digits or as many as they need, and the text lines joined
// by "|". False when a frame passes what a frame line holds.
bool writeFrameLine(EntryWriting& w, const SrtEntry& entry) {
    const double by = w.shift.by;
    const std::int32_t start = timeToFrame(secondsOf(entry.times.start) + by, w.settings.frameRate);
    const std::int32_t end = timeToFrame(secondsOf(entry.times.end) + by, w.settings.frameRate);
    if (start > kLastFrame || end > kLastFrame) return passes(w.beyond, entry.position, entry.timingLine, kLastFrameText);
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
    put(w.out, std::string_view(frames, n));
    for (std::int32_t k = entry.textFrom; k < entry.textTo; ++k) {
        const std::string_view text = line(w.store, k);
        // A "|" of the text reads back as a line break.
        if (containsByte(text, '|')) w.notConverted.add(k + 1, NotConverted::barInText);
        if (k > entry.textFrom) putChar(w.out, '|');
        put(w.out, text);
    }
    putLineEnd(w.out);
    w.subs += entry.textTo - entry.textFrom > 1 ? entry.textTo - entry.textFrom : 1;
    return true;
}

// A numbered SRT entry from a frame line, its text's lines split at each "|".
// False when its times pass what a timing line holds.
bool writeTimedEntry(EntryWriting& w, const SrtEntry& entry) {
    char timing[kTimesBufferSize];
    char* timingEnd = timing;
    if (!putTimingLine(timingEnd, frameTimes(entry.frames.start, entry.frames.end, w.settings.frameRate), w.shift))
        return passes(w.beyond, entry.position, entry.timingLine, kLatestSrtText);
    putDecimal(w.out, entry.position);
    putLineEnd(w.out);
    put(w.out, std::string_view(timing, static_cast<std::size_t>(timingEnd - timing)));
    putLineEnd(w.out);
    putJoined(w.out, line(w.store, entry.timingLine).substr(entry.frames.textFrom), '|', kLineEnd);
    putLineEnd(w.out);
    putLineEnd(w.out);
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
    EntryWriting w{out, store, settings, firstSubShift(settings, earliest), 0, {}, {}};
    EntryScan scan = startEntryScan(store, &w.notConverted);
    for (SrtEntry entry; nextEntry(scan, entry);)
        if (!(entry.kind == LineKindSrt ? writeFrameLine(w, entry) : writeTimedEntry(w, entry))) break;
    return finishOutput(w);
}
