// The line store: text-mode reading, lines of any length kept whole, the
// input's encoding, and files (mapped or read) giving the lines their bytes
// in memory give.
#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "line_store.h"
#include "test_support.h"

namespace {

std::vector<std::string> linesOf(const std::string& bytes) {
    LineStore store;
    EXPECT_EQ(loadLinesFromMemory(store, bytes.data(), bytes.size(), FileKindNone), LoadStatus::ok);
    std::vector<std::string> lines;
    for (std::int32_t i = 0; i < store.count; ++i) lines.emplace_back(line(store, i));
    release(store);
    return lines;
}

TEST(LineStore, TextModeReading) {
    const std::string long300(300, 'a'), long1M(1 << 20, 'b');
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
        {"a line is a line, however long", long300 + "\n" + long1M + "\r\nc", {long300, long1M, "c"}},
        {"a byte-order mark is not part of the first line", "\xEF\xBB\xBF{000001}{000002}x\n",
         {"{000001}{000002}x"}},
        {"UTF-16 is read as UTF-8", std::string("\xFF\xFE" "a\0\r\0\n\0\xE9\0\x1A\0z\0", 14),
         {"a", "\xC3\xA9"}},
        {"zero bytes stay in their line", std::string("ab\0cd\nef\n", 9),
         {std::string("ab\0cd", 5), "ef"}},
    };
    for (const auto& c : cases) EXPECT_EQ(linesOf(c.bytes), c.lines) << c.name;
}

// A file above a megabyte (mapped, where the system can) gives the lines that
// its bytes in memory give.
TEST(LineStore, FileAndMemoryGiveTheSameLines) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i) bytes += std::string(i % 300, 'x') + (i % 3 ? "\r\n" : "\n");
    bytes += "last";
    writeFile(scratchPath("store_same.srt"), bytes);
    LineStore fromFile, fromMemory;
    ASSERT_EQ(loadLines(fromFile, scratchPath("store_same.srt").c_str(), FileKindNone), LoadStatus::ok);
    ASSERT_EQ(loadLinesFromMemory(fromMemory, bytes.data(), bytes.size(), FileKindNone), LoadStatus::ok);
    ASSERT_EQ(fromFile.count, 20001);
    ASSERT_EQ(fromMemory.count, 20001);
    for (std::int32_t i = 0; i < fromMemory.count; ++i) ASSERT_EQ(line(fromFile, i), line(fromMemory, i)) << i;
    EXPECT_EQ(line(fromFile, 20000), "last");
    release(fromFile);
    release(fromMemory);
}

TEST(LineStore, UnreadableInputs) {
    LineStore store;
    EXPECT_EQ(loadLines(store, scratchPath("no_such_file.srt").c_str(), FileKindSrt), LoadStatus::cannotOpen);
    EXPECT_EQ(loadLines(store, ::testing::TempDir().c_str(), FileKindSrt), LoadStatus::cannotOpen);  // a folder
    EXPECT_EQ(store.count, 0);
}

}  // namespace
