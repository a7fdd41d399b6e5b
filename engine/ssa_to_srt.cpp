// SSA to SRT: reads the event lines of a Sub Station Alpha script by fixed
// columns and writes one numbered SRT entry for each.
#include <cstring>
#include <iterator>
#include <string_view>


#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "column_copy.h"
#include "entry_scan.h"
#include "text_output.h"
#include "time_format.h"
#include "writers.h"

// Seconds of the time whose hour digit stands at `column`: h:mm:ss.cc.
static double eventTime(const char* event, int column) {
    const int whole = digitAt(event, column) * 3600 +
                      (digitAt(event, column + 2) * 10 + digitAt(event, column + 3)) * 60 +
                      digitAt(event, column + 5) * 10 + digitAt(event, column + 6);
    return whole + fractionAt(event, column + 8, 2);
}

// The position of the n-th comma at or after `from`, or npos when the line
// ends first. Event lines are mostly long and their fields short: where the
// processor compares sixteen bytes at once, the commas cost a few
// instructions each instead of a few per character.
static std::size_t nthComma(std::string_view line, std::size_t from, int n) {
    std::size_t i = from;
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(',');
    for (; i + 16 <= line.size(); i += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(line.data() + i));
        for (auto commas = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, comma)));
             commas; commas &= commas - 1)
            if (--n == 0) return i + static_cast<std::size_t>(__builtin_ctz(commas));
    }
#endif
    for (; i < line.size(); ++i)
        if (line[i] == ',' && --n == 0) return i;
    return std::string_view::npos;
}

// Fields are counted by commas from the start of the event: the Name is the
// fifth, and the text follows the ninth comma. A line with fewer fields has
// an empty Name or text.
static void findNameAndText(std::string_view event, std::string_view& name, std::string_view& text) {
    name = {};
    text = {};
    const std::size_t styleEnd = nthComma(event, 0, 4);
    if (styleEnd == std::string_view::npos) return;
    const std::size_t nameEnd = nthComma(event, styleEnd + 1, 1);
    name = event.substr(styleEnd + 1, nameEnd == std::string_view::npos ? std::string_view::npos
                                                                        : nameEnd - styleEnd - 1);
    if (nameEnd == std::string_view::npos) return;
    const std::size_t textComma = nthComma(event, nameEnd, 5);
    if (textComma != std::string_view::npos) text = event.substr(textComma + 1);
}

static bool isNumber(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The text, with a new output line wherever it holds a backslash and "n" or "N".
static void putEventText(OutputFile& out, std::string_view text) {
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

// The timing line with the times copied from an event line's columns.
static constexpr char kCopiedTiming[] = "0#:##:##,##0 --> 0#:##:##,##0";
static constexpr int kCopiedColumns[] = {19, 21, 22, 24, 25, 27, 28, 30, 32, 33, 35, 36, 38, 39};
static_assert(marksIn(kCopiedTiming) == std::size(kCopiedColumns));
static constexpr auto kTimingCopy = makeColumnCopy(kCopiedTiming, kCopiedColumns);

WriteOutcome writeSsaToSrt(const LineStore& store, const ConversionSettings& settings,
                           const char* outputPath) {
    TimeShift shift = 0.0;
    OutputFile out;
    if (!openOutput(out, outputPath, store.encoding, expectedOutputBytes(store)))
        return failedOutcome(out);

    std::int32_t events = store.count;
    for (std::int32_t i = 0; i < store.count; ++i) {
        if (line(store, i) == "[Events]") {
            events = i + 1;
            break;
        }
    }

    // Only "Dialogue:" lines are events: the Format line, "Comment:" lines,
    // blank lines and later sections count for nothing.
    std::int32_t subs = 0;
    for (std::int32_t i = events; i < store.count; ++i) {
        const std::string_view event = line(store, i);
        if (event.substr(0, 9) != "Dialogue:") continue;
        LineColumns columns;
        const char* timed = columnsOf(event, columns);
        char timing[kTimesBufferSize];
        std::size_t timingLength;
        if (settings.shiftFirstSub) {
            // The times are read only when they are moved; otherwise their
            // columns are copied.
            const double start = eventTime(timed, 19);
            const double end = eventTime(timed, 30);
            if (subs == 0) shift = firstSubSeconds(settings) - start;
            formatSrtTimes(start + shift, end + shift, timing, sizeof timing);
            timingLength = std::strlen(timing);
        } else {
            // Copied as they stand; a zero byte beyond a short line ends the text.
            timingLength = fillColumns(timing, kTimingCopy, timed);
        }
        std::string_view name, text;
        findNameAndText(event, name, text);

        // The first entry is "1"; a later one keeps a Name made of digits
        // (the number an SRT file gave it) and is otherwise numbered by place.
        if (subs == 0)
            put(out, "1");
        else if (isNumber(name))
            put(out, name);
        else
            putDecimal(out, subs + 1);
        putLineEnd(out);
        put(out, std::string_view(timing, timingLength));
        putLineEnd(out);
        putEventText(out, text);
        putLineEnd(out);
        putLineEnd(out);
        ++subs;
    }
    return finishOutput(out, settings, subs, {});
}
