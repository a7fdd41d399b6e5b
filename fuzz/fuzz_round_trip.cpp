// What the program writes, it reads back: an SRT file of entries made from the
// input (times from 0 to 999 hours, one to three text lines each) converted
// to SSA and back, and to frame lines and back, keeps its number of entries,
// their texts and their times to the precision of the file between: a
// hundredth of a second in SSA, one frame in frame lines. No step reports a
// line it did not convert.
#include <cmath>
#include <string>
#include <vector>

#include "entry_scan.h"
#include "fuzz_support.h"
#include "line_store.h"
#include "time_format.h"
#include "writers.h"

namespace {

// A second less than the latest time a timing line holds, so that the frame
// a time is rounded to still comes back as a time a timing line holds.
constexpr Millis kLongest = 999LL * 3600 * 1000 + 3599000;  // 999:59:59,000
const double kFrameRates[] = {25.0, 23.976, 24.0, 29.97, 30.0, 15.0};
// Text that every layout holds as it stands: no line breaks of SSA or frame
// lines, nothing that reads as a number or a time. A line begins with a
// letter, after a blank or not, and may end with blanks.
constexpr char kLetters[] = "abcdefghijklmnopqrstuvwxyzABCXYZ .,!?'\"()-";

struct Entry {
    TimeSpan times;
    std::vector<std::string> lines;
};

std::vector<Entry> entriesOf(InputBytes& in) {
    std::vector<Entry> entries;
    while (in.size > 0 && entries.size() < 200) {
        Entry entry;
        entry.times.start = static_cast<Millis>(in.u32()) * 7919 % (kLongest + 1);
        entry.times.end = std::min<Millis>(entry.times.start + in.byte() * 100 + in.byte(), kLongest);
        for (int n = in.byte() % 3 + 1; n > 0; --n) {
            const std::uint8_t first = in.byte();
            std::string text = std::string(first & 0x80 ? " " : "") + "abcdefghijklmnopqrstuvwxyz"[first % 26];
            for (int length = in.byte() % 40; length > 0; --length)
                text += kLetters[in.byte() % (sizeof kLetters - 1)];
            entry.lines.push_back(text);
        }
        entries.push_back(entry);
    }
    return entries;
}

std::string srtOf(const std::vector<Entry>& entries) {
    std::string srt;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        char timing[2 * kTimeBufferSize];
        char* p = putSrtTime(timing, entries[i].times.start);
        p += std::string_view(" --> ").copy(p, 5);
        p = putSrtTime(p, entries[i].times.end);
        srt += std::to_string(i + 1) + "\r\n" + std::string(timing, p) + "\r\n";
        for (const std::string& text : entries[i].lines) srt += text + "\r\n";
        srt += "\r\n";
    }
    return srt;
}

// One conversion of the file at `in` into `out`, which must convert every line.
void convert(Writer writer, const std::string& in, const std::string& out, const ConversionSettings& settings) {
    LineStore store;
    FUZZ_CHECK(!loadLines(store, in.c_str()));
    const WriteOutcome outcome = writer(store, settings, out.c_str());
    FUZZ_CHECK(!outcome.failure);
    FUZZ_CHECK(outcome.notConverted.count == 0);
}

// The SRT file read back against the entries, times within `tolerance` ms.
void checkReadBack(const std::string& path, const std::vector<Entry>& entries, double tolerance) {
    LineStore store;
    FUZZ_CHECK(!loadLines(store, path.c_str()));
    NotConvertedLines notes;
    EntryScan scan = startEntryScan(store, &notes);
    std::size_t n = 0;
    for (SrtEntry entry; nextEntry(scan, entry); ++n) {
        FUZZ_CHECK(n < entries.size());
        FUZZ_CHECK(entry.kind == LineKindSrt);
        FUZZ_CHECK(std::fabs(static_cast<double>(entry.times.start - entries[n].times.start)) <= tolerance);
        FUZZ_CHECK(std::fabs(static_cast<double>(entry.times.end - entries[n].times.end)) <= tolerance);
        FUZZ_CHECK(static_cast<std::size_t>(entry.textTo - entry.textFrom) == entries[n].lines.size());
        for (std::int32_t k = entry.textFrom; k < entry.textTo; ++k)
            FUZZ_CHECK(line(store, k) == entries[n].lines[static_cast<std::size_t>(k - entry.textFrom)]);
    }
    FUZZ_CHECK(n == entries.size());
    FUZZ_CHECK(notes.count == 0);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputBytes in{data, size};
    ConversionSettings settings;
    settings.frameRate = kFrameRates[in.byte() % 6];
    const std::vector<Entry> entries = entriesOf(in);
    const std::string folder = scratchFolder();
    const std::string srt = folder + "/round.srt", ssa = folder + "/round.ssa";
    const std::string back = folder + "/back.srt", frames = folder + "/frames.srt";
    {
        std::FILE* file = std::fopen(srt.c_str(), "wb");
        FUZZ_CHECK(file != nullptr);
        const std::string text = srtOf(entries);
        FUZZ_CHECK(std::fwrite(text.data(), 1, text.size(), file) == text.size());
        FUZZ_CHECK(std::fclose(file) == 0);
    }
    // SSA keeps hundredths: the milliseconds are cut to them.
    convert(writeSrtToSsa, srt, ssa, settings);
    convert(writeSsaToSrt, ssa, back, settings);
    checkReadBack(back, entries, 9.0);
    // Frame lines keep frames: a time comes back within one frame.
    convert(writeSrtSwap, srt, frames, settings);
    convert(writeSrtSwap, frames, back, settings);
    checkReadBack(back, entries, 1000.0 / settings.frameRate);
    return 0;
}
