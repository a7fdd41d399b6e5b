// The line store: lines and their ends, lines of any length kept whole, the
// text after an end-of-file mark, the input's encoding, and files giving the
// lines their bytes in memory give.
#include <gtest/gtest.h>

#include <cerrno>
#include <string>
#include <utility>
#include <vector>

#include "line_store.h"
#include "test_support.h"

namespace {

// The store's lines, then "|" and the lines after an end-of-file mark with
// the number of the first.
std::vector<std::string> linesOf(const std::string& bytes) {
    LineStore store;
    EXPECT_FALSE(loadLinesFromMemory(store, bytes.data(), bytes.size()));
    std::vector<std::string> lines;
    for (std::int32_t i = 0; i < store.count; ++i) lines.emplace_back(line(store, i));
    if (store.endMarkLine) lines.push_back("| from " + std::to_string(store.endMarkLine));
    for (std::int32_t k = 0; k < store.linesAfterEndMark; ++k) lines.emplace_back(lineAfterEndMark(store, k));
    return lines;
}

std::string utf16(const std::string& ascii, bool bigEndian) {
    std::string units;
    for (char c : ascii) units += bigEndian ? std::string{'\0', c} : std::string{c, '\0'};
    return units;
}

TEST(LineStore, LinesAndTheirEnds) {
    const std::string long300(300, 'a'), long1M(1 << 20, 'b');
    const std::string sixtyFour(64, 'x');
    const struct {
        const char* name;
        std::string bytes;
        std::vector<std::string> lines;
    } cases[] = {
        {"line feeds", "a\n\nb\n", {"a", "", "b"}},
        {"CR LF pairs", "a\r\n\r\nb\r\n", {"a", "", "b"}},
        {"CRs before a line feed, however many, are one line end", "a\r\r\r\nb\r\n", {"a", "b"}},
        {"a last line without a line end keeps its characters", "a\nb", {"a", "b"}},
        {"a lone CR in a file of CR LF ends a line", "a\rb\r\nc\r\n", {"a", "b", "c"}},
        {"each lone CR ends a line", "1\r00:00:01,000\r\rx\r\n", {"1", "00:00:01,000", "", "x"}},
        {"a CR-only tail after LF lines", "a\nb\n\rc\rd\r", {"a", "b", "", "c", "d"}},
        {"a byte-order mark at a line's start is no text", "1\n\xEF\xBB\xBF" "2\n\xEF\xBB\xBF\n",
         {"1", "2", ""}},
        {"a byte-order mark inside a line stays", "a\xEF\xBB\xBF" "b\n", {"a\xEF\xBB\xBF" "b"}},
        {"blanks alone make an empty line", "a\n \t \nb\n", {"a", "", "b"}},
        {"0x1A ends the lines; what follows is kept apart", "a\nb\x1A" "c\n\nd\n", {"a", "b", "| from 2", "c", "", "d"}},
        {"0x1A first", "\x1A" "a\n", {"| from 1", "a"}},
        {"0x1A at a line's start", "a\n\x1A" "b", {"a", "| from 2", "b"}},
        {"0x1A after a lone CR", "a\rb\r\x1A" "c\r", {"a", "b", "| from 3", "c"}},
        {"empty file", "", {}},
        {"a line is a line, however long", long300 + "\n" + long1M + "\r\nc", {long300, long1M, "c"}},
        {"a byte-order mark is not part of the first line", "\xEF\xBB\xBF{000001}{000002}x\n",
         {"{000001}{000002}x"}},
        {"UTF-16 is read as UTF-8", std::string("\xFF\xFE" "a\0\r\0\n\0\xE9\0\x1A\0z\0", 14),
         {"a", "\xC3\xA9", "| from 2", "z"}},
        {"UTF-16 without a mark, little-endian", utf16("1\r\nab\r\n", false), {"1", "ab"}},
        {"UTF-16 without a mark, big-endian", utf16("1\nab", true), {"1", "ab"}},
        {"UTF-16 without a mark, letters beyond ASCII", utf16(sixtyFour, false).replace(101, 1, "y") + std::string("\xE9\0", 2),
         {std::string(50, 'x') + "\xE7\xA5\xB8" + std::string(13, 'x') + "\xC3\xA9"}},
        {"UTF-16 without a mark: a zero low byte in more than one unit in 20 is no UTF-16",
         utf16(std::string(18, 'x'), false) + std::string("\0\x01\0\x01", 4),
         {utf16(std::string(18, 'x'), false) + std::string("\0\x01\0\x01", 4)}},
        {"UTF-32 with its mark", std::string("\xFF\xFE\0\0" "a\0\0\0\n\0\0\0\xE9\0\0\0", 16), {"a", "\xC3\xA9"}},
        {"UTF-32 big-endian", std::string("\0\0\xFE\xFF\0\0\0a", 8), {"a"}},
        {"zero bytes stay in their line", std::string("ab\0cd\nef\n", 9), {std::string("ab\0cd", 5), "ef"}},
    };
    for (const auto& c : cases) EXPECT_EQ(linesOf(c.bytes), c.lines) << c.name;
}

// A file above a megabyte gives the lines that its bytes in memory give.
TEST(LineStore, FileAndMemoryGiveTheSameLines) {
    std::string bytes;
    for (int i = 0; i < 20000; ++i) bytes += std::string(i % 300, 'x') + (i % 3 ? "\r\n" : "\n");
    bytes += "last";
    writeFile(scratchPath("store_same.srt"), bytes);
    LineStore fromFile, fromMemory;
    ASSERT_FALSE(loadLines(fromFile, scratchPath("store_same.srt").c_str()));
    ASSERT_FALSE(loadLinesFromMemory(fromMemory, bytes.data(), bytes.size()));
    ASSERT_EQ(fromFile.count, 20001);
    ASSERT_EQ(fromMemory.count, 20001);
    for (std::int32_t i = 0; i < fromMemory.count; ++i) ASSERT_EQ(line(fromFile, i), line(fromMemory, i)) << i;
    EXPECT_EQ(line(fromFile, 20000), "last");
}

TEST(LineStore, UnreadableInputs) {
    LineStore store;
    EXPECT_EQ(loadLines(store, scratchPath("no_such_file.srt").c_str()).error, ENOENT);
    EXPECT_EQ(loadLines(store, ::testing::TempDir().c_str()).kind, RunFailure::cannotRead);  // a folder
    EXPECT_EQ(store.count, 0);
}

TEST(TextEncodings, BothWays) {
    // "aé€😀" in UTF-8, UTF-16 and UTF-32.
    const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const struct {
        TextEncoding encoding;
        std::string units;
    } cases[] = {
        {TextEncoding::utf16le, std::string("a\0\xE9\0\xAC\x20\x3D\xD8\x00\xDE", 10)},
        {TextEncoding::utf16beNoMark, std::string("\0a\0\xE9\x20\xAC\xD8\x3D\xDE\x00", 10)},
        {TextEncoding::utf32le, std::string("a\0\0\0\xE9\0\0\0\xAC\x20\0\0\x00\xF6\x01\0", 16)},
        {TextEncoding::utf32be, std::string("\0\0\0a\0\0\0\xE9\0\0\x20\xAC\0\x01\xF6\x00", 16)},
    };
    for (const auto& c : cases) {
        std::string decoded(utf8CapacityFor(c.units.size(), c.encoding), '\0');
        decoded.resize(decodeToUtf8(reinterpret_cast<const unsigned char*>(c.units.data()), c.units.size(),
                                    c.encoding, decoded.data()));
        EXPECT_EQ(decoded, utf8) << static_cast<int>(c.encoding);
        // Encoded in two pieces cut inside the last character.
        std::string encoded(4 * utf8.size(), '\0');
        std::size_t pending = 0;
        std::size_t n = encodeFromUtf8(utf8.data(), 8, c.encoding, encoded.data(), pending);
        EXPECT_EQ(pending, 2u);
        n += encodeFromUtf8(utf8.data() + 8 - pending, 2 + pending, c.encoding, encoded.data() + n, pending);
        encoded.resize(n);
        EXPECT_EQ(encoded, c.units) << static_cast<int>(c.encoding);
    }
    // Unpaired surrogates, an odd last byte and bytes that are not UTF-8 become U+FFFD.
    const std::string broken("\x00\xD8x\0\x00\xDC\x41", 7);
    std::string decoded(utf8CapacityFor(broken.size(), TextEncoding::utf16le), '\0');
    decoded.resize(decodeToUtf8(reinterpret_cast<const unsigned char*>(broken.data()), broken.size(),
                                TextEncoding::utf16le, decoded.data()));
    EXPECT_EQ(decoded, "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
    char units[8];
    std::size_t pending = 0;
    EXPECT_EQ(std::string(units, encodeFromUtf8("\x80z", 2, TextEncoding::utf16le, units, pending)),
              std::string("\xFD\xFFz\0", 4));
}

}  // namespace
