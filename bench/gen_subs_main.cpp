// marliva-gensubs: writes generated subtitle files for the benchmarks and checks.
//
//   marliva-gensubs srt|frames|ssa ENTRIES SEED OUTPUT
//   marliva-gensubs srt|frames|ssa ENTRIES SEED --many N PREFIX SUFFIX
//
// With --many, N files are written with seeds SEED to SEED + N - 1, named
// PREFIX, a four-digit index from 0000 and SUFFIX (e.g. "dir/f" and ".srt").
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <string>

#include "subtitle_gen.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

bool writeWhole(const char* path, const std::string& bytes) {
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(path, "wb"));
    if (!file) return false;
    if (std::fwrite(bytes.data(), 1, bytes.size(), file.get()) != bytes.size()) return false;
    return std::fflush(file.get()) == 0;
}

int usage() {
    std::fputs("usage: marliva-gensubs srt|frames|ssa ENTRIES SEED OUTPUT\n"
               "       marliva-gensubs srt|frames|ssa ENTRIES SEED --many N PREFIX SUFFIX\n",
               stderr);
    return 2;
}

bool parseNumber(const char* text, long long low, long long high, long long& value) {
    char* end = nullptr;
    value = std::strtoll(text, &end, 10);
    return end != text && *end == '\0' && value >= low && value <= high;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc != 5 && argc != 8) return usage();
    auto kind = generatedKindOf(argv[1]);
    long long entries = 0, seed = 0, files = 1;
    if (!kind || !parseNumber(argv[2], 1, 5000000, entries) ||
        !parseNumber(argv[3], 0, 1LL << 40, seed)) {
        return usage();
    }
    if (argc == 8 && (std::string(argv[4]) != "--many" || !parseNumber(argv[5], 1, 100000, files))) {
        return usage();
    }
    for (long long i = 0; i < files; ++i) {
        char path[4096];
        if (argc == 8) {
            std::snprintf(path, sizeof path, "%s%04d%s", argv[6], static_cast<int>(i), argv[7]);
        } else {
            std::snprintf(path, sizeof path, "%s", argv[4]);
        }
        std::string bytes = generateSubtitles(*kind, entries, static_cast<std::uint64_t>(seed + i));
        if (!writeWhole(path, bytes)) {
            std::fprintf(stderr, "marliva-gensubs: cannot write %s\n", path);
            return 1;
        }
    }
    return 0;
}
