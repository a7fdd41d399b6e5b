// SSA to SRT: reads the event lines of a Sub Station Alpha script by fixed
// columns and writes one numbered SRT entry for each.
#include <cstring>
#include <iterator>
#include <string_view>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "writer_common.h"
#include "writers.h"

// Seconds of the time whose hour digit stands at `column`: h:mm:ss.cc.
static double eventTime(const char* event, int column) {
    const int whole = digitAt(event, column) * 3600 +
                      (digitAt(event, column + 2) * 10 + digitAt(event, column + 3)) * 60 +
                      digitAt(event, column + 5) * 10 + digitAt(event, column + 6);
    return whole + fractionAt(event, column + 8, 2);
}

// The n-th comma from p on (p itself counting), or null when the line ends
// first. Every line in the store ends with a zero byte, and the store has
// zero bytes after its last line, so reading sixteen bytes from anywhere up
// to a line's end stays inside it; where the processor compares sixteen
// bytes at once, the fields cost a few instructions each instead of a few per
// character.
static const char* nthComma(const char* p, int n) {
#if defined(__SSE2__)
    const __m128i comma = _mm_set1_epi8(',');
    const __m128i zero = _mm_setzero_si128();
    for (;; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        auto commas = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, comma)));
        const auto ends = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, zero)));
        if (ends) commas &= (ends & (0u - ends)) - 1;  // only the commas before the end
        for (; commas; commas &= commas - 1)
            if (--n == 0) return p + __builtin_ctz(commas);
        if (ends) return nullptr;
    }
#else
    for (;; ++p) {
        if (*p == ',') {
            if (--n == 0) return p;
        } else if (*p == '\0') {
            return nullptr;
        }
    }
#endif
}

// Fields are counted by commas from the start of the event: the Name is the
// fifth, and the text follows the ninth comma. A line with fewer fields has
// an empty Name or text.
static void findNameAndText(const char* event, std::string_view& name, const char*& text) {
    name = {};
    text = "";
    const char* styleEnd = nthComma(event, 4);
    if (!styleEnd) return;
    const char* nameStart = styleEnd + 1;
    const char* nameEnd = nthComma(nameStart, 1);
    if (!nameEnd) {
        name = nameStart;
        return;
    }
    name = std::string_view(nameStart, static_cast<std::size_t>(nameEnd - nameStart));
    const char* fifth = nthComma(nameEnd, 5);
    if (fifth) text = fifth + 1;
}

static bool isNumber(std::string_view text) {
    if (text.empty()) return false;
    for (char c : text)
        if (c < '0' || c > '9') return false;
    return true;
}

// The text, with a new output line wherever it holds a backslash and "n" or "N".
static void putEventText(OutputFile& out, const char* text) {
    const char* p = text;
    for (const char* slash; (slash = std::strchr(p, '\\')) != nullptr;) {
        put(out, std::string_view(p, static_cast<std::size_t>(slash - p)));
        if (slash[1] == 'n' || slash[1] == 'N') {
            putLineEnd(out);
            p = slash + 2;
        } else {
            putChar(out, '\\');
            p = slash + 1;
        }
    }
    put(out, p);
}

// The timing line with the times copied from an event line's columns.
static constexpr char kCopiedTiming[] = "0#:##:##,##0 --> 0#:##:##,##0";
static constexpr int kCopiedColumns[] = {19, 21, 22, 24, 25, 27, 28, 30, 32, 33, 35, 36, 38, 39};
static_assert(marksIn(kCopiedTiming) == std::size(kCopiedColumns));
static constexpr auto kTimingCopy = makeColumnCopy(kCopiedTiming, kCopiedColumns);

WriteOutcome writeSsaToSrt(const LineStore& store, const ConversionSettings& settings,
                           TimeShift& shift, const char* outputPath) {
    OutputFile out;
    if (!openOutput(out, outputPath, store.encoding)) return {0, false, out.error};

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
        if (settings.shiftFirstSub) {
            // The times are read only when they are moved; otherwise their
            // columns are copied.
            const double start = eventTime(timed, 19);
            const double end = eventTime(timed, 30);
            if (subs == 0) shift = settings.firstSubTime - start;
            formatSrtTimes(start + shift, end + shift, timing, sizeof timing);
        } else {
            // Copied as they stand; a zero byte beyond a short line ends the text.
            fillColumns(timing, kTimingCopy, timed);
        }
        std::string_view name;
        const char* text = nullptr;
        findNameAndText(event.data(), name, text);

        // The first entry is "1"; a later one keeps a Name made of digits
        // (the number an SRT file gave it) and is otherwise numbered by place.
        if (subs == 0)
            put(out, "1");
        else if (isNumber(name))
            put(out, name);
        else
            putDecimal(out, subs + 1);
        putLineEnd(out);
        put(out, timing);
        putLineEnd(out);
        putEventText(out, text);
        putLineEnd(out);
        putLineEnd(out);
        ++subs;
    }
    const bool written = commitOutput(out);
    return {subs, written, out.error};
}
