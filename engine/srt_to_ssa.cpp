// SRT to SSA: writes a Sub Station Alpha v4 script with one style and one or
// more Dialogue lines per entry of an SRT file of timing lines or frame lines.
#include "byte_scan.h"
#include "entry_scan.h"
#include "ssa_events.h"
#include "text_output.h"
#include "time_format.h"
#include "writers.h"

namespace {

const char* const kHeader[] = {
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
};

constexpr std::string_view kMargins = ",0000,0000,0000,,";
constexpr std::string_view kStyle = ",*Default,";

// The start of a Dialogue line up to its Name.
struct Prefix {
    char text[160];
    std::size_t length = 0;

    std::string_view view() const { return {text, length}; }
};

// "Dialogue: Marked=0,Start,End,*Default,"; false when the times pass what a
// script holds.
bool putPrefix(Prefix& prefix, const EntryTimes& times, const FirstSubShift& shift) {
    static constexpr std::string_view kHead = "Dialogue: Marked=";
    char* p = prefix.text;
    p += kHead.copy(p, kHead.size());
    const bool within = putEventTimes(p, times, shift);
    p += kStyle.copy(p, kStyle.size());
    prefix.length = static_cast<std::size_t>(p - prefix.text);
    return within;
}

// Inlined where a Dialogue line is written: a call would cost more than the copies.
#if defined(__GNUC__)
__attribute__((always_inline))
#endif
inline void putDialogue(OutputFile& out, std::string_view prefix, std::string_view name, std::string_view text) {
    put(out, prefix);
    put(out, name);
    put(out, kMargins);
    put(out, text);
}

// Text that a script's reader would break where the input has none.
void noteScriptBreaks(std::string_view text, std::int32_t line, NotConvertedLines& notConverted) {
    if (!containsByte(text, '\\')) return;
    if (holdsScriptBreak(text, 'n')) notConverted.add(line + 1, NotConverted::newlineInText);
    if (holdsScriptBreak(text, 'N')) notConverted.add(line + 1, NotConverted::capitalNewlineInText);
}

// The text lines of an entry that a script's reader would break: looked for
// line by line only where the entry's text holds a backslash at all.
void noteEntryBreaks(EntryWriting& w, const SrtEntry& entry) {
    if (entry.textFrom == entry.textTo) return;
    const std::string_view first = line(w.store, entry.textFrom), last = line(w.store, entry.textTo - 1);
    const std::string_view text(first.data(), static_cast<std::size_t>(last.data() + last.size() - first.data()));
    if (!containsByte(text, '\\')) return;
    for (std::int32_t k = entry.textFrom; k < entry.textTo; ++k) noteScriptBreaks(line(w.store, k), k, w.notConverted);
}

// Changed times, rounded half up to hundredths, into the prefix; false when
// they pass what a script holds.
bool changedPrefix(const TimeSpan& times, Prefix& prefix) {
    return putPrefix(prefix, readTimes({hundredthsOf(times.start), hundredthsOf(times.end)}), FirstSubShift{false, 0.0});
}

// An entry of timing lines: its text lines joined by "\n" into one Dialogue
// line, or each a Dialogue line of its own. False when its times pass what a
// script holds.
bool writeTimedEntry(EntryWriting& w, const SrtEntry& entry) {
    Prefix prefix;
    if (w.change.on) {
        TimeSpan times;
        if (!changedTimes(w, retimedSpan(w.change, entry.times), entry.timingLine, times)) return true;
        if (!changedPrefix(times, prefix)) return passes(w.beyond, entry.position, entry.timingLine, kLatestSsaText);
    } else if (!putPrefix(prefix, readTimes(entry.times), w.shift)) {
        return passes(w.beyond, entry.position, entry.timingLine, kLatestSsaText);
    }
    char position[12];
    const std::string_view name =
        entry.numberLine == kNoNumberLine
            ? std::string_view(position, static_cast<std::size_t>(putDigits(position, entry.position, 1) - position))
            : lineOrEmpty(w.store, entry.numberLine);
    if (w.markup.mode != MarkupMode::keep) {
        const std::vector<std::string> texts = markupLines(w.markup, entryMarkup(w, entry), MarkupLayout::ssa,
                                                           w.settings.joinWithNewline, w.notConverted);
        for (std::size_t k = 0; k < texts.size(); ++k) {
            if (k > 0) putLineEnd(w.out);
            putDialogue(w.out, prefix.view(), name, texts[k]);
        }
        putLineEnd(w.out);
        w.subs += entry.textTo - entry.textFrom > 1 ? entry.textTo - entry.textFrom : 1;
        return true;
    }
    noteEntryBreaks(w, entry);
    if (entry.textFrom == entry.textTo) {
        putDialogue(w.out, prefix.view(), name, {});
    } else if (w.settings.joinWithNewline) {
        putDialogue(w.out, prefix.view(), name, line(w.store, entry.textFrom));
        for (std::int32_t k = entry.textFrom + 1; k < entry.textTo; ++k) {
            put(w.out, "\\n");
            put(w.out, line(w.store, k));
        }
    } else {
        for (std::int32_t k = entry.textFrom; k < entry.textTo; ++k) {
            if (k > entry.textFrom) putLineEnd(w.out);
            putDialogue(w.out, prefix.view(), name, line(w.store, k));
        }
    }
    putLineEnd(w.out);
    w.subs += entry.textTo - entry.textFrom > 1 ? entry.textTo - entry.textFrom : 1;
    return true;
}

// A frame line: its text, whose lines "|" joins, as one Dialogue line. False
// when its times pass what a script holds.
bool writeFrameEntry(EntryWriting& w, const SrtEntry& entry) {
    Prefix prefix;
    if (w.change.on) {
        TimeSpan times;
        if (!changedTimes(w, frameSpanTimes(w.change, entry.frames, w.settings.frameRate), entry.timingLine, times))
            return true;
        if (!changedPrefix(times, prefix)) return passes(w.beyond, entry.position, entry.timingLine, kLatestSsaText);
    } else if (!putPrefix(prefix, frameTimes(entry.frames.start, entry.frames.end, w.settings.frameRate), w.shift)) {
        return passes(w.beyond, entry.position, entry.timingLine, kLatestSsaText);
    }
    const std::string_view text = line(w.store, entry.timingLine).substr(entry.frames.textFrom);
    put(w.out, prefix.view());
    putDecimal(w.out, entry.position);
    put(w.out, kMargins);
    if (w.markup.mode != MarkupMode::keep) {
        const MarkedText marked = readFrameMarkup(text, entry.timingLine + 1, &w.markup.dropped);
        put(w.out, markupLines(w.markup, marked, MarkupLayout::ssa, true, w.notConverted)[0]);
    } else {
        noteScriptBreaks(text, entry.timingLine, w.notConverted);
        putJoined(w.out, text, '|', "\\n");
    }
    putLineEnd(w.out);
    ++w.subs;
    return true;
}

}  // namespace

WriteOutcome writeSrtToSsa(const LineStore& store, const ConversionSettings& settings,
                           const char* outputPath) {
    OutputFile out;
    if (!openOutput(out, outputPath, store.encoding, expectedOutputBytes(store), settings.dryRun))
        return failedOutcome(out);
    // Translated markup says itself where text is bold: the style is not.
    static constexpr std::string_view kStyleLine = "Style: Default,Tahoma,50,16777215,65535,65535,-2147483640,";
    for (const char* headerLine : kHeader) {
        if (settings.markup != MarkupMode::keep && std::string_view(headerLine).starts_with(kStyleLine))
            put(out, std::string(kStyleLine) + "0" + std::string(std::string_view(headerLine).substr(kStyleLine.size() + 2)));
        else
            put(out, headerLine);
        putLineEnd(out);
    }
    put(out, "Format: ");
    put(out, kV4EventFormat);
    putLineEnd(out);
    const double earliest = settings.shiftFirstSub ? earliestStart(store, settings.frameRate) : 0.0;
    EntryWriting w{out, store, settings, firstSubShift(settings, earliest), 0, {}, {},
                   writerTimeChange(settings, store, false), {}, {}, startMarkupWriting(store, settings), {}};
    EntryScan scan = startEntryScan(store, &w.notConverted);
    for (SrtEntry entry; nextEntry(scan, entry);)
        if (!(entry.kind == LineKindSrt ? writeTimedEntry(w, entry) : writeFrameEntry(w, entry))) break;
    return finishOutput(w);
}
