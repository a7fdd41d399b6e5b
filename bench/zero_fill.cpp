// marliva-zerofill: what the line store's block costs for a given input, and
// the floor of a conversion: copying the input plus that block.
//
//   marliva-zerofill FILE [REPEATS]
//       Counts the lines of FILE as the store does (chunks of at most 254
//       characters after carriage return and line feed pairs are read as one
//       line feed; a byte 0x1A ends the input), then REPEATS times (default
//       11) gets a zero-filled block of count x 1023 bytes the way the line
//       store gets it, writes one byte in every 4 KiB so that all of it is
//       really there, and frees it; and the same with malloc and memset, the
//       plain way. Prints the line count, the block size and the median times
//       of one round in milliseconds:
//         lines=446709 block_bytes=456983307 fill_ms=38.123 plain_fill_ms=201.456
//
//   marliva-zerofill --floor LINES INPUT OUTPUT
//   marliva-zerofill --plain-floor LINES INPUT OUTPUT
//       One process doing only what no conversion with the line store can
//       avoid: reads INPUT whole, gets the block of LINES x 1023 zero-filled
//       bytes (as the store does, or plainly), writes the input's bytes to
//       OUTPUT and frees the block. Timed from outside, beside the program.
#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <memory>
#include <string>
#include <string_view>
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
using File = std::unique_ptr<std::FILE, FileCloser>;

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

// The block as the line store gets it, every page of it really there.
char* storeBlock(std::size_t bytes) {
    char* block = allocateLineBlock(bytes);
    if (block)
        for (std::size_t i = 0; i < bytes; i += 4096) static_cast<volatile char*>(block)[i] = 1;
    return block;
}

char* plainBlock(std::size_t bytes) {
    char* block = static_cast<char*>(std::malloc(bytes));
    if (block) fillBytes(block, 0, bytes);
    return block;
}

template <typename Work>
double millisecondsOf(Work work) {
    auto t0 = std::chrono::steady_clock::now();
    if (!work()) return -1;
    auto t1 = std::chrono::steady_clock::now();
    return std::chrono::duration<double, std::milli>(t1 - t0).count();
}

double medianOf(std::vector<double> times) {
    if (times.empty()) return 0.0;
    std::sort(times.begin(), times.end());
    return times[times.size() / 2];
}

int measureBlock(const char* path, int repeats) {
    File file(std::fopen(path, "rb"));
    if (!file) {
        std::fprintf(stderr, "marliva-zerofill: cannot open %s\n", path);
        return 1;
    }
    const long long lines = countChunks(file.get());
    const std::size_t bytes = static_cast<std::size_t>(lines) * kSlotSize;
#if defined(__GLIBC__)
    // A fixed threshold: every plain block comes fresh from the system, as the
    // one block of a conversion does, instead of from memory an earlier round freed.
    mallopt(M_MMAP_THRESHOLD, 128 * 1024);
#endif
    std::vector<double> store, plain;
    for (int i = 0; i < repeats && bytes > 0; ++i) {
        store.push_back(millisecondsOf([&] {
            char* block = storeBlock(bytes);
            freeLineBlock(block, bytes);
            return block != nullptr;
        }));
        plain.push_back(millisecondsOf([&] {
            char* block = plainBlock(bytes);
            std::free(block);
            return block != nullptr;
        }));
        if (store.back() < 0 || plain.back() < 0) {
            std::fprintf(stderr, "marliva-zerofill: cannot allocate %zu bytes\n", bytes);
            return 1;
        }
    }
    std::printf("lines=%lld block_bytes=%zu fill_ms=%.3f plain_fill_ms=%.3f\n", lines, bytes,
                medianOf(store), medianOf(plain));
    return 0;
}

// Writes the bytes to the output the way a conversion does, so that the old
// output is never lost: into a new file beside it, renamed over it at the end.
bool replaceOutput(const char* output, const char* bytes, std::size_t length) {
    std::string temp = std::string(output) + ".zerofill.tmp";
    std::remove(temp.c_str());
    File out(std::fopen(temp.c_str(), "wbx"));
    bool written = out && std::fwrite(bytes, 1, length, out.get()) == length;
    written = out && std::fclose(out.release()) == 0 && written;
    if (written && std::rename(temp.c_str(), output) == 0) return true;
    std::remove(temp.c_str());
    return false;
}

enum class FloorKind { store, plain, safe };

int floorRun(FloorKind kind, long long lines, const char* input, const char* output) {
    const bool plain = kind == FloorKind::plain;
    File in(std::fopen(input, "rb"));
    if (!in || std::fseek(in.get(), 0, SEEK_END) != 0) return 1;
    const long size = std::ftell(in.get());
    std::rewind(in.get());
    if (size < 0) return 1;
    const auto length = static_cast<std::size_t>(size);
    std::unique_ptr<char[]> bytes(new char[length + 1]);
    if (std::fread(bytes.get(), 1, length, in.get()) != length) return 1;
    in.reset();

    const std::size_t blockBytes = static_cast<std::size_t>(lines) * kSlotSize;
    char* block = plain ? plainBlock(blockBytes) : storeBlock(blockBytes);
    if (!block && blockBytes > 0) return 1;

    bool written = false;
    if (kind == FloorKind::safe) {
        written = replaceOutput(output, bytes.get(), length);
    } else {
        File out(std::fopen(output, "wb"));
        written = out && std::fwrite(bytes.get(), 1, length, out.get()) == length;
    }
    if (plain)
        std::free(block);
    else
        freeLineBlock(block, blockBytes);
    return written ? 0 : 1;
}

int usage() {
    std::fputs("usage: marliva-zerofill FILE [REPEATS]\n"
               "       marliva-zerofill --floor|--plain-floor|--safe-floor LINES INPUT OUTPUT\n",
               stderr);
    return 2;
}

}  // namespace

int main(int argc, char** argv) {
    if (argc == 5) {
        const std::string_view mode = argv[1];
        FloorKind kind = FloorKind::store;
        if (mode == "--plain-floor")
            kind = FloorKind::plain;
        else if (mode == "--safe-floor")
            kind = FloorKind::safe;
        else if (mode != "--floor")
            return usage();
        const long long lines = std::atoll(argv[2]);
        if (lines < 0) return usage();
        return floorRun(kind, lines, argv[3], argv[4]);
    }
    if (argc < 2 || argc > 3) return usage();
    int repeats = argc == 3 ? std::atoi(argv[2]) : 11;
    return measureBlock(argv[1], repeats < 1 ? 1 : repeats);
}
