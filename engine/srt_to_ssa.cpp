// SRT to SSA: writes a Sub Station Alpha v4 script with one style and one or
// more Dialogue lines per entry of an SRT file of timing lines or frame lines.
#include <cstdio>
#include <cstring>

#include "writer_common.h"
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
static void timedPrefix(char* prefix, std::size_t size, double start, double end) {
    char times[kTimesBufferSize];
    formatSsaTimes(start, end, times, sizeof times);
    std::snprintf(prefix, size, "Dialogue: Marked=%s,*Default,", times);
}

static void putDialogue(OutputFile& out, const char* prefix, const char* name, const char* text) {
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
    const char* timing = line(store, t);
    const double start = srtStart(timing) + fractionAt(timing, 9, 3);
    const double end = srtEnd(timing) + fractionAt(timing, 26, 3);
    if (subs == 0 && settings.shiftFirstSub) shift = settings.firstSubTime - start;

    char prefix[160];
    if (settings.shiftFirstSub) {
        timedPrefix(prefix, sizeof prefix, start + shift, end + shift);
    } else {
        // The times are copied as they stand: hundredths are the first two
        // millisecond digits. A zero byte beyond a short line ends the prefix.
        const char* c = timing;
        std::snprintf(prefix, sizeof prefix,
                      "Dialogue: Marked=0,%c:%c%c:%c%c.%c%c,%c:%c%c:%c%c.%c%c,*Default,", c[1],
                      c[3], c[4], c[6], c[7], c[9], c[10], c[18], c[20], c[21], c[23], c[24],
                      c[26], c[27]);
    }
    const char* name = lineOrEmpty(store, t - 1);
    putDialogue(out, prefix, name, lineOrEmpty(store, t + 1));

    std::int32_t k = t + 2;
    for (; k < store.count; ++k) {
        const char* text = line(store, k);
        if (nextIsSrtTimingLine(store, k)) break;
        if (settings.joinWithNewline) {
            if (text[0] == '\0') break;
            put(out, "\\n");
            put(out, text);
        } else {
            // An empty last line ends the entry unwritten, as the blank line of
            // a well-formed file's last entry.
            if (k == store.count - 1 && text[0] == '\0') break;
            putLineEnd(out);
            putDialogue(out, prefix, name, text);
        }
    }
    subs += k - t - 1;
    return k;
}

static void writeFrameEntry(OutputFile& out, const char* frameLine,
                            const ConversionSettings& settings, TimeShift& shift,
                            std::int32_t& subs) {
    const FrameFields fields = frameFields(frameLine);
    const double start = fields.start / settings.frameRate;
    const double end = fields.end / settings.frameRate;
    if (subs == 0 && settings.shiftFirstSub) shift = settings.firstSubTime - start;

    char prefix[160];
    timedPrefix(prefix, sizeof prefix, start + shift, end + shift);
    char name[16];
    std::snprintf(name, sizeof name, "%d", static_cast<int>(subs + 1));
    put(out, prefix);
    put(out, name);
    put(out, kMargins);
    for (const char* p = frameLine + fields.textColumn; *p; ++p) {
        if (*p == '|')
            put(out, "\\n");
        else
            putChar(out, *p);
    }
    ++subs;
}

WriteOutcome writeSrtToSsa(const LineStore& store, const ConversionSettings& settings,
                           TimeShift& shift, const char* outputPath) {
    OutputFile out;
    if (!openOutput(out, outputPath)) return {0, false};
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
        [&](const char* frameLine) {
            writeFrameEntry(out, frameLine, settings, shift, subs);
            putLineEnd(out);
        });
    return {subs, commitOutput(out)};
}
