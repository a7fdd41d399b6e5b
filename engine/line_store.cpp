// The line store: reads a file in text mode into one zero-filled block of
// fixed 1023-byte slots, one slot per line read.
#include "line_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>
#include <string_view>

#include <sys/stat.h>

#include "input_layouts.h"
#include "line_block.h"

#if defined(__linux__)
#include <sys/mman.h>
#define MARLIVA_MAPPED_BLOCK 1
#endif
// Under the address and memory sanitizers the block comes from the heap, so
// that they watch its edges.
#if defined(__SANITIZE_ADDRESS__)
#undef MARLIVA_MAPPED_BLOCK
#elif defined(__has_feature)
#if __has_feature(address_sanitizer) || __has_feature(memory_sanitizer)
#undef MARLIVA_MAPPED_BLOCK
#endif
#endif

#ifdef MARLIVA_MAPPED_BLOCK
// Fresh pages from the system are zero. Huge pages, where the system offers
// them, zero-fill the block with a few hundredths of the page faults, and
// populating the whole block at once spares one fault per page. A block for
// which the memory is not there is refused here rather than failing later
// while lines are stored in it; where populating is not offered, the pages
// come one fault at a time as before.
char* allocateLineBlock(std::size_t bytes) {
    void* block = mmap(nullptr, bytes, PROT_READ | PROT_WRITE, MAP_PRIVATE | MAP_ANONYMOUS, -1, 0);
    if (block == MAP_FAILED) return nullptr;
#ifdef MADV_HUGEPAGE
    madvise(block, bytes, MADV_HUGEPAGE);
#endif
#ifdef MADV_POPULATE_WRITE
    if (madvise(block, bytes, MADV_POPULATE_WRITE) != 0 && errno == ENOMEM) {
        munmap(block, bytes);
        return nullptr;
    }
#endif
    return static_cast<char*>(block);
}

void freeLineBlock(char* block, std::size_t bytes) {
    if (block) munmap(block, bytes);
}
#else
char* allocateLineBlock(std::size_t bytes) { return static_cast<char*>(std::calloc(bytes, 1)); }

void freeLineBlock(char* block, std::size_t) { std::free(block); }
#endif

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// The size of a regular file, or -1 for anything else (a folder, a pipe).
long long regularFileSize(std::FILE* file) {
#ifdef _WIN32
    struct _stat64 info;
    if (_fstat64(_fileno(file), &info) != 0 || (info.st_mode & _S_IFMT) != _S_IFREG) return -1;
#else
    struct stat info;
    if (fstat(fileno(file), &info) != 0 || !S_ISREG(info.st_mode)) return -1;
#endif
    return static_cast<long long>(info.st_size);
}

// The bytes of the input file. From a megabyte on they are held in memory got
// the way the block is: fresh heap pages would cost the read more than the
// copy itself, one page fault every 4 KiB.
constexpr std::size_t kLargeInput = std::size_t{1} << 20;

struct InputBytes {
    char* data = nullptr;
    std::size_t capacity = 0;
    bool likeBlock = false;

    InputBytes() = default;
    InputBytes(const InputBytes&) = delete;
    InputBytes& operator=(const InputBytes&) = delete;
    ~InputBytes() {
        if (likeBlock)
            freeLineBlock(data, capacity);
        else
            std::free(data);
    }
};

bool reserveInput(InputBytes& bytes, std::size_t capacity) {
    bytes.likeBlock = capacity >= kLargeInput;
    bytes.data = bytes.likeBlock ? allocateLineBlock(capacity) : static_cast<char*>(std::malloc(capacity));
    bytes.capacity = capacity;
    return bytes.data != nullptr;
}

// Room for `capacity` bytes keeping the first `used`; on failure the bytes
// stay as they were.
bool growInput(InputBytes& bytes, std::size_t capacity, std::size_t used) {
    if (!bytes.likeBlock) {
        char* grown = static_cast<char*>(std::realloc(bytes.data, capacity));
        if (!grown) return false;
        bytes.data = grown;
        bytes.capacity = capacity;
        return true;
    }
    char* grown = allocateLineBlock(capacity);
    if (!grown) return false;
    std::memcpy(grown, bytes.data, used);
    freeLineBlock(bytes.data, bytes.capacity);
    bytes.data = grown;
    bytes.capacity = capacity;
    return true;
}

// The whole file in memory, read in one go when its size is known.
constexpr std::size_t kLargestGrowingInput = std::size_t{1} << 30;

// `error` receives the system's error number of a failure.
LoadStatus readWhole(std::FILE* file, InputBytes& bytes, std::size_t& size, int& error) {
    std::size_t capacity = 1 << 16;
    const long long known = regularFileSize(file);
    if (known > 0 && static_cast<unsigned long long>(known) < std::numeric_limits<std::size_t>::max())
        capacity = static_cast<std::size_t>(known) + 1;
    size = 0;
    error = ENOMEM;
    if (!reserveInput(bytes, capacity)) return LoadStatus::tooLarge;
    for (;;) {
        errno = 0;
        size += std::fread(bytes.data + size, 1, capacity - size, file);
        if (size < capacity) {
            if (!std::ferror(file)) return LoadStatus::ok;
            error = errno ? errno : EIO;
            return LoadStatus::cannotOpen;
        }
        // An input that never ends (a pipe, a device) or keeps growing is
        // refused once it passes what a store could ever be made of.
        if (capacity >= kLargestGrowingInput) {
            error = EFBIG;
            return LoadStatus::tooLarge;
        }
        capacity *= 2;
        if (!growInput(bytes, capacity, size)) return LoadStatus::tooLarge;
    }
}

// One line of the input in text mode: its characters without the line end,
// and whether a line feed ends it. A carriage return right before the line
// feed belongs to the line end; any other carriage return is a character.
struct InputLine {
    const char* text;
    std::size_t length;
    bool lineFeed;
};

InputLine nextLine(const char*& p, const char* end) {
    const char* feed = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    InputLine l{p, static_cast<std::size_t>((feed ? feed : end) - p), feed != nullptr};
    if (feed && l.length > 0 && feed[-1] == '\r') --l.length;
    p = feed ? feed + 1 : end;
    return l;
}

// A line as it goes into the store: the layout's head in front of the input
// line's characters from tailFrom on (all of them when it is kept).
struct StoredLine {
    std::string_view head;
    std::string_view tail;
    bool lineFeed;
    std::size_t length() const { return head.size() + tail.size(); }
};

// The next line of the input as stored; false when its layout drops it.
bool storedLine(const LineLayout& layout, const InputLine& l, StoredLine& stored) {
    if (layout.action == LineLayout::drop) return false;
    const std::string_view text(l.text, l.length);
    stored.lineFeed = l.lineFeed;
    if (layout.action == LineLayout::rewrite) {
        stored.head = layout.headText();
        stored.tail = text.substr(layout.tailFrom);
    } else {
        stored.head = {};
        stored.tail = text;
    }
    return true;
}

// A line read with room for kChunkChars characters takes up to and including
// the line feed, never more than kChunkChars: a line gives this many chunks.
std::size_t chunksOf(const StoredLine& l) {
    return (l.length() + (l.lineFeed ? 1 : 0) + kChunkChars - 1) / kChunkChars;
}

LoadStatus countChunks(const char* p, const char* end, FileKind kind, std::int32_t& count) {
    std::size_t total = 0;
    constexpr auto kMost = static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max() - 1);
    InputLayouts layouts{kind};
    while (p < end) {
        const InputLine l = nextLine(p, end);
        StoredLine stored;
        if (!storedLine(nextLineLayout(layouts, {l.text, l.length}), l, stored)) continue;
        total += chunksOf(stored);
        if (total > kMost) return LoadStatus::tooLarge;
    }
    count = static_cast<std::int32_t>(total);
    return LoadStatus::ok;
}

LoadStatus allocateBlock(LineStore& store, std::int32_t count) {
    if (static_cast<std::size_t>(count) > std::numeric_limits<std::size_t>::max() / kSlotSize)
        return LoadStatus::tooLarge;
    store.block = allocateLineBlock(static_cast<std::size_t>(count) * kSlotSize);
    if (!store.block) return LoadStatus::tooLarge;
    store.count = count;
    return LoadStatus::ok;
}

// Slots lie 1023 bytes apart in a block far larger than the caches, so every
// line stored is a write to memory not yet in them; asking for the slots a
// few lines ahead lets those waits overlap instead of queueing one by one.
constexpr std::int32_t kFillPrefetchDistance = 12;

inline void prefetchSlotForWrite(const LineStore& store, std::int32_t slot) {
#if defined(__GNUC__)
    if (slot < store.count) __builtin_prefetch(store.block + static_cast<std::size_t>(slot) * kSlotSize, 1);
#else
    (void)store;
    (void)slot;
#endif
}

// Copies characters [from, from + n) of the stored line to `to`.
void copyStored(char* to, const StoredLine& l, std::size_t from, std::size_t n) {
    if (from < l.head.size()) {
        const std::size_t fromHead = std::min(n, l.head.size() - from);
        std::memcpy(to, l.head.data() + from, fromHead);
        to += fromHead;
        n -= fromHead;
        from = l.head.size();
    }
    if (n) std::memcpy(to, l.tail.data() + (from - l.head.size()), n);
}

// Each chunk goes to its own slot; the line feed that ends a line is not
// stored, so a line's last chunk holds its last characters or nothing.
void fillSlots(LineStore& store, const char* p, const char* end, InputLayouts& layouts) {
    std::int32_t slot = 0;
    while (p < end && slot < store.count) {
        prefetchSlotForWrite(store, slot + kFillPrefetchDistance);
        const InputLine l = nextLine(p, end);
        StoredLine stored;
        if (!storedLine(nextLineLayout(layouts, {l.text, l.length}), l, stored)) continue;
        const std::size_t length = stored.length();
        const std::size_t chunks = chunksOf(stored);
        for (std::size_t c = 0; c < chunks && slot < store.count; ++c, ++slot) {
            const std::size_t from = c * kChunkChars;
            const std::size_t n = length - from < kChunkChars ? length - from : kChunkChars;
            copyStored(store.block + static_cast<std::size_t>(slot) * kSlotSize, stored, from, n);
        }
    }
}

// The input's text in UTF-8 (or as it is): a UTF-8 byte-order mark is not
// part of the first line, and UTF-16 is decoded.
struct DecodedText {
    const char* data = nullptr;
    std::size_t size = 0;
    char* owned = nullptr;  // the decoded UTF-16, freed with the text
    DecodedText() = default;
    DecodedText(const DecodedText&) = delete;
    DecodedText& operator=(const DecodedText&) = delete;
    ~DecodedText() { std::free(owned); }
};

LoadStatus decodeInput(const char* data, std::size_t size, TextEncoding encoding, DecodedText& text) {
    const std::size_t mark = byteOrderMark(encoding).size();
    text.data = data + mark;
    text.size = size - mark;
    if (encoding != TextEncoding::utf16le && encoding != TextEncoding::utf16be) return LoadStatus::ok;
    text.owned = static_cast<char*>(std::malloc(utf8CapacityFor(text.size) + 1));
    if (!text.owned) return LoadStatus::tooLarge;
    text.size = decodeUtf16(reinterpret_cast<const unsigned char*>(text.data), text.size,
                            encoding == TextEncoding::utf16be, text.owned);
    text.data = text.owned;
    return LoadStatus::ok;
}

}  // namespace

static LoadStatus fillStore(LineStore& store, const char* data, std::size_t size, FileKind kind);

LoadStatus loadLines(LineStore& store, const char* path, FileKind kind) {
    release(store);
    // The file is read once; counting and filling work on the bytes in memory.
    FilePtr file(std::fopen(path, "rb"));
    if (!file) {
        store.error = errno;
        return LoadStatus::cannotOpen;
    }
    InputBytes bytes;
    std::size_t size = 0;
    int error = 0;
    const LoadStatus read = readWhole(file.get(), bytes, size, error);
    if (read != LoadStatus::ok) {
        store.error = error;
        return read;
    }
    file.reset();
    return loadLinesFromMemory(store, bytes.data, size, kind);
}

LoadStatus loadLinesFromMemory(LineStore& store, const char* data, std::size_t size, FileKind kind) {
    release(store);
    const LoadStatus status = fillStore(store, data, size, kind);
    if (status != LoadStatus::ok) {
        release(store);
        store.error = ENOMEM;
    }
    return status;
}

static LoadStatus fillStore(LineStore& store, const char* data, std::size_t size, FileKind kind) {
    const TextEncoding encoding = encodingOf({data, size});
    DecodedText text;
    const LoadStatus decoded = decodeInput(data, size, encoding, text);
    if (decoded != LoadStatus::ok) return decoded;
    store.encoding = encoding;
    if (text.size == 0) return LoadStatus::ok;
    // A byte 0x1A ends the input: nothing after it is read.
    const char* stop = static_cast<const char*>(std::memchr(text.data, 0x1A, text.size));
    const char* end = stop ? stop : text.data + text.size;
    std::int32_t count = 0;
    const LoadStatus counted = countChunks(text.data, end, kind, count);
    if (counted != LoadStatus::ok || count == 0) return counted;
    const LoadStatus allocated = allocateBlock(store, count);
    if (allocated != LoadStatus::ok) return allocated;
    InputLayouts layouts{kind};
    fillSlots(store, text.data, end, layouts);
    store.declaresFrameRate = layouts.declaresFrameRate;
    store.declaredFrameRate = layouts.declaredFrameRate;
    return LoadStatus::ok;
}

void release(LineStore& store) {
    freeLineBlock(store.block, static_cast<std::size_t>(store.count) * kSlotSize);
    store = LineStore{};
}
