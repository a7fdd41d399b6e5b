// The line store: the input's text in memory (the file mapped where the
// system can, else read), decoded when it is UTF-16, and one allocation with
// the index of its lines in text mode and the lines the layouts rewrote.
#include "line_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#if defined(__SSE2__)
#include <emmintrin.h>
#endif

#include "input_layouts.h"
#include "system_calls.h"

#if defined(__GNUC__)
#define MARLIVA_INLINE __attribute__((always_inline))
#else
#define MARLIVA_INLINE
#endif

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

void freeMemory(LineStore::Memory& memory) {
    if (memory.mapped)
        unmapFile(memory.bytes, memory.size);
    else
        freeLarge(memory.bytes, memory.size);
    memory = {};
}

bool reserve(LineStore::Memory& memory, std::size_t size) {
    freeMemory(memory);
    memory.bytes = allocateLarge(size);
    memory.size = memory.bytes ? size : 0;
    return memory.bytes != nullptr;
}

// Room for `size` bytes keeping the first `used`; on failure the memory stays
// as it was.
bool grow(LineStore::Memory& memory, std::size_t size, std::size_t used) {
    char* grown = allocateLarge(size);
    if (!grown) return false;
    std::memcpy(grown, memory.bytes, used);
    freeMemory(memory);
    memory.bytes = grown;
    memory.size = size;
    return true;
}

// An input that never ends (a pipe, a device) or keeps growing is refused
// once it passes this.
constexpr std::size_t kLargestGrowingInput = std::size_t{1} << 30;

// The whole file in memory: mapped when it is a regular file and the system
// can, else read in one go when its size is known. `error` receives the
// system's error number of a failure.
LoadStatus readWhole(std::FILE* file, LineStore::Memory& memory, std::size_t& size, int& error) {
    const long long known = regularFileSize(file);
    error = ENOMEM;
    if (known > 0 && static_cast<unsigned long long>(known) < std::numeric_limits<std::size_t>::max()) {
        size = static_cast<std::size_t>(known);
        if (const char* mapped = mapFile(file, size)) {
            memory = {const_cast<char*>(mapped), size, true};
            return LoadStatus::ok;
        }
    }
    std::size_t capacity = known > 0 ? static_cast<std::size_t>(known) + 1 : std::size_t{1} << 16;
    size = 0;
    if (!reserve(memory, capacity)) return LoadStatus::tooLarge;
    for (;;) {
        errno = 0;
        size += std::fread(memory.bytes + size, 1, capacity - size, file);
        if (size < capacity) {
            if (!std::ferror(file)) return LoadStatus::ok;
            error = errno ? errno : EIO;
            return LoadStatus::cannotOpen;
        }
        if (capacity >= kLargestGrowingInput) {
            error = EFBIG;
            return LoadStatus::tooLarge;
        }
        capacity *= 2;
        if (!grow(memory, capacity, size)) return LoadStatus::tooLarge;
    }
}

// UTF-16 becomes UTF-8 in memory of its own, which takes the place of the
// bytes read; `text` and `size` then describe the decoded text.
LoadStatus decodeToUtf8(LineStore& store, TextEncoding encoding, const char*& text, std::size_t& size) {
    LineStore::Memory decoded;
    if (!reserve(decoded, utf8CapacityFor(size) + 1)) return LoadStatus::tooLarge;
    size = decodeUtf16(reinterpret_cast<const unsigned char*>(text), size,
                       encoding == TextEncoding::utf16be, decoded.bytes);
    freeMemory(store.textMemory);
    store.textMemory = decoded;
    text = decoded.bytes;
    return LoadStatus::ok;
}

// Offsets and lengths are 31 bits, the last bit telling rewritten lines apart.
constexpr std::size_t kLargestText = kRewritten - 1;

// Lines as the layouts rewrote them go after the index, in room that grows
// when it runs out.
struct IndexFiller {
    LineStore& store;
    std::size_t lines;  // the most lines there can be
    std::size_t rewrittenUsed = 0;

    LineEntry* entries() { return reinterpret_cast<LineEntry*>(store.indexMemory.bytes); }
    std::size_t rewrittenFrom() const { return lines * sizeof(LineEntry); }
    char* rewrittenBytes() { return store.indexMemory.bytes + rewrittenFrom(); }

    bool reserveRewritten(std::size_t more) {
        const std::size_t room = store.indexMemory.size - rewrittenFrom();
        if (rewrittenUsed + more <= room) return true;
        if (rewrittenUsed + more > kLargestText) return false;
        const std::size_t size = rewrittenFrom() + std::max(2 * room, rewrittenUsed + more);
        return grow(store.indexMemory, size, rewrittenFrom() + rewrittenUsed);
    }
};

// The line feeds from p to end, sixteen bytes at a time where the processor
// compares that many at once: counted in byte lanes, summed every 255 steps.
std::size_t countLineFeeds(const char* p, const char* end) {
    std::size_t feeds = 0;
#if defined(__SSE2__)
    const __m128i feed = _mm_set1_epi8('\n');
    while (end - p >= 16) {
        __m128i lanes = _mm_setzero_si128();
        for (int step = 0; step < 255 && end - p >= 16; ++step, p += 16) {
            const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
            lanes = _mm_sub_epi8(lanes, _mm_cmpeq_epi8(bytes, feed));
        }
        const __m128i sums = _mm_sad_epu8(lanes, _mm_setzero_si128());
        feeds += static_cast<std::size_t>(_mm_cvtsi128_si32(sums)) +
                 static_cast<std::size_t>(_mm_cvtsi128_si32(_mm_srli_si128(sums, 8)));
    }
#endif
    for (; p < end; ++p) feeds += *p == '\n';
    return feeds;
}

// Calls onLine(from, stop) for each line of the text: stop is the line feed
// that ends it, or the end for a last line without one. The line feeds are
// found sixteen bytes at a time where the processor compares that many at
// once: lines are short, and a search call per line would cost more than the
// line. Stops early when onLine returns false.
template <typename OnLine>
bool forEachLine(const char* text, const char* end, OnLine onLine) {
    const char* from = text;
    const char* p = text;
#if defined(__SSE2__)
    const __m128i feed = _mm_set1_epi8('\n');
    for (; end - p >= 16; p += 16) {
        const __m128i bytes = _mm_loadu_si128(reinterpret_cast<const __m128i*>(p));
        for (auto feeds = static_cast<unsigned>(_mm_movemask_epi8(_mm_cmpeq_epi8(bytes, feed))); feeds;
             feeds &= feeds - 1) {
            const char* stop = p + __builtin_ctz(feeds);
            if (!onLine(from, stop)) return false;
            from = stop + 1;
        }
    }
#endif
    for (; p < end; ++p) {
        if (*p != '\n') continue;
        if (!onLine(from, p)) return false;
        from = p + 1;
    }
    return from == end || onLine(from, end);
}

// The lines of the text in text mode: a carriage return right before a line
// feed belongs to the line end; any other carriage return is a character.
LoadStatus fillIndex(LineStore& store, const char* text, const char* end, FileKind kind) {
    const std::size_t feeds = countLineFeeds(text, end);
    IndexFiller filler{store, feeds + 1};
    constexpr std::size_t kFirstRewrittenRoom = 4096;
    if (filler.lines > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
        !reserve(store.indexMemory, filler.rewrittenFrom() + kFirstRewrittenRoom))
        return LoadStatus::tooLarge;

    InputLayouts layouts{kind};
    std::int32_t count = 0;
    // Inlined into the search for line feeds: it runs for every line.
    const bool filled = forEachLine(text, end, [&](const char* from, const char* stop) MARLIVA_INLINE {
        std::size_t length = static_cast<std::size_t>(stop - from);
        if (stop != end && length > 0 && stop[-1] == '\r') --length;
        const std::string_view l(from, length);
        const auto offset = static_cast<std::uint32_t>(from - text);
        if (!layouts.firstLine && keptAsIs(kind, l)) {
            filler.entries()[count++] = {offset, static_cast<std::uint32_t>(length)};
            return true;
        }
        const LineLayout layout = nextLineLayout(layouts, l);
        if (layout.action == LineLayout::drop) return true;
        if (layout.action == LineLayout::keep) {
            filler.entries()[count++] = {offset, static_cast<std::uint32_t>(length)};
            return true;
        }
        const std::size_t stored = layout.storedLength(length);
        if (!filler.reserveRewritten(stored)) return false;
        char* to = filler.rewrittenBytes() + filler.rewrittenUsed;
        std::memcpy(to, layout.head, layout.headLength);
        std::memcpy(to + layout.headLength, l.data() + layout.tailFrom, length - layout.tailFrom);
        filler.entries()[count++] = {static_cast<std::uint32_t>(filler.rewrittenUsed) | kRewritten,
                                     static_cast<std::uint32_t>(stored)};
        filler.rewrittenUsed += stored;
        return true;
    });
    if (!filled) return LoadStatus::tooLarge;
    store.count = count;
    store.index = filler.entries();
    store.rewritten = filler.rewrittenBytes();
    store.declaresFrameRate = layouts.declaresFrameRate;
    store.declaredFrameRate = layouts.declaredFrameRate;
    return LoadStatus::ok;
}

// The store from the input's bytes in store.textMemory: a UTF-8 byte-order
// mark is not part of the first line, UTF-16 is decoded first, and a byte
// 0x1A ends the input.
LoadStatus indexText(LineStore& store, std::size_t size, FileKind kind) {
    const char* text = store.textMemory.bytes;
    store.encoding = encodingOf({text, size});
    const std::size_t mark = byteOrderMark(store.encoding).size();
    text += mark;
    size -= mark;
    if (store.encoding == TextEncoding::utf16le || store.encoding == TextEncoding::utf16be) {
        const LoadStatus decoded = decodeToUtf8(store, store.encoding, text, size);
        if (decoded != LoadStatus::ok) return decoded;
    }
    if (size > kLargestText) return LoadStatus::tooLarge;
    store.text = text;
    if (size == 0) return LoadStatus::ok;
    const char* stop = static_cast<const char*>(std::memchr(text, 0x1A, size));
    return fillIndex(store, text, stop ? stop : text + size, kind);
}

LoadStatus finish(LineStore& store, LoadStatus status) {
    if (status != LoadStatus::ok) {
        const TextEncoding encoding = store.encoding;
        release(store);
        store.encoding = encoding;
        store.error = ENOMEM;
    }
    return status;
}

}  // namespace

LoadStatus loadLines(LineStore& store, const char* path, FileKind kind) {
    release(store);
    FilePtr file(std::fopen(path, "rb"));
    if (!file) {
        store.error = errno;
        return LoadStatus::cannotOpen;
    }
    std::size_t size = 0;
    int error = 0;
    const LoadStatus read = readWhole(file.get(), store.textMemory, size, error);
    if (read != LoadStatus::ok) {
        release(store);
        store.error = error;
        return read;
    }
    file.reset();
    return finish(store, indexText(store, size, kind));
}

LoadStatus loadLinesFromMemory(LineStore& store, const char* data, std::size_t size, FileKind kind) {
    release(store);
    if (!reserve(store.textMemory, size)) return finish(store, LoadStatus::tooLarge);
    if (size) std::memcpy(store.textMemory.bytes, data, size);
    return finish(store, indexText(store, size, kind));
}

void release(LineStore& store) {
    freeMemory(store.textMemory);
    freeMemory(store.indexMemory);
    store = LineStore{};
}
