// The line store: reads a file in text mode and keeps its lines whole, each
// ended by a zero byte, in one allocation sized by the input.
#include "line_store.h"

#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

#include "input_layouts.h"
#include "system_calls.h"

namespace {

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

// Bytes held in memory from allocateLarge, freed with it.
struct LargeBytes {
    char* data = nullptr;
    std::size_t capacity = 0;

    LargeBytes() = default;
    LargeBytes(const LargeBytes&) = delete;
    LargeBytes& operator=(const LargeBytes&) = delete;
    ~LargeBytes() { reset(); }
    bool reserve(std::size_t bytes) {
        reset();
        data = allocateLarge(bytes);
        capacity = data ? bytes : 0;
        return data != nullptr;
    }
    void reset() {
        freeLarge(data, capacity);
        data = nullptr;
        capacity = 0;
    }
};

// Room for `capacity` bytes keeping the first `used`; on failure the bytes
// stay as they were.
bool grow(LargeBytes& bytes, std::size_t capacity, std::size_t used) {
    char* grown = allocateLarge(capacity);
    if (!grown) return false;
    std::memcpy(grown, bytes.data, used);
    freeLarge(bytes.data, bytes.capacity);
    bytes.data = grown;
    bytes.capacity = capacity;
    return true;
}

// An input that never ends (a pipe, a device) or keeps growing is refused
// once it passes this.
constexpr std::size_t kLargestGrowingInput = std::size_t{1} << 30;

// The whole file in memory, read in one go when its size is known. `error`
// receives the system's error number of a failure.
LoadStatus readWhole(std::FILE* file, LargeBytes& bytes, std::size_t& size, int& error) {
    std::size_t capacity = 1 << 16;
    const long long known = regularFileSize(file);
    if (known > 0 && static_cast<unsigned long long>(known) < std::numeric_limits<std::size_t>::max())
        capacity = static_cast<std::size_t>(known) + 1;
    size = 0;
    error = ENOMEM;
    if (!bytes.reserve(capacity)) return LoadStatus::tooLarge;
    for (;;) {
        errno = 0;
        size += std::fread(bytes.data + size, 1, capacity - size, file);
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
        if (!grow(bytes, capacity, size)) return LoadStatus::tooLarge;
    }
}

// One line of the input in text mode: its characters without the line end.
// A carriage return right before the line feed belongs to the line end; any
// other carriage return is a character.
std::string_view nextLine(const char*& p, const char* end) {
    const auto* feed = static_cast<const char*>(std::memchr(p, '\n', static_cast<std::size_t>(end - p)));
    const char* stop = feed ? feed : end;
    std::size_t length = static_cast<std::size_t>(stop - p);
    if (feed && length > 0 && feed[-1] == '\r') --length;
    const std::string_view l(p, length);
    p = feed ? feed + 1 : end;
    return l;
}

// The store's size for the text from p to end: its lines as the layouts
// store them, each with its zero byte.
struct StoreSize {
    std::size_t count = 0;
    std::size_t textBytes = 0;
};

StoreSize measure(const char* p, const char* end, FileKind kind) {
    StoreSize size;
    InputLayouts layouts{kind};
    while (p < end) {
        const std::string_view l = nextLine(p, end);
        const LineLayout layout = nextLineLayout(layouts, l);
        if (layout.action == LineLayout::drop) continue;
        ++size.count;
        size.textBytes += layout.storedLength(l.size()) + 1;
    }
    return size;
}

constexpr std::size_t alignedTo4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

// One allocation for the lines, the zero bytes after them and the index.
LoadStatus allocateStore(LineStore& store, const StoreSize& size) {
    constexpr std::size_t kMostOffset = std::numeric_limits<std::uint32_t>::max();
    if (size.count >= static_cast<std::size_t>(std::numeric_limits<std::int32_t>::max()) ||
        size.textBytes > kMostOffset - kStoreTailBytes)
        return LoadStatus::tooLarge;
    const std::size_t indexFrom = alignedTo4(size.textBytes + kStoreTailBytes);
    const std::size_t bytes = indexFrom + (size.count + 1) * sizeof(std::uint32_t);
    store.block = allocateLarge(bytes);
    if (!store.block) return LoadStatus::tooLarge;
    store.blockSize = bytes;
    store.starts = reinterpret_cast<const std::uint32_t*>(store.block + indexFrom);
    store.count = static_cast<std::int32_t>(size.count);
    return LoadStatus::ok;
}

// Copies each line as its layout stores it, with its zero byte, and notes
// where it starts.
void fill(LineStore& store, const char* p, const char* end, InputLayouts& layouts) {
    auto* starts = const_cast<std::uint32_t*>(store.starts);
    char* to = store.block;
    std::int32_t i = 0;
    while (p < end) {
        const std::string_view l = nextLine(p, end);
        const LineLayout layout = nextLineLayout(layouts, l);
        if (layout.action == LineLayout::drop) continue;
        starts[i++] = static_cast<std::uint32_t>(to - store.block);
        std::string_view tail = l;
        if (layout.action == LineLayout::rewrite) {
            std::memcpy(to, layout.head, layout.headLength);
            to += layout.headLength;
            tail.remove_prefix(layout.tailFrom);
        }
        std::memcpy(to, tail.data(), tail.size());
        to += tail.size();
        *to++ = '\0';
    }
    starts[i] = static_cast<std::uint32_t>(to - store.block);
    std::memset(to, 0, kStoreTailBytes);
}

// Fills the store from text already decoded.
LoadStatus fillStore(LineStore& store, const char* text, std::size_t size, FileKind kind) {
    if (size == 0) return LoadStatus::ok;
    // A byte 0x1A ends the input: nothing after it is read.
    const char* stop = static_cast<const char*>(std::memchr(text, 0x1A, size));
    const char* end = stop ? stop : text + size;
    const StoreSize needed = measure(text, end, kind);
    if (needed.count == 0) return LoadStatus::ok;
    const LoadStatus allocated = allocateStore(store, needed);
    if (allocated != LoadStatus::ok) return allocated;
    InputLayouts layouts{kind};
    fill(store, text, end, layouts);
    store.declaresFrameRate = layouts.declaresFrameRate;
    store.declaredFrameRate = layouts.declaredFrameRate;
    return LoadStatus::ok;
}

// The input's text: a UTF-8 byte-order mark is not part of the first line,
// and UTF-16 is decoded to UTF-8 first. `raw`, when given, holds the input's
// bytes and is freed once they are decoded.
LoadStatus loadText(LineStore& store, const char* data, std::size_t size, FileKind kind,
                    LargeBytes* raw) {
    release(store);
    const TextEncoding encoding = encodingOf({data, size});
    const std::size_t mark = byteOrderMark(encoding).size();
    LoadStatus status;
    if (encoding == TextEncoding::utf16le || encoding == TextEncoding::utf16be) {
        LargeBytes decoded;
        if (!decoded.reserve(utf8CapacityFor(size - mark) + 1)) {
            status = LoadStatus::tooLarge;
        } else {
            const std::size_t length =
                decodeUtf16(reinterpret_cast<const unsigned char*>(data + mark), size - mark,
                            encoding == TextEncoding::utf16be, decoded.data);
            if (raw) raw->reset();
            status = fillStore(store, decoded.data, length, kind);
        }
    } else {
        status = fillStore(store, data + mark, size - mark, kind);
    }
    if (status != LoadStatus::ok) {
        release(store);
        store.error = ENOMEM;
        return status;
    }
    store.encoding = encoding;
    return LoadStatus::ok;
}

}  // namespace

LoadStatus loadLines(LineStore& store, const char* path, FileKind kind) {
    release(store);
    FilePtr file(std::fopen(path, "rb"));
    if (!file) {
        store.error = errno;
        return LoadStatus::cannotOpen;
    }
    LargeBytes bytes;
    std::size_t size = 0;
    int error = 0;
    const LoadStatus read = readWhole(file.get(), bytes, size, error);
    if (read != LoadStatus::ok) {
        store.error = error;
        return read;
    }
    file.reset();
    return loadText(store, bytes.data, size, kind, &bytes);
}

LoadStatus loadLinesFromMemory(LineStore& store, const char* data, std::size_t size, FileKind kind) {
    return loadText(store, data, size, kind, nullptr);
}

void release(LineStore& store) {
    freeLarge(store.block, store.blockSize);
    store = LineStore{};
}
