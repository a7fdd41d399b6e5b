// The entries of SRT files and the lines that belong to none: each input
// with its entries and the lines noted as not converted.
#include <gtest/gtest.h>

#include <string>

#include "entry_scan.h"

namespace {

// "[number] start-end: text/text" for entries of timing lines, the number
// "#N" where the entry is numbered by its position; "{start}{end}text" for
// frame lines; then each noted line as "LINE:REASON". A frame rate that the
// file declares is neither an entry nor noted.
std::string scanned(const std::string& bytes) {
    LineStore store;
    EXPECT_FALSE(loadLinesFromMemory(store, bytes.data(), bytes.size()));
    NotConvertedLines notes;
    EntryScan scan = startEntryScan(store, &notes);
    std::string text;
    for (SrtEntry e; nextEntry(scan, e);) {
        if (e.kind == LineKindFrame) {
            text += "{" + std::to_string(e.frames.start) + "}{" + std::to_string(e.frames.end) + "}" +
                    std::string(line(store, e.timingLine).substr(e.frames.textFrom)) + " ";
            continue;
        }
        text += "[" + (e.numberLine == kNoNumberLine ? "#" + std::to_string(e.position)
                                                      : std::string(lineOrEmpty(store, e.numberLine))) +
                "] " + std::to_string(e.times.start) + "-" + std::to_string(e.times.end) + ":";
        for (std::int32_t k = e.textFrom; k < e.textTo; ++k) text += (k > e.textFrom ? "/" : " ") + std::string(line(store, k));
        text += " ";
    }
    for (std::int32_t n = 0; n < notes.count && n < NotConvertedLines::kKept; ++n)
        text += std::to_string(notes.first[n].line) + ":" + notConvertedText(notes.first[n].reason) + " ";
    return text;
}

TEST(EntryScan, EntriesAndLinesNotConverted) {
    const std::string t1 = "00:00:01,000 --> 00:00:02,000\n", t2 = "00:00:03,000 --> 00:00:04,000\n";
    const struct {
        const char* name;
        std::string input;
        const char* expected;
    } cases[] = {
        {"numbered entries", "1\n" + t1 + "Hello\nWorld\n\n2\n" + t2 + "Bye\n\n",
         "[1] 1000-2000: Hello/World [2] 3000-4000: Bye "},
        {"a missing blank line ends the entry", "1\n" + t1 + "a\n2\n" + t2 + "b\n",
         "[1] 1000-2000: a [2] 3000-4000: b "},
        {"an empty line inside the text", "1\n" + t1 + "a\n\n\nb\n\n2\n" + t2 + "c\n",
         "[1] 1000-2000: a///b [2] 3000-4000: c "},
        {"text right above a timing line is text", "1\n" + t1 + "a\nHello, Bob\n" + t2 + "b\n",
         "[1] 1000-2000: a/Hello, Bob [#2] 3000-4000: b "},
        {"a timing line at the start has no number", t1 + "a\n", "[] 1000-2000: a "},
        {"a timing line is never text", "1\n" + t1 + t2 + "b\n", "[1] 1000-2000: [#2] 3000-4000: b "},
        {"an unreadable timing line and its text",
         "1\n" + t1 + "a\n\n2\n00:00:03;000 --> 00:00:04;000\nLost\nToo\n\n3\n" + t2 + "c\n",
         "[1] 1000-2000: a [3] 3000-4000: c 6:a timing line that cannot be read "
         "7:text under a timing line that cannot be read 8:text under a timing line that cannot be read "},
        {"timing lines with letters, minus signs or commas in their fields are never text",
         "1\n" + t1 + "a\n2\n00:00:0x,000 --> 00:00:04,000\nLost\n\n3\n45,055,50,999 --> 45:55:51:000\nToo\n"
         "00:-7:-27,-802 --> 00:00:09,000\n4\n" + t2 + "b\n",
         "[1] 1000-2000: a [4] 3000-4000: b 5:a timing line that cannot be read "
         "6:text under a timing line that cannot be read 9:a timing line that cannot be read "
         "10:text under a timing line that cannot be read 11:a timing line that cannot be read "},
        {"the line above a timing line after an empty line is its number slot",
         "1\n" + t1 + "a\n\ndix\n" + t2 + "b\n\n2.\n" + t1 + "c\n\n\xEF\xBB\xBF" "3\n" + t2 + "d\n",
         "[1] 1000-2000: a [#2] 3000-4000: b [2.] 1000-2000: c [3] 3000-4000: d "
         "5:an entry number that is not a number "},
        {"the number slot at the file's start", "Title\n" + t1 + "a\n",
         "[#1] 1000-2000: a 1:an entry number that is not a number "},
        {"half timing lines", "1\n" + t1 + "a\n\n2\n  --> 00:00:10,000\nb\n\n3\n00:00:12,000 -->\nc\n",
         "[1] 1000-2000: a 6:a timing line that cannot be read 7:text under a timing line that cannot be read "
         "10:a timing line that cannot be read 11:text under a timing line that cannot be read "},
        {"text before the first subtitle", "Title\n\n1\n" + t1 + "a\n",
         "[1] 1000-2000: a 1:text before the first subtitle "},
        {"frame lines in a file of timing lines", "1\n" + t1 + "a\n\n{25}{50}x\nmore\n\n2\n" + t2 + "b\n",
         "[1] 1000-2000: a [2] 3000-4000: b 5:a frame line in a file of timing lines 6:text outside a subtitle "},
        {"a frame line inside the text is text", "1\n" + t1 + "a\n{25}{50}x\n",
         "[1] 1000-2000: a/{25}{50}x "},
        {"frame lines", "{1}{1}23,976\n{0}{25}a|b\n\n{-5}{1026000}c\n",
         "{0}{25}a|b {0}{1026000}c "},
        {"frame lines that cannot be read", "{0000000025}{0000000050}x\n{25}{50}y\n{1231230}{111111111111111}\n",
         "{25}{50}y 1:a frame line that cannot be read 3:a frame line that cannot be read "},
        {"a frame line that cannot be read among timing lines", "1\n" + t1 + "a\n\n{1}{9999999999}x\n",
         "[1] 1000-2000: a 5:a frame line in a file of timing lines "},
        {"timing lines and text in a file of frame lines", "{0}{25}a\n1\n" + t1 + "x\n",
         "{0}{25}a 2:text outside a subtitle 3:a timing line in a file of frame lines 4:text outside a subtitle "},
    };
    for (const auto& c : cases) EXPECT_EQ(scanned(c.input), c.expected) << c.name;
}

}  // namespace
