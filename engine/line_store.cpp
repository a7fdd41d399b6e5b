// The line store: the input's text read into memory, decoded when it is
// UTF-16 or UTF-32, and one allocation with the index of its lines.
#include "line_store.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <limits>

#include "byte_scan.h"
#include "characters.h"
#include "fast_paths.h"
#include "large_memory.h"
#include "system_calls.h"

#if defined(__GNUC__)
#define MARLIVA_INLINE __attribute__((always_inline))
#else
#define MARLIVA_INLINE
#endif

namespace {

void freeMemory(LineStore::Memory& memory) {
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

// Offsets and lengths are 32 bits: a file of 4 GiB or more is refused before
// it is read, and a text decoded to more is refused too.
static_assert(kLargestInput == std::numeric_limits<std::uint32_t>::max());

// An input file, closed however its reading ends.
struct OpenInput {
    InputFile file;
    ~OpenInput() { closeInputFile(file); }
};

// The whole file in memory, read rather than mapped: another program may
// shrink or rewrite the file at any moment (an editor saving in place, a
// sync tool), and a run must then fail rather than crash on a page that is
// gone. A file of known size is read to one byte past it; when fewer or more
// bytes come, or its size or time of writing differ afterwards, it changed
// while it was read. One of unknown size (a pipe, a device, a file of the
// system's such as those in /proc, which say 0) is read to its end.
// A failure says what went wrong.
Failure readWhole(const char* path, LineStore::Memory& memory, std::size_t& size) {
    OpenInput input;
    FileState before;
    int error = openInputFile(path, input.file);
    if (!error) error = inputFileState(input.file, before);
    if (error) return {RunFailure::cannotRead, error};
    const bool sized = before.regular && before.size > 0;
    if (sized && before.size > kLargestInput) return {RunFailure::inputOverLimit};
    const Failure noMemory{RunFailure::tooLarge, ENOMEM};
    // A size that leaves no room for the byte past it (on a 32-bit system).
    if (sized && before.size >= std::numeric_limits<std::size_t>::max()) return noMemory;
    std::size_t capacity = sized ? static_cast<std::size_t>(before.size) + 1 : std::size_t{1} << 16;
    size = 0;
    if (!reserve(memory, capacity)) return noMemory;
    for (;;) {
        std::size_t got = 0;
        if (const int readError = readInputFile(input.file, memory.bytes + size, capacity - size, got))
            return {RunFailure::cannotRead, readError};
        size += got;
        if (size < capacity || sized) break;
        if (capacity >= kLargestGrowingInput) return {RunFailure::tooLarge, EFBIG};
        capacity *= 2;
        if (!grow(memory, capacity, size)) return noMemory;
    }
    if (sized) {
        FileState after;
        if (size != before.size || inputFileState(input.file, after) != 0 || !(after == before))
            return {RunFailure::inputChanged};
    }
    return {};
}

// UTF-16 and UTF-32 become UTF-8 in memory of its own, which takes the place
// of the bytes read; `text` and `size` then describe the decoded text.
bool decodeText(LineStore& store, const char*& text, std::size_t& size) {
    LineStore::Memory decoded;
    if (!reserve(decoded, utf8CapacityFor(size, store.encoding) + 1)) return false;
    size = decodeToUtf8(reinterpret_cast<const unsigned char*>(text), size, store.encoding, decoded.bytes,
                        &store.decodeFaults);
    freeMemory(store.textMemory);
    store.textMemory = decoded;
    text = decoded.bytes;
    return true;
}

// Old DOS programs ended a text file with this byte (Ctrl+Z); what follows
// it is no part of the subtitles.
constexpr char kEndOfFileMark = 0x1A;

// A line as the store keeps it, from its first byte to its line end: a
// byte-order mark at its start is no text (files joined one after the other
// each bring theirs), and a line of only blanks is empty.
MARLIVA_INLINE inline LineEntry keptLine(const char* text, const char* from, std::size_t length) {
    while (length >= 3 && from[0] == '\xEF' && from[1] == '\xBB' && from[2] == '\xBF') {
        from += 3;
        length -= 3;
    }
    if (length > 0 && isBlank(from[0])) {
        std::size_t i = 1;
        while (i < length && isBlank(from[i])) ++i;
        if (i == length) length = 0;
    }
    return {static_cast<std::uint32_t>(from - text), static_cast<std::uint32_t>(length)};
}

// Calls onLine(from, length) for each line from text to end, without its line
// end. A line feed ends a line, and so does a carriage return: carriage
// returns right before a line feed, however many, are one line end with it;
// any other carriage return is a line end of its own. A last line without a
// line end is a line when it is not empty.
//
// With `loneReturns` false, the text is taken to hold no carriage return but
// right before a line feed, and only line feeds are looked for, sixteen bytes
// at a time; the count of carriage returns found before them is returned, so
// that the caller can tell whether the text held others.
template <typename OnLine>
std::size_t forEachLine(const char* text, const char* end, bool loneReturns, OnLine onLine) {
    const char* from = text;
    std::size_t returnsBeforeFeeds = 0;
    if (!loneReturns) {
        forEachByte(text, end, '\n', [&](const char* stop) MARLIVA_INLINE {
            const bool returnBefore = stop > from && stop[-1] == '\r';
            returnsBeforeFeeds += returnBefore;
            onLine(from, static_cast<std::size_t>(stop - from) - (returnBefore ? 1 : 0));
            from = stop + 1;
            return true;
        });
    } else {
        for (const char* p = text; p < end; ++p) {
            if (*p != '\r' && *p != '\n') continue;
            const char* q = p;
            while (q < end && *q == '\r') ++q;
            if (q < end && *q == '\n') {
                onLine(from, static_cast<std::size_t>(p - from));
                p = q;
                from = q + 1;
                continue;
            }
            // Carriage returns that no line feed follows: each ends a line.
            for (; p < q; ++p) {
                onLine(from, static_cast<std::size_t>(p - from));
                from = p + 1;
            }
            --p;
        }
    }
    if (from != end) onLine(from, static_cast<std::size_t>(end - from));
    return returnsBeforeFeeds;
}

// The index of the text's lines, and of those after an end-of-file mark.
bool fillIndex(LineStore& store, const char* text, std::size_t size) {
    const char* end = text + size;
    const LineEndCount ends = countLineEnds(text, end, kEndOfFileMark);
    const char* mark = ends.mark;
    const std::size_t returns = ends.returns;
    // Every line end makes one line, and the last line and the piece after
    // the mark may have none.
    const std::size_t most = ends.feeds + returns + 2;
    if (most > static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
        !reserve(store.indexMemory, most * sizeof(LineEntry)))
        return false;
    auto* entries = reinterpret_cast<LineEntry*>(store.indexMemory.bytes);
    // Inlined into the search for line ends: it runs for every line.
    const auto adder = [entries, text](std::int32_t& count) {
        return [entries, text, &count](const char* from, std::size_t length) MARLIVA_INLINE {
            entries[count++] = keptLine(text, from, length);
        };
    };
    const char* linesEnd = mark ? mark : end;
    // The lines, and those after the mark; returns the carriage returns found
    // right before line feeds when `loneReturns` is false.
    const auto indexLines = [&](bool loneReturns) {
        std::int32_t count = 0;
        std::size_t paired = forEachLine(text, linesEnd, loneReturns, adder(count));
        store.count = count;
        if (mark) {
            // The mark's line goes on after it when the text before it does
            // not end with a line end.
            const bool lineEnded = mark == text || mark[-1] == '\n' || mark[-1] == '\r';
            store.endMarkLine = count + (lineEnded ? 1 : 0);
            paired += forEachLine(mark + 1, end, loneReturns, adder(count));
            store.linesAfterEndMark = count - store.count;
        }
        return paired;
    };
    // Nearly every file holds carriage returns only right before line feeds,
    // if any: its lines are found by the line feeds alone. Where a carriage
    // return stands elsewhere, the lines are found again, byte by byte; in
    // old Mac files, which have more carriage returns than line feeds, at once.
    if (!kFastPaths || returns > ends.feeds || indexLines(false) != returns) indexLines(true);
    store.index = entries;
    return true;
}

// The store from the input's bytes in store.textMemory: a byte-order mark is
// not part of the first line, and UTF-16 and UTF-32 are decoded first. False
// when the memory for the decoded text or the index cannot be had.
bool indexText(LineStore& store, std::size_t size) {
    const char* text = store.textMemory.bytes;
    store.encoding = encodingOf({text, size});
    const std::size_t mark = byteOrderMark(store.encoding).size();
    text += mark;
    size -= mark;
    if (unitBytes(store.encoding) > 1 && !decodeText(store, text, size)) return false;
    if (size > kLargestInput) return false;
    store.text = text;
    if (size == 0) return true;
    return fillIndex(store, text, size);
}

// The store emptied after a failure; it keeps the input's encoding.
Failure emptied(LineStore& store, Failure failure) {
    const TextEncoding encoding = store.encoding;
    store = LineStore{};
    store.encoding = encoding;
    return failure;
}

Failure indexed(LineStore& store, std::size_t size) {
    if (!indexText(store, size)) return emptied(store, {RunFailure::tooLarge, ENOMEM});
    return {};
}

}  // namespace

LineStore::LineStore(LineStore&& other) noexcept { *this = std::move(other); }

LineStore& LineStore::operator=(LineStore&& other) noexcept {
    if (this == &other) return *this;
    freeMemory(textMemory);
    freeMemory(indexMemory);
    count = other.count;
    index = other.index;
    text = other.text;
    textMemory = other.textMemory;
    indexMemory = other.indexMemory;
    encoding = other.encoding;
    decodeFaults = std::move(other.decodeFaults);
    linesAfterEndMark = other.linesAfterEndMark;
    endMarkLine = other.endMarkLine;
    other.textMemory = {};
    other.indexMemory = {};
    other.count = 0;
    other.index = nullptr;
    other.text = nullptr;
    other.linesAfterEndMark = 0;
    return *this;
}

LineStore::~LineStore() {
    freeMemory(textMemory);
    freeMemory(indexMemory);
}

Failure loadLines(LineStore& store, const char* path) {
    store = LineStore{};
    std::size_t size = 0;
    if (const Failure failed = readWhole(path, store.textMemory, size)) {
        store = LineStore{};
        return failed;
    }
    return indexed(store, size);
}

Failure loadLinesFromMemory(LineStore& store, const char* data, std::size_t size) {
    store = LineStore{};
    if (!reserve(store.textMemory, size)) return emptied(store, {RunFailure::tooLarge, ENOMEM});
    if (size) std::memcpy(store.textMemory.bytes, data, size);
    return indexed(store, size);
}

std::int32_t lineIndexAt(const LineStore& store, std::size_t offset) {
    const LineEntry* begin = store.index;
    const LineEntry* end = store.index + store.count + store.linesAfterEndMark;
    const LineEntry* after =
        std::upper_bound(begin, end, offset, [](std::size_t at, const LineEntry& entry) { return at < entry.offset; });
    return after == begin ? 0 : static_cast<std::int32_t>(after - begin - 1);
}
