// The SSA to SRT writer on scripts of random layout: event lines built from
// the input with fields of any width, times of any digits, missing or extra
// commas, short lines, and raw bytes at any column.
#include <string>

#include "fuzz_support.h"
#include "line_store.h"
#include "writers.h"

namespace {

// Pieces an event line is made of; the input picks them and their order.
const char* const kPieces[] = {
    "Dialogue: Marked=0,", "Dialogue: 0,", "Comment: Marked=0,", "0:00:01.00", "0:00:02.50",
    "00:00:03.766", "-0:00:06.84", "9:59:59.99", ",", ",,", "*Default", "Default", "1",
    "0000", "Hello", "\\n", "\\N", "\\", "n", "{\\i1}", "|", " ", "",
};

// A line of the script from a record of the input: the first byte is how many
// pieces follow, each a byte choosing a piece or, above the table, that many
// raw bytes to copy.
std::string eventLine(InputBytes& in) {
    std::string text;
    const int pieces = in.byte() % 24;
    for (int p = 0; p < pieces && in.size > 0; ++p) {
        const std::uint8_t pick = in.byte();
        constexpr std::size_t kCount = sizeof kPieces / sizeof kPieces[0];
        if (pick < kCount) {
            text += kPieces[pick];
        } else {
            for (int n = pick % 48; n > 0 && in.size > 0; --n)
                text += static_cast<char>(in.byte());
        }
    }
    return text;
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputBytes in{data, size};
    ConversionSettings settings;
    const std::uint8_t flags = in.byte();
    settings.shiftFirstSub = (flags & 0x01) != 0;
    settings.firstSubHours = (flags & 0x02) ? in.u32() : 0;
    settings.firstSubMillis = in.u32();

    // Bit 2: the rest is the script as it stands; otherwise a script with the
    // [Events] section, its Format line and event lines built from the input.
    std::string script;
    if (flags & 0x04) {
        script.assign(reinterpret_cast<const char*>(in.data), in.size);
    } else {
        script = "[Script Info]\r\n\r\n[Events]\r\n";
        if (flags & 0x08) script += "Format: Marked, Start, End, Style, Name, MarginL, MarginR, "
                                    "MarginV, Effect, Text\r\n";
        while (in.size > 0) {
            script += eventLine(in);
            script += (flags & 0x10) ? "\n" : "\r\n";
        }
    }

    LineStore store;
    FUZZ_CHECK(!loadLinesFromMemory(store, script.data(), script.size()));
    const std::string output = scratchFolder() + "/out.srt";
    const WriteOutcome outcome = writeSsaToSrt(store, settings, output.c_str());
    FUZZ_CHECK(!outcome.failure != (outcome.beyond.subtitle > 0));
    FUZZ_CHECK(outcome.subs >= 0 && outcome.subs <= store.count);
    FUZZ_CHECK(noTemporaryLeft(output));
    return 0;
}
