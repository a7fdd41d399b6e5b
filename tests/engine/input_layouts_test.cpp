// Lines in other tools' layouts, line by line, and the text encodings.
#include <gtest/gtest.h>

#include <string>

#include "input_layouts.h"
#include "text_encoding.h"

namespace {

// The stored line, or "(dropped)".
std::string stored(FileKind kind, const std::string& line, bool first = false) {
    InputLayouts layouts{kind};
    layouts.firstLine = first;
    const LineLayout layout = nextLineLayout(layouts, line);
    if (layout.action == LineLayout::drop) return "(dropped)";
    if (layout.action == LineLayout::keep) return line;
    const std::string rewritten = std::string(layout.headText()) + line.substr(layout.tailFrom);
    EXPECT_NE(rewritten, line) << "a rewrite that changes nothing: " << line;
    return rewritten;
}

TEST(InputLayouts, SrtTimingLines) {
    const struct {
        const char* line;
        const char* expected;  // null: kept as it is
    } cases[] = {
        {"00:00:01,000 --> 00:00:02,500", nullptr},
        {"00:00:01,000 --> 00:00:02,500  X1:100 X2:200", nullptr},
        {"12:34:56,789 --> 12:34:57,000", nullptr},
        {"0:55:40,920 --> 0:55:42,000", "00:55:40,920 --> 00:55:42,000"},
        {"00:00:01.000 --> 00:00:02.000", "00:00:01,000 --> 00:00:02,000"},
        {"00:01:39 --> 00:01:41", "00:01:39,000 --> 00:01:41,000"},
        {"00:00:01,77 --> 00:00:02,5", "00:00:01,770 --> 00:00:02,500"},
        {"00:00:01:500 --> 00:00:02:250", "00:00:01,500 --> 00:00:02,250"},
        {"00:01,234 --> 00:02,000", "00:00:01,234 --> 00:00:02,000"},
        {"01:02:03 --> 01:02:04", "01:02:03,000 --> 01:02:04,000"},
        {"\t 0:0:1,0->0:0:2,0", "00:00:01,000 --> 00:00:02,000"},
        {"00:00:01,000 - > 00:00:02,000", "00:00:01,000 --> 00:00:02,000"},
        {"00:00:01,000 -- > 00:00:02,000\tnote", "00:00:01,000 --> 00:00:02,000\tnote"},
        {"-00:00:01,000 --> 00:00:02,000", "00:00:00,000 --> 00:00:02,000"},
        // Refused: left for the reader as they are.
        {"00:60:01,000 --> 00:00:02,000", nullptr},
        {"00:00:01,0000 --> 00:00:02,000", nullptr},
        {"00:00:01,000 --> 00:00:02,000x", nullptr},
        {"100:00:01,000 --> 100:00:02,000", nullptr},
        {"00:00:01,000 => 00:00:02,000", nullptr},
        {"00:00:01 00:00:02", nullptr},
        {"Meet me at 10:30 -> then", nullptr},
        {"1", nullptr},
        {"", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stored(FileKindSrt, c.line), c.expected ? c.expected : c.line) << c.line;
}

TEST(InputLayouts, FrameLines) {
    const struct {
        const char* line;
        bool first;
        const char* expected;
    } cases[] = {
        {"{000025}{000063}Hello|World", false, nullptr},
        {"{359}{412}Text", false, "{000359}{000412}Text"},
        {"{1}{2}", false, "{000001}{000002}"},
        {"{0}{999999}{y:i}x", false, "{000000}{999999}{y:i}x"},
        {"{1}{1}23.976", true, "(dropped)"},
        {"{0}{0}25", true, "(dropped)"},
        {"{1}{1}23.976", false, "{000001}{000001}23.976"},
        {"{1}{1}fps", true, "{000001}{000001}fps"},
        {"{1}{1}23.976 fps", true, "{000001}{000001}23.976 fps"},
        {"{2}{2}25", true, "{000002}{000002}25"},
        {"{1234567}{1}x", false, nullptr},
        {"{-164}{-68}x", false, "{000000}{000000}x"},
        {"{-}{1}x", false, nullptr},
        {"{12}456}{000250}Hi", false, nullptr},
        {"{}{1}x", false, nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stored(FileKindSrt, c.line, c.first), c.expected ? c.expected : c.line) << c.line;

    InputLayouts layouts{FileKindSrt};
    nextLineLayout(layouts, "{1}{1}23.976");
    EXPECT_TRUE(layouts.declaresFrameRate);
    EXPECT_EQ(layouts.declaredFrameRate, 23.976);
    EXPECT_EQ(stored(FileKindSsa, "{1}{2}x"), "{1}{2}x");
}

TEST(InputLayouts, SsaEvents) {
    const struct {
        const char* line;
        const char* expected;
    } cases[] = {
        {"Dialogue: Marked=0,0:00:01.00,0:00:02.50,*Default,1,0000,0000,0000,,Hi", nullptr},
        {"Dialogue: Marked=0,0:00:01.00,0:00:02.50,,1,0000,0000,0000,,Hi", nullptr},
        {"Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Hi",
         "Dialogue: Marked=0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Hi"},
        {"Dialogue: Marked=0,00:01:39.00,00:01:41.00,*Default,1,0000,0000,0000,,Hi",
         "Dialogue: Marked=0,0:01:39.00,0:01:41.00,*Default,1,0000,0000,0000,,Hi"},
        {"Dialogue:10,0:00:01.00,0:00:02.50,S", "Dialogue: Marked=0,0:00:01.00,0:00:02.50,S"},
        {"Dialogue: Marked=0,-0:00:06.84,-0:00:02.85,Default,,0000,0000,0000,,a",
         "Dialogue: Marked=0,0:00:00.00,0:00:00.00,Default,,0000,0000,0000,,a"},
        // Refused: left as they are.
        {"Dialogue: 0,10:00:01.00,10:00:02.00,Default,,0,0,0,,Hi", nullptr},
        {"Dialogue: 0,0:00:03.766,0:00:04.00,Default,,0,0,0,,Hi", nullptr},
        {"Dialogue: 0,0:00:01.00,0:00:02.00", nullptr},
        {"Comment: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,Hi", nullptr},
        {"dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,Hi", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stored(FileKindSsa, c.line), c.expected ? c.expected : c.line) << c.line;
    EXPECT_EQ(stored(FileKindSrt, "Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Hi"),
              "Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Hi");
}

TEST(TextEncodings, Utf16BothWays) {
    EXPECT_EQ(encodingOf("\xEF\xBB\xBFx"), TextEncoding::utf8Bom);
    EXPECT_EQ(encodingOf("\xFF\xFEx"), TextEncoding::utf16le);
    EXPECT_EQ(encodingOf("\xFE\xFFx"), TextEncoding::utf16be);
    EXPECT_EQ(encodingOf("\xEF\xBBx"), TextEncoding::plain);

    // "aé€😀" in UTF-8, little-endian and big-endian UTF-16.
    const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const std::string le("a\0\xE9\0\xAC\x20\x3D\xD8\x00\xDE", 10);
    const std::string be("\0a\0\xE9\x20\xAC\xD8\x3D\xDE\x00", 10);
    for (const bool bigEndian : {false, true}) {
        const std::string& utf16 = bigEndian ? be : le;
        std::string decoded(utf8CapacityFor(utf16.size()), '\0');
        decoded.resize(decodeUtf16(reinterpret_cast<const unsigned char*>(utf16.data()),
                                   utf16.size(), bigEndian, decoded.data()));
        EXPECT_EQ(decoded, utf8) << bigEndian;
        // Encoded in two pieces cut inside the last character.
        std::string encoded(2 * utf8.size(), '\0');
        std::size_t pending = 0;
        std::size_t n = encodeUtf16(utf8.data(), 8, bigEndian, encoded.data(), pending);
        EXPECT_EQ(pending, 2u);
        n += encodeUtf16(utf8.data() + 8 - pending, 2 + pending, bigEndian, encoded.data() + n, pending);
        EXPECT_EQ(pending, 0u);
        encoded.resize(n);
        EXPECT_EQ(encoded, utf16) << bigEndian;
    }
    // Unpaired surrogates and an odd last byte become U+FFFD.
    const std::string broken("\x00\xD8x\0\x00\xDC\x41", 7);
    std::string decoded(utf8CapacityFor(broken.size()), '\0');
    decoded.resize(decodeUtf16(reinterpret_cast<const unsigned char*>(broken.data()), broken.size(),
                               false, decoded.data()));
    EXPECT_EQ(decoded, "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
    // Bytes that are not UTF-8 become U+FFFD.
    char units[8];
    std::size_t pending = 0;
    EXPECT_EQ(std::string(units, encodeUtf16("\x80z", 2, false, units, pending)),
              std::string("\xFD\xFFz\0", 4));
}

}  // namespace
