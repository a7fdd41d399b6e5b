// marliva-zerofill: what the line store's block alone costs for a given input.
//
//   marliva-zerofill FILE [REPEATS]
//
// Counts the lines of FILE as the store does (chunks of at most 254 characters
// after carriage return and line feed pairs are read as one line feed; a byte
// 0x1A ends the input), then REPEATS times (default 11) gets a zero-filled
// block of count x 1023 bytes the way the line store gets it, writes one byte
// in every 4 KiB so that all of it is really there, and frees it. For
// comparison it does the same with malloc and memset, the plain way. Prints
// the line count, the block size and the median times of one round in
// milliseconds:
//   lines=446709 block_bytes=456983307 fill_ms=38.123 plain_fill_ms=201.456
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <vector>
#if defined(__GLIBC__)
#include <malloc.h>
#endif

#include "line_block.h"

namespace {

constexpr std::size_t kSlotSize = 1023;
constexpr std::size_t kChunkChars = 254;

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};

// The number of chunks a line read with room for 254 characters gives.
long long countChunks(std::FILE* file) {
    long long count = 0;
    std::size_t inChunk = 0;
    int c = std::getc(file);
    while (c != EOF && c != 0x1A) {
        int next = std::getc(file);
        if (c == '\r' && next == '\n') {
            c = '\n';
            next = std::getc(file);
        }
        ++inChunk;
        if (c == '\n' || inChunk == kChunkChars) {
            ++count;
            inChunk = 0;
        }
        c = next;
    }
    return count + (inChunk > 0 ? 1 : 0);
}

// Called through a volatile pointer so that the compiler can neither drop the
// fill nor turn malloc and memset into calloc, which would skip the writes.
void* (*volatile fillBytes)(void*, int, std::size_t) = std::memset;

double plainFillMs(std::size_t bytes) {
    auto t0 = std::chrono::steady_clock::now();
    char* block = static_cast<char*>(std::malloc(bytes));
    if (block == nullptr) return -1;
    fillBytes(block, 0, bytes);
    std::free(block);
    auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

double storeFillMs(std::size_t bytes) {
    auto t0 = std::chrono::steady_clock::now();
    char* block = allocateLineBlock(bytes);
    if (block == nullptr) return -1;
    for (std::size_t i = 0; i < bytes; i += 4096) static_cast<volatile char*>(block)[i] = 1;
    freeLineBlock(block, bytes);
    auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

double medianOf(std::vector<double> times) {
    if (times.empty()) return 0.0;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

}  // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fputs("usage: marliva-zerofill FILE [REPEATS]\n", stderr);
        return 2;
    }
    int repeats = argc == 3 ? std::atoi(argv[2]) : 11;
    if (repeats < 1) repeats = 1;
    std::unique_ptr<std::FILE, FileCloser> file(std::fopen(argv[1], "rb"));
    if (!file) {
        std::fprintf(stderr, "marliva-zerofill: cannot open %s\n", argv[1]);
        return 1;
    }
    long long lines = countChunks(file.get());
    std::size_t bytes = static_cast<std::size_t>(lines) * kSlotSize;
#if defined(__GLIBC__)
    // A fixed threshold: every block comes fresh from the system, as the one
    // block of a conversion does, instead of from memory an earlier round freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    std::vector<double> store, plain;
    for (int i = 0; i < repeats && bytes > 0; ++i) {
        store.push_back(storeFillMs(bytes));
        plain.push_back(plainFillMs(bytes));
        if (store.back() < 0 || plain.back() < 0) {
            std::fprintf(stderr, "marliva-zerofill: cannot allocate %zu bytes\n", bytes);
            return 1;
        }
    }
    std::printf("lines=%lld block_bytes=%zu fill_ms=%.3f plain_fill_ms=%.3f\n", lines, bytes,
                medianOf(store), medianOf(plain));
    return 0;
}
