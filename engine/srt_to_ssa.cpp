// SRT to SSA: writes a Sub Station Alpha v4 script with one style and one or
// more Dialogue lines per entry of an SRT file of timing lines or frame lines.
#include <cstdio>
#include <cstring>
#include <iterator>

#include "column_copy.h"
#include "entry_scan.h"
#include "text_output.h"
#include "time_format.h"
#include "writers.h"

static const char* const kHeader[] = {
    "[Script Info]",
    "; This is a Sub Station Alpha v4 script.",
    "; For Sub Station Alpha info and downloads,",
    "; go to https://marliva.invalid/",
    "; or email subtitles@marliva.invalid",
    "Title: <untitled>",
    "Original Script: <unknown>",
    "ScriptType: v4.00",
    "Collisions: Normal",
    "PlayResY: 864",
    "PlayDepth: 0",
    "Timer: 100.0000",
    "",
    "[V4 Styles]",
    "Format: Name, Fontname, Fontsize, PrimaryColour, SecondaryColour, TertiaryColour, "
    "BackColour, Bold, Italic, BorderStyle, Outline, Shadow, Alignment, MarginL, MarginR, "
    "MarginV, AlphaLevel, Encoding",
    "Style: Default,Tahoma,50,16777215,65535,65535,-2147483640,-1,0,1,2,0,2,80,80,80,0,0",
    "",
    "[Events]",
    "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text",
};

static constexpr char kMargins[] = ",0000,0000,0000,,";

// The start of a Dialogue line up to its Name, from computed times.
static void timedPrefix(char (&prefix)[160], double start, double end) {
    static constexpr std::string_view kHead = "Dialogue: Marked=";
    static constexpr std::string_view kTail = ",*Default,";
    char times[kTimesBufferSize];
    formatSsaTimes(start, end, times, sizeof times);
    const std::size_t n = std::strlen(times);
    kHead.copy(prefix, kHead.size());
    std::memcpy(prefix + kHead.size(), times, n);
    kTail.copy(prefix + kHead.size() + n, kTail.size());
    prefix[kHead.size() + n + kTail.size()] = '\0';
}

// The Dialogue prefix with the times copied from an SRT timing line's columns.
static constexpr char kCopiedPrefix[] = "Dialogue: Marked=0,#:##:##.##,#:##:##.##,*Default,";
static constexpr int kCopiedColumns[] = {1, 3, 4, 6, 7, 9, 10, 18, 20, 21, 23, 24, 26, 27};
static_assert(marksIn(kCopiedPrefix) == std::size(kCopiedColumns));
static constexpr auto kPrefixCopy = makeColumnCopy(kCopiedPrefix, kCopiedColumns);

static void putDialogue(OutputFile& out, std::string_view prefix, std::string_view name,
                        std::string_view text) {
    put(out, prefix);
    put(out, name);
    put(out, kMargins);
    put(out, text);
}

// An entry from the SRT timing line at index t; returns the line at which the
// scan goes on.
static std::int32_t writeSrtEntry(OutputFile& out, const LineStore& store,
                                  const ConversionSettings& settings, TimeShift& shift,
                                  std::int32_t t, std::int32_t& subs) {
    LineColumns columns;
    const char* timing = columnsOf(line(store, t), columns);
    char prefixText[160];
    std::size_t prefixLength;
    if (settings.shiftFirstSub) {
        // The times are read only when they are moved; otherwise their
        // columns are copied.
        const double start = srtStart(timing) + fractionAt(timing, 9, 3);
        const double end = srtEnd(timing) + fractionAt(timing, 26, 3);
        if (subs == 0) shift = firstSubSeconds(settings) - start;
        timedPrefix(prefixText, start + shift, end + shift);
        prefixLength = std::strlen(prefixText);
    } else {
        // The times are copied as they stand: hundredths are the first two
        // millisecond digits. A zero byte beyond a short line ends the prefix.
        prefixLength = fillColumns(prefixText, kPrefixCopy, timing);
    }
    const std::string_view prefix(prefixText, prefixLength);
    const std::string_view name = lineOrEmpty(store, t - 1);
    putDialogue(out, prefix, name, lineOrEmpty(store, t + 1));

    std::int32_t k = t + 2;
    for (; k < store.count; ++k) {
        std::string_view text = line(store, k);
        if (nextIsSrtTimingLine(store, k)) break;
        if (settings.joinWithNewline) {
            if (text.empty()) {
                // Empty lines inside the text are empty pieces of it.
                const std::int32_t next = emptyLinesInText(store, k);
                if (next == store.count) break;
                for (; k < next; ++k) put(out, "\\n");
                text = line(store, k);
            }
            put(out, "\\n");
            put(out, text);
        } else {
            // An empty last line ends the entry unwritten, as the blank line of
            // a well-formed file's last entry.
            if (k == store.count - 1 && text.empty()) break;
            putLineEnd(out);
            putDialogue(out, prefix, name, text);
        }
    }
    subs += k - t - 1;
    return k;
}

static void writeFrameEntry(OutputFile& out, std::string_view frameLine,
                            const ConversionSettings& settings, TimeShift& shift,
                            std::int32_t& subs) {
    const FrameFields fields = frameFields(frameLine.data());
    const double start = fields.start / settings.frameRate;
    const double end = fields.end / settings.frameRate;
    if (subs == 0 && settings.shiftFirstSub) shift = firstSubSeconds(settings) - start;

    char prefix[160];
    timedPrefix(prefix, start + shift, end + shift);
    put(out, prefix);
    putDecimal(out, subs + 1);
    put(out, kMargins);
    putJoined(out, frameLine.substr(static_cast<std::size_t>(fields.textColumn)), '|', "\\n");
    ++subs;
}

WriteOutcome writeSrtToSsa(const LineStore& store, const ConversionSettings& settings,
                           const char* outputPath) {
    TimeShift shift = 0.0;
    OutputFile out;
    if (!openOutput(out, outputPath, store.encoding, expectedOutputBytes(store)))
        return failedOutcome(out);
    for (const char* headerLine : kHeader) {
        put(out, headerLine);
        putLineEnd(out);
    }

    std::int32_t subs = 0;
    scanEntries(
        store,
        [&](std::int32_t t) {
            const std::int32_t next = writeSrtEntry(out, store, settings, shift, t, subs);
            putLineEnd(out);
            return next;
        },
        [&](std::string_view frameLine) {
            writeFrameEntry(out, frameLine, settings, shift, subs);
            putLineEnd(out);
        });
    return finishOutput(out, settings, subs, {});
}
