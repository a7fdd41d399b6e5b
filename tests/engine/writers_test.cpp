// The three writers, through whole runs on files: worked examples, the kind
// lock, the first-sub shift, and the entry scans at the edges of the store.
#include <gtest/gtest.h>

#include <algorithm>
#include <string>
#include <vector>

#include "test_support.h"

namespace {

const std::vector<std::string> kTwoEntries = {
    "1", "00:00:01,000 --> 00:00:02,500", "Hello", "World", "",
    "2", "00:00:03,000 --> 00:00:04,000", "Bye", ""};

struct Case {
    const char* name;
    std::vector<std::string> input;  // lines, each ended by a line feed
    const char* outExtension;        // the input is .srt unless the output is .srt and input .ssa
    double frameRate;
    bool join;
    int shift;  // -1: off; otherwise firstSubTime in milliseconds
    std::vector<std::string> expected;  // output lines after the SSA header, if any
    int subs;
};

std::string joinLf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\n";
    return text;
}

// The output's lines, each of which must end with CR LF; an SSA script's 19
// header lines (checked by the golden files) are left out.
std::vector<std::string> outputLines(const std::string& bytes, bool ssa) {
    std::vector<std::string> lines;
    for (std::size_t from = 0; from < bytes.size();) {
        const std::size_t end = bytes.find("\r\n", from);
        EXPECT_NE(end, std::string::npos) << "a last line without CR LF";
        if (end == std::string::npos) break;
        lines.push_back(bytes.substr(from, end - from));
        from = end + 2;
    }
    if (ssa) {
        EXPECT_GE(lines.size(), 19u);
        EXPECT_EQ(lines.size() >= 19 ? lines[17] : "", "[Events]");
        lines.erase(lines.begin(), lines.begin() + std::min<std::size_t>(19, lines.size()));
    }
    return lines;
}

void runCase(const Case& c, const char* inExtension) {
    ConversionSettings settings;
    const std::string in = scratchPath(std::string("writer_in.") + inExtension);
    const std::string out = scratchPath(std::string("writer_out.") + c.outExtension);
    writeFile(in, joinLf(c.input));
    setPath(settings.inputPath, in);
    setPath(settings.outputPath, out);
    settings.frameRate = c.frameRate;
    settings.joinWithNewline = c.join;
    settings.shiftFirstSub = c.shift >= 0;
    if (c.shift >= 0) {
        settings.firstSubSeconds = static_cast<unsigned>(c.shift / 1000);
        settings.firstSubMillis = static_cast<unsigned>(c.shift % 1000);
    }
    RecordingSink sink;
    const RunOutcome outcome = runConversion(settings, sink.sink());
    ASSERT_TRUE(outcome.completed) << c.name;
    EXPECT_EQ(outcome.subs, c.subs) << c.name;
    EXPECT_EQ(outputLines(readFile(out), std::string(c.outExtension) == "ssa"), c.expected) << c.name;
}

TEST(SrtToSsa, Entries) {
    const Case cases[] = {
        {"joined worked example", kTwoEntries, "ssa", 25, true, -1,
         {"Dialogue: Marked=0,0:00:01.00,0:00:02.50,*Default,1,0000,0000,0000,,Hello\\nWorld",
          "Dialogue: Marked=0,0:00:03.00,0:00:04.00,*Default,2,0000,0000,0000,,Bye"}, 3},
        {"split worked example", kTwoEntries, "ssa", 25, false, -1,
         {"Dialogue: Marked=0,0:00:01.00,0:00:02.50,*Default,1,0000,0000,0000,,Hello",
          "Dialogue: Marked=0,0:00:01.00,0:00:02.50,*Default,1,0000,0000,0000,,World",
          "Dialogue: Marked=0,0:00:01.00,0:00:02.50,*Default,1,0000,0000,0000,,",
          "Dialogue: Marked=0,0:00:03.00,0:00:04.00,*Default,2,0000,0000,0000,,Bye"}, 4},
        {"frame line", {"{000025}{000050}Hi|there"}, "ssa", 25, true, -1,
         {"Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,Hi\\nthere"}, 1},
        {"frame halves round up", {"{000003}{000015}x", "{000010}{000020}a|b|c"}, "ssa", 24, true, -1,
         {"Dialogue: Marked=0,0:00:00.13,0:00:00.63,*Default,1,0000,0000,0000,,x",
          "Dialogue: Marked=0,0:00:00.42,0:00:00.83,*Default,2,0000,0000,0000,,a\\nb\\nc"}, 2},
        {"shift to 10 s", kTwoEntries, "ssa", 25, true, 10000,
         {"Dialogue: Marked=0,0:00:10.00,0:00:11.50,*Default,1,0000,0000,0000,,Hello\\nWorld",
          "Dialogue: Marked=0,0:00:12.00,0:00:13.00,*Default,2,0000,0000,0000,,Bye"}, 3},
        {"third digit dropped when copied", {"7", "00:00:01,999 --> 00:00:02,005", "x"}, "ssa", 25,
         true, -1, {"Dialogue: Marked=0,0:00:01.99,0:00:02.00,*Default,7,0000,0000,0000,,x"}, 1},
        {"rounded when shifted by 0", {"7", "00:00:01,999 --> 00:00:02,005", "x"}, "ssa", 25, true,
         1999, {"Dialogue: Marked=0,0:00:02.00,0:00:02.00,*Default,7,0000,0000,0000,,x"}, 1},
        {"frame lock ignores later timing lines",
         {"{000025}{000050}a", "1", "00:00:01,000 --> 00:00:02,000", "b", "{000050}{000075}c"},
         "ssa", 25, true, -1,
         {"Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,a",
          "Dialogue: Marked=0,0:00:02.00,0:00:03.00,*Default,2,0000,0000,0000,,c"}, 2},
        {"SRT lock ignores later frame lines",
         {"1", "00:00:01,000 --> 00:00:02,000", "a", "", "{000050}{000075}c"}, "ssa", 25, true, -1,
         {"Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,a"}, 1},
        {"the last line is text too", {"1", "00:00:01,000 --> 00:00:02,000", "a", "b"}, "ssa", 25,
         true, -1, {"Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,a\\nb"}, 2},
        {"the last line is text too, split", {"1", "00:00:01,000 --> 00:00:02,000", "a", "b"},
         "ssa", 25, false, -1,
         {"Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,a",
          "Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,b"}, 2},
        {"a missing blank line ends the entry",
         {"1", "00:00:01,000 --> 00:00:02,000", "a", "2", "00:00:03,000 --> 00:00:04,000", "b"},
         "ssa", 25, true, -1,
         {"Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,a",
          "Dialogue: Marked=0,0:00:03.00,0:00:04.00,*Default,2,0000,0000,0000,,b"}, 2},
        {"timing line first and last",
         {"00:00:01,000 --> 00:00:02,000", "a", "", "9", "00:00:03,000 --> 00:00:04,000"}, "ssa",
         25, true, -1,
         {"Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,,0000,0000,0000,,a",
          "Dialogue: Marked=0,0:00:03.00,0:00:04.00,*Default,9,0000,0000,0000,,"}, 2},
        {"an empty line inside the text",
         {"1", "00:00:01,000 --> 00:00:02,000", "a", "", "b", "", "", "c", "", "2",
          "00:00:03,000 --> 00:00:04,000", "d", "", ""},
         "ssa", 25, true, -1,
         {"Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,a\\n\\nb\\n\\n\\nc",
          "Dialogue: Marked=0,0:00:03.00,0:00:04.00,*Default,2,0000,0000,0000,,d"}, 7},
        {"timing lines of other tools",
         {"1", "0:00:01.5 -> 0:00:02", "a", "", "2", " 00:03,25 - > 00:04,123  X1:10", "b"},
         "ssa", 25, true, -1,
         {"Dialogue: Marked=0,0:00:01.50,0:00:02.00,*Default,1,0000,0000,0000,,a",
          "Dialogue: Marked=0,0:00:03.25,0:00:04.12,*Default,2,0000,0000,0000,,b"}, 2},
        {"short timing line ends the prefix", {"1", "00:00:01,000 --> 00:00:02,", "a"}, "ssa", 25,
         true, -1, {"Dialogue: Marked=0,0:00:01.00,0:00:02.1,0000,0000,0000,,a"}, 1},
        {"empty input", {}, "ssa", 25, true, -1, {}, 0},
    };
    for (const Case& c : cases) runCase(c, "srt");
}

TEST(SsaToSrt, Entries) {
    const std::vector<std::string> head = {"[Script Info]", "", "[Events]", "Format: x"};
    auto script = [&](std::vector<std::string> events) {
        std::vector<std::string> lines = head;
        lines.insert(lines.end(), events.begin(), events.end());
        return lines;
    };
    const Case cases[] = {
        {"worked example",
         script({"Dialogue: Marked=0,0:00:01.00,0:00:02.50,*Default,1,0000,0000,0000,,Hello\\nWorld",
                 "Dialogue: Marked=0,0:00:03.00,0:00:04.00,*Default,2,0000,0000,0000,,Bye"}),
         "srt", 25, true, -1,
         {"1", "00:00:01,000 --> 00:00:02,500", "Hello", "World", "", "2",
          "00:00:03,000 --> 00:00:04,000", "Bye", ""}, 2},
        {"empty names are numbered by place, \\N breaks lines",
         script({"Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,,0000,0000,0000,,a\\Nb",
                 "Dialogue: Marked=0,0:00:03.00,0:00:04.00,*Default,,0000,0000,0000,,c,d"}),
         "srt", 25, true, -1,
         {"1", "00:00:01,000 --> 00:00:02,000", "a", "b", "", "2", "00:00:03,000 --> 00:00:04,000",
          "c,d", ""}, 2},
        {"shift by nothing prints the same times",
         script({"Dialogue: Marked=0,0:00:01.50,0:00:02.50,*Default,1,0000,0000,0000,,x"}), "srt",
         25, true, 1500, {"1", "00:00:01,500 --> 00:00:02,500", "x", ""}, 1},
        {"shift to 0",
         script({"Dialogue: Marked=0,0:00:05.00,0:00:07.25,*Default,1,0000,0000,0000,,x",
                 "Dialogue: Marked=0,0:00:08.00,0:00:09.00,*Default,2,0000,0000,0000,,y"}),
         "srt", 25, true, 0,
         {"1", "00:00:00,000 --> 00:00:02,250", "x", "", "2", "00:00:03,000 --> 00:00:04,000", "y",
          ""}, 2},
        {"an empty style keeps the name",
         script({"Dialogue: Marked=0,0:00:01.00,0:00:02.00,,7,0012,0000,0000,,x",
                 "Dialogue: Marked=0,0:00:01.00,0:00:02.00,,7,0012,0000,0000,,x"}),
         "srt", 25, true, -1,
         {"1", "00:00:01,000 --> 00:00:02,000", "x", "", "7", "00:00:01,000 --> 00:00:02,000",
          "x", ""}, 2},
        {"only Dialogue lines are events",
         {"[Events]", "Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,4,0000,0000,0000,,a",
          "Comment: Marked=0,0:00:03.00,0:00:04.00,*Default,5,0000,0000,0000,,b", "",
          "Dialogue: Marked=0,0:00:05.00,0:00:06.00,*Default,6,0000,0000,0000,,c", "[Fonts]",
          "fontname: x.ttf", ""},
         "srt", 25, true, -1,
         {"1", "00:00:01,000 --> 00:00:02,000", "a", "", "6", "00:00:05,000 --> 00:00:06,000", "c",
          ""}, 2},
        {"v4+ events and two-digit hours",
         script({"Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,{\\i1}a{\\i0}",
                 "Dialogue: Marked=0,00:01:39.00,01:02:03.45,Default,Bob,0,0,0,,b",
                 "Dialogue: 0,-0:00:06.84,0:00:00.95,Default,,0,0,0,,c"}),
         "srt", 25, true, -1,
         {"1", "00:00:01,000 --> 00:00:02,000", "{\\i1}a{\\i0}", "", "2",
          "00:01:39,000 --> 01:02:03,450", "b", "", "3", "00:00:00,000 --> 00:00:00,950", "c", ""},
         3},
        {"names and texts wherever the commas fall",
         script({"Dialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,x",
                 "Dialogue: Marked=0,0:00:03.00,0:00:04.00",
                 "Dialogue: Marked=0,0:00:05.00,0:00:06.00,*Default",
                 "Dialogue: Marked=0,0:00:07.00,0:00:08.00,*Default,Nameless to the end",
                 "Dialogue: Marked=0,0:00:09.00,0:00:10.00,*Default,N,0000,0000,0000",
                 "Dialogue: Marked=0,0:00:11.00,0:00:12.00,*Default," + std::string(40, 'n') +
                     ",0000,0000,0000,,a,b," + std::string(100, 'x') + ",c"}),
         "srt", 25, true, -1,
         {"1", "00:00:01,000 --> 00:00:02,000", "x", "",
          "2", "00:00:03,000 --> 00:00:04,000", "", "",
          "3", "00:00:05,000 --> 00:00:06,000", "", "",
          "4", "00:00:07,000 --> 00:00:08,000", "", "",
          "5", "00:00:09,000 --> 00:00:10,000", "", "",
          "6", "00:00:11,000 --> 00:00:12,000", "a,b," + std::string(100, 'x') + ",c",
          ""}, 6},
        {"lowercase [events] is not found", {"[events]", "Format: x", "Dialogue: Marked=0,0:00:01.00"},
         "srt", 25, true, -1, {}, 0},
    };
    for (const Case& c : cases) runCase(c, "ssa");
}

TEST(SrtSwap, Entries) {
    const Case cases[] = {
        {"worked example", kTwoEntries, "srt", 25, true, -1,
         {"{000025}{000063}Hello|World", "{000075}{000100}Bye"}, 3},
        {"fed back", {"{000025}{000063}Hello|World"}, "srt", 25, true, -1,
         {"1", "00:00:01,000 --> 00:00:02,520", "Hello", "World", ""}, 1},
        {"third digit never counts, 29.97 fps",
         {"1", "00:00:01,999 --> 00:01:00,000", "x"}, "srt", 29.97, true, -1,
         {"{000060}{001798}x"}, 1},
        {"last line joined, missing blank line",
         {"1", "00:00:00,020 --> 00:00:00,010", "a", "b", "2", "00:00:03,000 --> 00:00:04,000", "c", "d"},
         "srt", 25, true, -1, {"{000001}{000000}a|b", "{000075}{000100}c|d"}, 4},
        {"negative times become frame 0", kTwoEntries, "srt", 25, true, 0,
         {"{000000}{000038}Hello|World", "{000050}{000075}Bye"}, 3},
        {"shifted frame lines", {"{000050}{000075}a", "{000100}{000125}b"}, "srt", 25, true, 500,
         {"1", "00:00:00,500 --> 00:00:01,500", "a", "", "2", "00:00:02,500 --> 00:00:03,500", "b", ""}, 2},
        {"timing line last", {"5", "00:00:01,000 --> 00:00:02,000"}, "srt", 25, true, -1,
         {"{000025}{000050}"}, 1},
        {"an empty line inside the text",
         {"1", "00:00:01,000 --> 00:00:02,000", "a", "", "b", "", "2", "00:00:03,000 --> 00:00:04,000",
          "c"},
         "srt", 25, true, -1, {"{000025}{000050}a||b", "{000075}{000100}c"}, 4},
        {"frame lines of any width, a declared rate",
         {"{1}{1}23.976", "{25}{50}a|b", "{1000}{100000}c"}, "srt", 25, true, -1,
         {"1", "00:00:01,000 --> 00:00:02,000", "a", "b", "", "2", "00:00:40,000 --> 01:06:40,000",
          "c", ""}, 2},
    };
    for (const Case& c : cases) runCase(c, "srt");
}

}  // namespace
