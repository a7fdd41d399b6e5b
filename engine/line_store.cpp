// The line store: reads a file in text mode into one zero-filled block of
// fixed 1023-byte slots, one slot per line read.
#include "line_store.h"

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <limits>
#include <memory>

namespace {

// Reads bytes from a file or from memory through a buffer, translating the
// text mode: a CR LF pair is one line feed, a lone CR is an ordinary
// character, and 0x1A ends the input.
struct TextReader {
    std::FILE* file = nullptr;
    const unsigned char* data = nullptr;
    std::size_t size = 0;
    std::size_t pos = 0;
    bool ended = false;
    bool failed = false;
    unsigned char buffer[1 << 16];

    // The next raw byte, or -1 at the end.
    int raw() {
        if (pos == size) {
            if (!file) return -1;
            size = std::fread(buffer, 1, sizeof buffer, file);
            pos = 0;
            if (size == 0) {
                if (std::ferror(file)) failed = true;
                return -1;
            }
            data = buffer;
        }
        return data[pos++];
    }

    int peekRaw() {
        const int c = raw();
        if (c >= 0) --pos;
        return c;
    }

    // The next character after translation, or -1 at the end of the input.
    int next() {
        if (ended) return -1;
        int c = raw();
        if (c == 0x1A || c < 0) {
            ended = true;
            return -1;
        }
        if (c == '\r' && peekRaw() == '\n') c = raw();
        return c;
    }

    // One line read with room for kChunkChars characters: up to and including
    // the first line feed, never more than kChunkChars. Returns the characters
    // read, 0 when none were left. `out` may be null to only count.
    std::size_t chunk(char* out) {
        std::size_t n = 0;
        while (n < kChunkChars) {
            const int c = next();
            if (c < 0) break;
            if (out) out[n] = static_cast<char>(c);
            ++n;
            if (c == '\n') break;
        }
        return n;
    }
};

struct FileCloser {
    void operator()(std::FILE* f) const { std::fclose(f); }
};
using FilePtr = std::unique_ptr<std::FILE, FileCloser>;

LoadStatus countChunks(TextReader& reader, std::int32_t& count) {
    count = 0;
    while (reader.chunk(nullptr) > 0) {
        if (count == std::numeric_limits<std::int32_t>::max()) return LoadStatus::tooLarge;
        ++count;
    }
    return reader.failed ? LoadStatus::cannotOpen : LoadStatus::ok;
}

LoadStatus allocateBlock(LineStore& store, std::int32_t count) {
    if (static_cast<std::size_t>(count) > std::numeric_limits<std::size_t>::max() / kSlotSize)
        return LoadStatus::tooLarge;
    store.block = static_cast<char*>(std::calloc(static_cast<std::size_t>(count), kSlotSize));
    if (!store.block) return LoadStatus::tooLarge;
    store.count = count;
    return LoadStatus::ok;
}

// The line end is removed, never a character of the text: only a chunk that
// ends in a line feed loses its last character.
void fillSlots(LineStore& store, TextReader& reader) {
    for (std::int32_t i = 0; i < store.count; ++i) {
        char* slot = store.block + static_cast<std::size_t>(i) * kSlotSize;
        const std::size_t n = reader.chunk(slot);
        if (n == 0) break;
        if (slot[n - 1] == '\n') slot[n - 1] = '\0';
    }
}

}  // namespace

LoadStatus loadLines(LineStore& store, const char* path) {
    release(store);
    std::int32_t count = 0;
    {
        FilePtr file(std::fopen(path, "rb"));
        if (!file) return LoadStatus::cannotOpen;
        auto reader = std::make_unique<TextReader>();
        reader->file = file.get();
        const LoadStatus counted = countChunks(*reader, count);
        if (counted != LoadStatus::ok) return counted;
    }
    if (count == 0) return LoadStatus::ok;
    const LoadStatus allocated = allocateBlock(store, count);
    if (allocated != LoadStatus::ok) return allocated;

    // The file is read twice so that exactly one block of the right size exists.
    FilePtr file(std::fopen(path, "rb"));
    if (!file) {
        release(store);
        return LoadStatus::cannotOpen;
    }
    auto reader = std::make_unique<TextReader>();
    reader->file = file.get();
    fillSlots(store, *reader);
    return LoadStatus::ok;
}

LoadStatus loadLinesFromMemory(LineStore& store, const char* data, std::size_t size) {
    release(store);
    TextReader counter;
    counter.data = reinterpret_cast<const unsigned char*>(data);
    counter.size = size;
    std::int32_t count = 0;
    const LoadStatus counted = countChunks(counter, count);
    if (counted != LoadStatus::ok || count == 0) return counted;
    const LoadStatus allocated = allocateBlock(store, count);
    if (allocated != LoadStatus::ok) return allocated;
    TextReader reader;
    reader.data = counter.data;
    reader.size = size;
    fillSlots(store, reader);
    return LoadStatus::ok;
}

void release(LineStore& store) {
    std::free(store.block);
    store.block = nullptr;
    store.count = 0;
}
