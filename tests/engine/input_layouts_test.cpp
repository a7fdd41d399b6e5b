// Lines in other tools' layouts, line by line, and the text encodings.
#include <gtest/gtest.h>

#include <string>

#include "input_layouts.h"
#include "text_encoding.h"

namespace {

// The line as the store keeps it, or "(dropped)".
std::string stored(FileKind kind, const std::string& line, bool first) {
    InputLayouts layouts{kind};
    layouts.firstLine = first;
    const LineLayout layout = nextLineLayout(layouts, line);
    // The quick test that spares most lines the work must agree.
    EXPECT_TRUE(first || !keptAsIs(kind, line) || layout.action == LineLayout::keep) << line;
    if (layout.action == LineLayout::drop) return "(dropped)";
    if (layout.action == LineLayout::keep) return line;
    return std::string(layout.headText()) + line.substr(layout.tailFrom);
}

TEST(InputLayouts, LineByLine) {
    const FileKind srt = FileKindSrt, ssa = FileKindSsa;
    const struct {
        FileKind kind;
        bool first;
        const char* line;
        const char* expected;  // null: kept as it is
    } cases[] = {
        // SRT timing lines as other tools write them.
        {srt, false, "00:00:01,000 --> 00:00:02,500  X1:100 X2:200", nullptr},
        {srt, false, "12:34:56,789 --> 12:34:57,000", nullptr},
        {srt, false, "0:55:40,920 --> 0:55:42,000", "00:55:40,920 --> 00:55:42,000"},
        {srt, false, "00:00:01.000 --> 00:00:02.000", "00:00:01,000 --> 00:00:02,000"},
        {srt, false, "00:01:39 --> 00:01:41", "00:01:39,000 --> 00:01:41,000"},
        {srt, false, "00:00:01,77 --> 00:00:02:5", "00:00:01,770 --> 00:00:02,500"},
        {srt, false, "00:01,234 --> 00:02,000", "00:00:01,234 --> 00:00:02,000"},
        {srt, false, "01:02:03 --> 01:02:04", "01:02:03,000 --> 01:02:04,000"},
        {srt, false, "\t 0:0:1,0->0:0:2,0", "00:00:01,000 --> 00:00:02,000"},
        {srt, false, "00:00:01,000 - > 00:00:02,000", "00:00:01,000 --> 00:00:02,000"},
        {srt, false, "00:00:01,000 -- > 00:00:02,000\tnote", "00:00:01,000 --> 00:00:02,000\tnote"},
        {srt, false, "-00:00:01,000 --> 00:00:02,000", "00:00:00,000 --> 00:00:02,000"},
        {srt, false, "00:60:01,000 --> 00:00:02,000", nullptr},
        {srt, false, "00:00:01,0000 --> 00:00:02,000", nullptr},
        {srt, false, "00:00:01,000 --> 00:00:02,000x", nullptr},
        {srt, false, "100:00:01,000 --> 100:00:02,000", nullptr},
        {srt, false, "00:00:01,000 => 00:00:02,000", nullptr},
        {srt, false, "Meet me at 10:30 -> then", nullptr},
        {srt, false, "12", nullptr},
        // Frame lines of any width, and a declared frame rate.
        {srt, false, "{359}{412}Text", "{000359}{000412}Text"},
        {srt, false, "{0}{999999}{y:i}x", "{000000}{999999}{y:i}x"},
        {srt, false, "{-164}{-68}x", "{000000}{000000}x"},
        {srt, true, "{1}{1}23.976", "(dropped)"},
        {srt, true, "{0}{0}25", "(dropped)"},
        {srt, false, "{1}{1}23.976", "{000001}{000001}23.976"},
        {srt, true, "{1}{1}23.976 fps", "{000001}{000001}23.976 fps"},
        {srt, true, "{2}{2}25", "{000002}{000002}25"},
        {srt, false, "{1234567}{1}x", nullptr},
        {srt, false, "{12}456}{000250}Hi", nullptr},
        {srt, false, "{-}{1}x", nullptr},
        // SSA events of other layouts.
        {ssa, false, "Dialogue: Marked=0,0:00:01.00,0:00:02.50,,1,0000,0000,0000,,Hi", nullptr},
        {ssa, false, "Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Hi",
         "Dialogue: Marked=0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Hi"},
        {ssa, false, "Dialogue: Marked=0,00:01:39.00,00:01:41.00,*Default,1,0000,0000,0000,,Hi",
         "Dialogue: Marked=0,0:01:39.00,0:01:41.00,*Default,1,0000,0000,0000,,Hi"},
        {ssa, false, "Dialogue:10,-0:00:06.84,0:00:02.50,S", "Dialogue: Marked=0,0:00:00.00,0:00:02.50,S"},
        {ssa, false, "Dialogue: 0,10:00:01.00,10:00:02.00,Default,,0,0,0,,Hi", nullptr},
        {ssa, false, "Dialogue: 0,0:00:03.766,0:00:04.00,Default,,0,0,0,,Hi", nullptr},
        {ssa, false, "Dialogue: 0,0:00:01.00,0:00:02.00", nullptr},
        {ssa, false, "Comment: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,Hi", nullptr},
        {srt, false, "Dialogue: 0,0:00:01.00,0:00:02.50,Default,,0,0,0,,Hi", nullptr},
        {ssa, true, "{1}{2}x", nullptr},
    };
    for (const auto& c : cases)
        EXPECT_EQ(stored(c.kind, c.line, c.first), c.expected ? c.expected : c.line) << c.line;

    InputLayouts layouts{FileKindSrt};
    nextLineLayout(layouts, "{1}{1}23.976");
    EXPECT_TRUE(layouts.declaresFrameRate);
    EXPECT_EQ(layouts.declaredFrameRate, 23.976);
}

TEST(TextEncodings, Utf16BothWays) {
    EXPECT_EQ(encodingOf("\xEF\xBB\xBFx"), TextEncoding::utf8Bom);
    EXPECT_EQ(encodingOf("\xFE\xFFx"), TextEncoding::utf16be);
    EXPECT_EQ(encodingOf("\xEF\xBBx"), TextEncoding::plain);
    // "aé€😀" in UTF-8 and little- and big-endian UTF-16.
    const std::string utf8 = "a\xC3\xA9\xE2\x82\xAC\xF0\x9F\x98\x80";
    const std::string utf16[] = {std::string("a\0\xE9\0\xAC\x20\x3D\xD8\x00\xDE", 10),
                                 std::string("\0a\0\xE9\x20\xAC\xD8\x3D\xDE\x00", 10)};
    for (const bool bigEndian : {false, true}) {
        const std::string& units = utf16[bigEndian];
        std::string decoded(utf8CapacityFor(units.size()), '\0');
        decoded.resize(decodeUtf16(reinterpret_cast<const unsigned char*>(units.data()), units.size(),
                                   bigEndian, decoded.data()));
        EXPECT_EQ(decoded, utf8) << bigEndian;
        // Encoded in two pieces cut inside the last character.
        std::string encoded(2 * utf8.size(), '\0');
        std::size_t pending = 0;
        std::size_t n = encodeUtf16(utf8.data(), 8, bigEndian, encoded.data(), pending);
        EXPECT_EQ(pending, 2u);
        n += encodeUtf16(utf8.data() + 8 - pending, 2 + pending, bigEndian, encoded.data() + n, pending);
        encoded.resize(n);
        EXPECT_EQ(encoded, units) << bigEndian;
    }
    // Unpaired surrogates, an odd last byte and bytes that are not UTF-8 become U+FFFD.
    const std::string broken("\x00\xD8x\0\x00\xDC\x41", 7);
    std::string decoded(utf8CapacityFor(broken.size()), '\0');
    decoded.resize(decodeUtf16(reinterpret_cast<const unsigned char*>(broken.data()), broken.size(),
                               false, decoded.data()));
    EXPECT_EQ(decoded, "\xEF\xBF\xBDx\xEF\xBF\xBD\xEF\xBF\xBD");
    char units[8];
    std::size_t pending = 0;
    EXPECT_EQ(std::string(units, encodeUtf16("\x80z", 2, false, units, pending)), std::string("\xFD\xFFz\0", 4));
}

}  // namespace
