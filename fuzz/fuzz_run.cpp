// Whole conversion runs on any input and settings, strict or not: a run either
// completes and puts its output in place, or fails with a message and leaves
// the existing output (or, converting a file onto itself, the input) as it
// was; no temporary file is ever left behind, and a run onto itself that
// completes has dropped no line.
#include <fstream>
#include <iterator>
#include <limits>
#include <string>

#include "conversion_run.h"
#include "fuzz_support.h"

namespace {

std::string contentOf(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void writeFile(const std::string& path, const char* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(data, static_cast<std::streamsize>(size));
    FUZZ_CHECK(out.good());
}

struct Pair {
    const char* input;
    const char* output;
    const char* logText;
};
// The last two: a file converted onto itself, and a pair that is refused.
const Pair kPairs[] = {
    {"in.srt", "out.ssa", "SRT => SSA ..."}, {"in.ssa", "out.srt", "SSA => SRT ..."},
    {"in.srt", "out.srt", "SRT => SRT ..."}, {"in.srt", "in.srt", "SRT => SRT ..."},
    {"in.ssa", "out.ssa", nullptr},
};
const double kRates[] = {25.0, 0.0, -1.0, std::numeric_limits<double>::quiet_NaN(),
                         std::numeric_limits<double>::infinity(), 1e308, 29.97};

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputBytes in{data, size};
    const std::uint8_t flags = in.byte();
    const Pair& pair = kPairs[(flags & 0x07) % 5];
    ConversionSettings settings;
    settings.joinWithNewline = (flags & 0x08) != 0;
    settings.shiftFirstSub = (flags & 0x10) != 0;
    settings.strict = (flags & 0x20) != 0;
    const std::uint8_t rate = in.byte();
    settings.frameRate = rate < 7 ? kRates[rate] : in.f64();
    settings.firstSubHours = in.u32();
    settings.firstSubMinutes = in.u32();
    settings.firstSubSeconds = in.u32();
    settings.firstSubMillis = in.u32();

    const std::string folder = scratchFolder();
    const std::string input = folder + "/" + pair.input;
    const std::string output = folder + "/" + pair.output;
    const char earlier[] = "an earlier output\r\n";
    writeFile(input, reinterpret_cast<const char*>(in.data), in.size);
    if (output != input) writeFile(output, earlier, sizeof earlier - 1);
    const std::string before = contentOf(output);
    settings.inputPath = input;
    settings.outputPath = output;

    const RunReport report = runConversion(settings);
    const std::string log = joinLines(logLines(report), "\n");
    if (report.completed()) {
        FUZZ_CHECK(pair.logText != nullptr);
        FUZZ_CHECK(messageLines(report).empty());
        FUZZ_CHECK(!settings.strict || report.notConverted.count == 0);
        // Onto itself, the input held the only copy of any line dropped.
        FUZZ_CHECK(output != input || report.notConverted.count == 0);
        FUZZ_CHECK(log.rfind(std::string(pair.logText) + " done.\n\n", 0) == 0);
        FUZZ_CHECK(log.find("\nsubs : " + std::to_string(report.subs) + "\n") != std::string::npos);
    } else {
        FUZZ_CHECK(!messageLines(report).empty());
        FUZZ_CHECK(log.find("done.") == std::string::npos);
        FUZZ_CHECK(contentOf(output) == before);
    }
    FUZZ_CHECK(noTemporaryLeft(output));
    return 0;
}
