// SSA to SRT: writes one numbered SRT entry for each event of a Sub Station
// Alpha script.
#include "ssa_events.h"
#include "text_output.h"
#include "time_format.h"
#include "writers.h"

namespace {

// The text, with a new output line wherever it holds a backslash and "n" or "N".
void putEventText(OutputFile& out, std::string_view text) {
    if (!containsByte(text, '\\')) {
        put(out, text);
        return;
    }
    for (std::size_t slash; (slash = text.find('\\')) != std::string_view::npos;) {
        put(out, text.substr(0, slash));
        const char next = slash + 1 < text.size() ? text[slash + 1] : '\0';
        if (next == 'n' || next == 'N') {
            putLineEnd(out);
            text.remove_prefix(slash + 2);
        } else {
            putChar(out, '\\');
            text.remove_prefix(slash + 1);
        }
    }
    put(out, text);
}

}  // namespace

WriteOutcome writeSsaToSrt(const LineStore& store, const ConversionSettings& settings,
                           const char* outputPath) {
    OutputFile out;
    if (!openOutput(out, outputPath, store.encoding, expectedOutputBytes(store), settings.dryRun))
        return failedOutcome(out);
    const double earliest = settings.shiftFirstSub ? earliestEventStart(store) : 0.0;
    EntryWriting w{out, store, settings, firstSubShift(settings, earliest), 0, {}, {},
                   writerTimeChange(settings, store, true), {}, {}, startMarkupWriting(store, settings), {}};
    EventScan scan = startEventScan(store, &w.notConverted);
    for (SsaEvent event; nextEvent(scan, event);) {
        if (w.change.on && !changedTimes(w, retimedSpan(w.change, event.times), event.line, event.times))
            continue;
        char timing[kTimesBufferSize];
        char* timingEnd = timing;
        if (!putTimingLine(timingEnd, readTimes(event.times), w.change.on ? FirstSubShift{false, 0.0} : w.shift)) {
            passes(w.beyond, w.subs + 1, event.line, kLatestSrtText);
            break;
        }
        // Entries are numbered by their place: 1, 2, 3 ...
        putDecimal(out, ++w.subs);
        putLineEnd(out);
        put(out, std::string_view(timing, static_cast<std::size_t>(timingEnd - timing)));
        putLineEnd(out);
        if (w.markup.mode != MarkupMode::keep) {
            const MarkedText marked = readSsaMarkup(event.text, styleNamed(w.markup.styles, event.style), event.line + 1,
                                                    w.markup.unicode, &w.markup.dropped);
            putLines(out, markupLines(w.markup, marked, MarkupLayout::srt, false, w.notConverted), kLineEnd);
        } else {
            putEventText(out, event.text);
        }
        putLineEnd(out);
        putLineEnd(out);
    }
    return finishOutput(w);
}
