// SRT swap: turns SRT timing lines into frame lines and frame lines into
// numbered SRT entries, at the settings' frame rate.
#include "column_copy.h"
#include "entry_scan.h"
#include "text_output.h"
#include "time_format.h"
#include "writers.h"

// A frame line from the SRT timing line at index t; returns the line at which
// the scan goes on.
static std::int32_t writeFrameLineEntry(OutputFile& out, const LineStore& store,
                                        const ConversionSettings& settings, TimeShift& shift,
                                        std::int32_t t, std::int32_t& subs) {
    LineColumns columns;
    const char* timing = columnsOf(line(store, t), columns);
    // Two millisecond digits count; the third is never read.
    const double start = srtStart(timing) + fractionAt(timing, 9, 2);
    const double end = srtEnd(timing) + fractionAt(timing, 26, 2);
    if (subs == 0 && settings.shiftFirstSub) shift = firstSubSeconds(settings) - start;

    // "{%.6d}{%.6d}"
    char frames[64];  // more than the frame numbers need: the copy into the output moves up to 32
    char* p = frames;
    *p++ = '{';
    p = putDigits(p, timeToFrame(start + shift, settings.frameRate), 6);
    *p++ = '}';
    *p++ = '{';
    p = putDigits(p, timeToFrame(end + shift, settings.frameRate), 6);
    *p++ = '}';
    put(out, std::string_view(frames, static_cast<std::size_t>(p - frames)));
    put(out, lineOrEmpty(store, t + 1));

    std::int32_t k = t + 2;
    for (; k < store.count; ++k) {
        std::string_view text = line(store, k);
        if (nextIsSrtTimingLine(store, k)) break;
        if (text.empty()) {
            // Empty lines inside the text are empty pieces of it.
            const std::int32_t next = emptyLinesInText(store, k);
            if (next == store.count) break;
            for (; k < next; ++k) putChar(out, '|');
            text = line(store, k);
        }
        putChar(out, '|');
        put(out, text);
    }
    putLineEnd(out);
    subs += k - t - 1;
    return k;
}

static void writeTimedEntry(OutputFile& out, std::string_view frameLine,
                            const ConversionSettings& settings, TimeShift& shift,
                            std::int32_t& subs) {
    const FrameFields fields = frameFields(frameLine.data());
    const double start = fields.start / settings.frameRate;
    const double end = fields.end / settings.frameRate;
    if (subs == 0 && settings.shiftFirstSub) shift = firstSubSeconds(settings) - start;

    char timing[kTimesBufferSize];
    formatSrtTimes(start + shift, end + shift, timing, sizeof timing);
    putDecimal(out, subs + 1);
    putLineEnd(out);
    put(out, timing);
    putLineEnd(out);
    putJoined(out, frameLine.substr(static_cast<std::size_t>(fields.textColumn)), '|', "\r\n");
    putLineEnd(out);
    putLineEnd(out);
    ++subs;
}

WriteOutcome writeSrtSwap(const LineStore& store, const ConversionSettings& settings,
                          const char* outputPath) {
    TimeShift shift = 0.0;
    OutputFile out;
    if (!openOutput(out, outputPath, store.encoding, expectedOutputBytes(store)))
        return failedOutcome(out);

    std::int32_t subs = 0;
    scanEntries(
        store,
        [&](std::int32_t t) { return writeFrameLineEntry(out, store, settings, shift, t, subs); },
        [&](std::string_view frameLine) { writeTimedEntry(out, frameLine, settings, shift, subs); });
    return finishOutput(out, settings, subs, {});
}
