// The line store and the three writers on any input: the first bytes are the
// settings (writer, frame rate including 0, negative, NaN and huge values, the
// newline mode, the shift with any first-sub time), the rest is the file.
#include <cmath>
#include <cstdio>
#include <limits>
#include <string>

#include "fuzz_support.h"
#include "line_store.h"
#include "writers.h"

namespace {

// Frame rates picked by the high half of the first byte; 0 there takes the
// next eight bytes as a double of any bit pattern.
const double kFrameRates[] = {
    25.0, 29.97, 23.976, 0.0, -0.0, -1.0, 1e308, -1e308,
    std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity(),
    -std::numeric_limits<double>::infinity(), std::numeric_limits<double>::denorm_min(),
    1e-300, 2147483647.0, 15.0,
};

const Writer kWriters[] = {writeSrtToSsa, writeSsaToSrt, writeSrtSwap};
const char* const kOutputNames[] = {"out.ssa", "out.srt", "out.srt"};

struct FuzzSettings {
    ConversionSettings settings;
    int writer;
};

// 25 bytes: flags, a frame rate of eight bytes, the four first-sub numbers.
FuzzSettings readSettings(InputBytes& in) {
    FuzzSettings fuzz{};
    const std::uint8_t flags = in.byte();
    fuzz.writer = (flags & 0x03) % 3;
    fuzz.settings.joinWithNewline = (flags & 0x04) != 0;
    fuzz.settings.shiftFirstSub = (flags & 0x08) != 0;
    const double raw = in.f64();
    fuzz.settings.frameRate = (flags >> 4) ? kFrameRates[(flags >> 4) - 1] : raw;
    fuzz.settings.firstSubHours = in.u32();
    fuzz.settings.firstSubMinutes = in.u32();
    fuzz.settings.firstSubSeconds = in.u32();
    fuzz.settings.firstSubMillis = in.u32();
    return fuzz;
}

// Every line of the store, those after an end-of-file mark included, lies
// inside the input's text.
void checkStore(const LineStore& store, std::size_t inputSize) {
    FUZZ_CHECK(store.count >= 0 && store.linesAfterEndMark >= 0);
    FUZZ_CHECK(static_cast<std::size_t>(store.count + store.linesAfterEndMark) <= inputSize + 1);
    const LineStore::Memory& text = store.textMemory;
    for (std::int32_t i = 0; i < store.count + store.linesAfterEndMark; ++i) {
        const LineEntry entry = store.index[i];
        FUZZ_CHECK(store.text + entry.offset >= text.bytes);
        FUZZ_CHECK(store.text + entry.offset + entry.length <= text.bytes + text.size);
    }
}

// The file reader must give the same lines as the reader over memory.
void checkFileReadsAlike(const LineStore& store, const std::uint8_t* data, std::size_t size) {
    const std::string input = scratchFolder() + "/in.srt";
    std::FILE* file = std::fopen(input.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
    LineStore fromFile;
    FUZZ_CHECK(!loadLines(fromFile, input.c_str()));
    FUZZ_CHECK(fromFile.count == store.count);
    for (std::int32_t i = 0; i < store.count; ++i) FUZZ_CHECK(line(fromFile, i) == line(store, i));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputBytes in{data, size};
    FuzzSettings fuzz = readSettings(in);

    LineStore store;
    FUZZ_CHECK(!loadLinesFromMemory(store, reinterpret_cast<const char*>(in.data), in.size));
    checkStore(store, in.size);
    checkFileReadsAlike(store, in.data, in.size);

    const std::string output = scratchFolder() + "/" + kOutputNames[fuzz.writer];
    std::remove(output.c_str());
    const WriteOutcome outcome = kWriters[fuzz.writer](store, fuzz.settings, output.c_str());
    // Written, unless a subtitle's times pass what the output holds: then
    // nothing is.
    FUZZ_CHECK(!outcome.failure != (outcome.beyond.subtitle > 0));
    FUZZ_CHECK(outcome.subs >= 0);
    FUZZ_CHECK(static_cast<std::size_t>(outcome.subs) <= static_cast<std::size_t>(store.count) + 1);
    FUZZ_CHECK(fileExists(output) == !outcome.failure);
    FUZZ_CHECK(noTemporaryLeft(output));
    return 0;
}
