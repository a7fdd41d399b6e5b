// The line store: text-mode reading into fixed, zero-filled slots.
#include <gtest/gtest.h>

#include <cstring>
#include <string>
#include <vector>

#include "line_store.h"
#include "test_support.h"

namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
    LineStore store;
    EXPECT_EQ(loadLinesFromMemory(store, bytes.data(), bytes.size(), FileKindNone), LoadStatus::ok);
    std::vector<std::string> lines;
    for (std::int32_t i = 0; i < store.count; ++i) {
        const char* slot = line(store, i);
        lines.emplace_back(slot);
        // Everything after the text is zero up to the end of the slot.
        for (std::size_t c = kChunkChars; c < kSlotSize; ++c)
            if (slot[c] != '\0') ADD_FAILURE() << "slot " << i << " byte " << c;
    }
    release(store);
    return lines;
}

TEST(LineStore, TextModeReading) {
    const std::string a253(253, 'a'), a254(254, 'a'), a300(300, 'a');
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"line feeds", "a\n\nb\n", {"a", "", "b"}},
        {"CR LF pairs", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"a last line without a line end keeps its characters", "a\nb", {"a", "b"}},
        {"a lone CR is a character", "a\rb\r\n", {"a\rb"}},
        {"CR at the very end", "a\r", {"a\r"}},
        {"0x1A ends the input", "a\nb\x1A" "c\nd\n", {"a", "b"}},
        {"0x1A first", "\x1A" "a\n", {}},
        {"empty file", "", {}},
        {"253 characters", a253 + "\n", {a253}},
        {"254 characters and a line end", a254 + "\n", {a254, ""}},
        {"254 characters, CR LF", a254 + "\r\n", {a254, ""}},
        {"300 characters and a line end", a300 + "\n", {a254, std::string(46, 'a')}},
        {"300 characters at the end", a300, {a254, std::string(46, 'a')}},
        {"a byte-order mark is not part of the first line", "\xEF\xBB\xBF{000001}{000002}x\n",
         {"{000001}{000002}x"}},
        {"UTF-16 is read as UTF-8", std::string("\xFF\xFE" "a\0\r\0\n\0\xE9\0\x1A\0z\0", 14),
         {"a", "\xC3\xA9"}},
        {"zero bytes end the text of their line", std::string("ab\0cd\nef\n", 9), {"ab", "ef"}},
    };
    for (const auto& c : cases) EXPECT_EQ(linesOf(c.bytes), c.lines) << c.name;
}

// Files below and above a megabyte: the larger are read into memory got
// another way, and both must give the lines that the bytes in memory give.
TEST(LineStore, FileAndMemoryGiveTheSameLines) {
    for (const int lines : {5000, 20000}) {
        std::string bytes;
        for (int i = 0; i < lines; ++i) bytes += std::string(i % 300, 'x') + (i % 3 ? "\r\n" : "\n");
        bytes += "last line without a line end";
        const std::string path = scratchPath("store_same.srt");
        writeFile(path, bytes);
        LineStore fromFile;
        ASSERT_EQ(loadLines(fromFile, path.c_str(), FileKindNone), LoadStatus::ok) << lines;
        LineStore fromMemory;
        ASSERT_EQ(loadLinesFromMemory(fromMemory, bytes.data(), bytes.size(), FileKindNone), LoadStatus::ok);
        ASSERT_EQ(fromFile.count, fromMemory.count) << lines;
        EXPECT_EQ(0, std::memcmp(fromFile.block, fromMemory.block,
                                 static_cast<std::size_t>(fromFile.count) * kSlotSize))
            << lines;
        EXPECT_STREQ(line(fromFile, fromFile.count - 1), "last line without a line end");
        release(fromFile);
        release(fromMemory);
        EXPECT_EQ(fromFile.count, 0);
        EXPECT_EQ(fromFile.block, nullptr);
    }
}

TEST(LineStore, UnreadableInputs) {
    LineStore store;
    EXPECT_EQ(loadLines(store, scratchPath("no_such_file.srt").c_str(), FileKindSrt), LoadStatus::cannotOpen);
    EXPECT_EQ(loadLines(store, ::testing::TempDir().c_str(), FileKindSrt), LoadStatus::cannotOpen);  // a folder
    EXPECT_EQ(store.count, 0);
}

}  // namespace
