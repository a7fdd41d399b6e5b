// The program's large memory: on Linux, blocks of half a
// megabyte and more are whole huge pages; elsewhere, under the sanitizers
// and in the plain build, all of them come from the heap.
#include "large_memory.h"

#include <cstdint>
#include <cstdlib>
#include <cstring>

#include "fast_paths.h"

#if defined(__linux__) && !defined(MARLIVA_PLAIN)
#include <cerrno>
#include <sys/mman.h>
#define MARLIVA_MAPPED_MEMORY 1
#endif
// Under the address and memory sanitizers large memory comes from the heap,
// so that they watch its edges.
#if defined(__SANITIZE_ADDRESS__)
#undef MARLIVA_MAPPED_MEMORY
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#undef MARLIVA_MAPPED_MEMORY
#endif
#endif

#ifdef MARLIVA_MAPPED_MEMORY
// From half a megabyte on, fresh pages straight from the system, in whole huge
// pages placed on their boundaries: where the system offers huge pages, a
// block takes a few page faults instead of one per 4 KB (each of which costs
// tens of microseconds on some virtual machines), and memory that is not
// there is refused here rather than failing later while it is used.
// Smaller blocks come from the heap, which keeps them for the next run of a
// batch: a block given back to the system makes every core of the process
// forget its address translations. The blocks of files of a few thousand
// entries (input, index and output buffer) stay below the line.
constexpr std::size_t kMappedFrom = std::size_t{512} << 10;
constexpr std::size_t kHugePage = std::size_t{2} << 20;

std::size_t mappedSize(std::size_t bytes) { return (bytes + kHugePage - 1) / kHugePage * kHugePage; }

char* allocateLarge(std::size_t bytes) {
    if (bytes < kMappedFrom) return static_cast<char*>(std::malloc(bytes ? bytes : 1));
    const std::size_t size = mappedSize(bytes);
    if (size < bytes || size + kHugePage < size) return nullptr;
    // A huge page more than needed, then what lies outside the boundaries given back.
    void* mapped = mmap(nullptr, size + kHugePage, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (mapped == MAP_FAILED) return nullptr;
    char* first = static_cast<char*>(mapped);
    char* block = first + (kHugePage - reinterpret_cast<std::uintptr_t>(first) % kHugePage) % kHugePage;
    if (block > first) munmap(first, static_cast<std::size_t>(block - first));
    if (block + size < first + size + kHugePage)
        munmap(block + size, static_cast<std::size_t>(first + size + kHugePage - (block + size)));
#ifdef MADV_HUGEPAGE
    madvise(block, size, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    if (madvise(block, size, MADV_POPULATE_WRITE) != 0 && errno == ENOMEM) {
        munmap(block, size);
        return nullptr;
    }
#endif
    return block;
}

void freeLarge(char* block, std::size_t bytes) {
    if (!block) return;
    if (bytes < kMappedFrom)
        std::free(block);
    else
        munmap(block, mappedSize(bytes));
}
#else
char* allocateLarge(std::size_t bytes) { return static_cast<char*>(std::malloc(bytes ? bytes : 1)); }

void freeLarge(char* block, std::size_t) { std::free(block); }
#endif
