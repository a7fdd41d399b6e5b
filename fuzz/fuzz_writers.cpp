// The line store and the three writers on any input: the first bytes are the
// settings (writer, frame rate including 0, negative, NaN and huge values, the
// newline mode, the shift with any first-sub time), the rest is the file.
#include <cmath>
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
const FileKind kInputKinds[] = {FileKindSrt, FileKindSsa, FileKindSrt};

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

// Every line of the store lies inside the memory that holds it: the input's
// text, or the rewritten lines after the index.
void checkStore(const LineStore& store, std::size_t inputSize) {
    FUZZ_CHECK(store.count >= 0);
    FUZZ_CHECK(static_cast<std::size_t>(store.count) <= inputSize);
    const LineStore::Memory& text = store.textMemory;
    const LineStore::Memory& index = store.indexMemory;
    for (std::int32_t i = 0; i < store.count; ++i) {
        const std::string_view l = line(store, i);
        const bool inText = l.data() >= text.bytes && l.data() + l.size() <= text.bytes + text.size;
        const bool inIndex = l.data() >= reinterpret_cast<const char*>(store.index + store.count) &&
                             l.data() + l.size() <= index.bytes + index.size;
        FUZZ_CHECK(inText || inIndex);
    }
}

// The file reader must give the same lines as the reader over memory.
void checkFileReadsAlike(const LineStore& store, const std::uint8_t* data, std::size_t size,
                         FileKind kind) {
    const std::string input = scratchFolder() + "/in.srt";
    std::FILE* file = std::fopen(input.c_str(), "wb");
    FUZZ_CHECK(file != nullptr);
    FUZZ_CHECK(std::fwrite(data, 1, size, file) == size);
    FUZZ_CHECK(std::fclose(file) == 0);
    LineStore fromFile;
    FUZZ_CHECK(loadLines(fromFile, input.c_str(), kind) == LoadStatus::ok);
    FUZZ_CHECK(fromFile.count == store.count);
    for (std::int32_t i = 0; i < store.count; ++i) FUZZ_CHECK(line(fromFile, i) == line(store, i));
    release(fromFile);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputBytes in{data, size};
    FuzzSettings fuzz = readSettings(in);

    LineStore store;
    const LoadStatus status =
        loadLinesFromMemory(store, reinterpret_cast<const char*>(in.data), in.size,
                            kInputKinds[fuzz.writer]);
    FUZZ_CHECK(status == LoadStatus::ok);
    checkStore(store, in.size);
    checkFileReadsAlike(store, in.data, in.size, kInputKinds[fuzz.writer]);

    const std::string output = scratchFolder() + "/" + kOutputNames[fuzz.writer];
    const WriteOutcome outcome = kWriters[fuzz.writer](store, fuzz.settings, output.c_str());
    FUZZ_CHECK(outcome.written);
    FUZZ_CHECK(outcome.subs >= 0);
    FUZZ_CHECK(static_cast<std::size_t>(outcome.subs) <= static_cast<std::size_t>(store.count));
    FUZZ_CHECK(fileExists(output));
    FUZZ_CHECK(noTemporaryLeft(output));
    release(store);
    FUZZ_CHECK(store.count == 0 && store.index == nullptr);
    return 0;
}
