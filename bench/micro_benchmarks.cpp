// Micro-benchmarks of the engine's hot paths: the time formatters, reading
// timing lines, filling the line store and each writer on a store in memory.
#include <benchmark/benchmark.h>

#include <array>
#include <cmath>
#include <cstdio>
#include <filesystem>
#include <string>
#include <string_view>

#include "conversion_run.h"
#include "line_store.h"
#include "subtitle_gen.h"
#include "entry_scan.h"
#include "time_format.h"
#include "timing_lines.h"
#include "writers.h"

namespace {

// Times from 0 to nine hours as conversions meet them: frame numbers at
// 23.976 frames per second and whole milliseconds, alternately. With
// `halfway`, every time lies exactly halfway between two printed values
// (k + 0.5 thousandths), the case that rounding settles digit by digit.
std::array<double, 1024> sampleTimes(bool halfway = false) {
    std::array<double, 1024> times{};
    std::uint64_t state = 42;
    for (std::size_t i = 0; i < times.size(); ++i) {
        state = state * 6364136223846793005ULL + 1442695040888963407ULL;
        const auto n = static_cast<double>((state >> 40) % 32400000);
        if (halfway)
            times[i] = (n + 0.5) / 1000.0;
        else
            times[i] = i % 2 ? n / 1000.0 : std::floor(n / 40.0) / 23.976;
    }
    return times;
}

void BM_FormatSsaTimes(benchmark::State& state) {
    auto times = sampleTimes();
    char out[kTimesBufferSize];
    std::size_t i = 0;
    for (auto _ : state) {
        formatSsaTimes(times[i], times[i + 1] + 2.5, out, sizeof out);
        benchmark::DoNotOptimize(out);
        i = (i + 2) % times.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatSsaTimes);

void BM_FormatSrtTimes(benchmark::State& state) {
    auto times = sampleTimes();
    char out[kTimesBufferSize];
    std::size_t i = 0;
    for (auto _ : state) {
        formatSrtTimes(times[i], times[i + 1] + 2.5, out, sizeof out);
        benchmark::DoNotOptimize(out);
        i = (i + 2) % times.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_FormatSrtTimes);

void BM_RoundScaled(benchmark::State& state) {
    auto times = sampleTimes(state.range(1) == 1);
    int decimals = static_cast<int>(state.range(0));
    std::size_t i = 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(roundScaled(times[i], decimals));
        i = (i + 1) % times.size();
    }
    state.SetItemsProcessed(state.iterations());
}
BENCHMARK(BM_RoundScaled)->ArgNames({"decimals", "halfway"})->ArgsProduct({{2, 3}, {0, 1}});

// A generated file of each kind, made once.
const std::string& generated(GeneratedKind kind, std::int64_t entries) {
    static std::string files[3][2];
    std::string& file = files[static_cast<int>(kind)][entries > 2000 ? 1 : 0];
    if (file.empty()) file = generateSubtitles(kind, entries, 1);
    return file;
}

// A store filled from a generated file.
struct LoadedStore {
    LineStore store;
    LoadedStore(GeneratedKind kind, std::int64_t entries) {
        const std::string& bytes = generated(kind, entries);
        loadLinesFromMemory(store, bytes.data(), bytes.size());
    }
};

void BM_ReadTimingLines(benchmark::State& state) {
    bool frames = state.range(0) == 1;
    LoadedStore loaded(frames ? GeneratedKind::frames : GeneratedKind::srt, 2000);
    const LineStore& store = loaded.store;
    for (auto _ : state) {
        std::int64_t sum = 0;
        EntryScan scan = startEntryScan(store, nullptr);
        for (SrtEntry entry; nextEntry(scan, entry);)
            sum += entry.times.start + entry.times.end + entry.frames.start + entry.textTo;
        benchmark::DoNotOptimize(sum);
    }
    state.SetItemsProcessed(state.iterations() * store.count);
}
BENCHMARK(BM_ReadTimingLines)->ArgName("frames")->Arg(0)->Arg(1);

constexpr GeneratedKind kKinds[] = {GeneratedKind::srt, GeneratedKind::frames, GeneratedKind::ssa};
constexpr const char* kKindNames[] = {"srt", "frames", "ssa"};

void BM_LoadLinesFromMemory(benchmark::State& state) {
    GeneratedKind kind = kKinds[state.range(0)];
    const std::string& bytes = generated(kind, state.range(1));
    for (auto _ : state) {
        LineStore store;
        loadLinesFromMemory(store, bytes.data(), bytes.size());
        benchmark::DoNotOptimize(store);
    }
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
    state.SetLabel(kKindNames[state.range(0)]);
}
BENCHMARK(BM_LoadLinesFromMemory)
    ->ArgNames({"kind", "entries"})
    ->ArgsProduct({{0, 1, 2}, {2000, 20000}})
    ->Unit(benchmark::kMicrosecond);

std::string scratchPath(const char* name) {
    return (std::filesystem::temp_directory_path() / name).string();
}

void BM_LoadLines(benchmark::State& state) {
    const std::string& bytes = generated(GeneratedKind::srt, 2000);
    std::string path = scratchPath("marliva-micro-input.srt");
    if (std::FILE* f = std::fopen(path.c_str(), "wb")) {
        std::fwrite(bytes.data(), 1, bytes.size(), f);
        std::fclose(f);
    }
    for (auto _ : state) {
        LineStore store;
        loadLines(store, path.c_str());
        benchmark::DoNotOptimize(store);
    }
    std::filesystem::remove(path);
    state.SetBytesProcessed(state.iterations() * static_cast<std::int64_t>(bytes.size()));
}
BENCHMARK(BM_LoadLines)->Unit(benchmark::kMicrosecond);

// One writer over a 2,000-entry store; the output goes to a scratch file.
void runWriter(benchmark::State& state, Writer writer, GeneratedKind input, bool join, bool shift,
               double frameRate) {
    LoadedStore loaded(input, 2000);
    ConversionSettings settings;
    settings.frameRate = frameRate;
    settings.joinWithNewline = join;
    settings.shiftFirstSub = shift;
    settings.firstSubSeconds = shift ? 5 : 0;
    settings.firstSubMillis = shift ? 250 : 0;
    std::string path = scratchPath("marliva-micro-output.txt");
    std::int64_t subs = 0;
    for (auto _ : state) {
        WriteOutcome outcome = writer(loaded.store, settings, path.c_str());
        if (!!outcome.failure) state.SkipWithError("the output could not be written");
        subs += outcome.subs;
    }
    std::filesystem::remove(path);
    state.SetItemsProcessed(subs);
}

void BM_WriteSrtToSsa_Timing(benchmark::State& s) { runWriter(s, writeSrtToSsa, GeneratedKind::srt, true, false, 25); }
void BM_WriteSrtToSsa_TimingNoJoin(benchmark::State& s) { runWriter(s, writeSrtToSsa, GeneratedKind::srt, false, false, 25); }
void BM_WriteSrtToSsa_TimingShift(benchmark::State& s) { runWriter(s, writeSrtToSsa, GeneratedKind::srt, true, true, 25); }
void BM_WriteSrtToSsa_Frames(benchmark::State& s) { runWriter(s, writeSrtToSsa, GeneratedKind::frames, true, false, 25); }
void BM_WriteSsaToSrt(benchmark::State& s) { runWriter(s, writeSsaToSrt, GeneratedKind::ssa, true, false, 25); }
void BM_WriteSsaToSrt_Shift(benchmark::State& s) { runWriter(s, writeSsaToSrt, GeneratedKind::ssa, true, true, 25); }
void BM_WriteSrtSwap_TimingToFrames(benchmark::State& s) { runWriter(s, writeSrtSwap, GeneratedKind::srt, true, false, 23.976); }
void BM_WriteSrtSwap_FramesToTiming(benchmark::State& s) { runWriter(s, writeSrtSwap, GeneratedKind::frames, true, false, 25); }

BENCHMARK(BM_WriteSrtToSsa_Timing)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteSrtToSsa_TimingNoJoin)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteSrtToSsa_TimingShift)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteSrtToSsa_Frames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteSsaToSrt)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteSsaToSrt_Shift)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteSrtSwap_TimingToFrames)->Unit(benchmark::kMicrosecond);
BENCHMARK(BM_WriteSrtSwap_FramesToTiming)->Unit(benchmark::kMicrosecond);

}  // namespace

BENCHMARK_MAIN();
