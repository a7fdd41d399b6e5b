// SSA and ASS events: fields found by the Format line, values without their
// blanks, sections and keywords in any case, and the lines that are no event.
#include <gtest/gtest.h>

#include <string>

#include "ssa_events.h"

namespace {

// "start-end:text" for each event, then each noted line as "LINE:REASON".
std::string events(const std::string& script) {
    LineStore store;
    EXPECT_FALSE(loadLinesFromMemory(store, script.data(), script.size()));
    NotConvertedLines notes;
    EventScan scan = startEventScan(store, &notes);
    std::string text;
    for (SsaEvent e; nextEvent(scan, e);)
        text += std::to_string(e.times.start) + "-" + std::to_string(e.times.end) + ":" + std::string(e.text) + " ";
    for (std::int32_t n = 0; n < notes.count; ++n)
        text += std::to_string(notes.first[n].line) + ":" + notConvertedText(notes.first[n].reason) + " ";
    return text;
}

TEST(SsaEvents, FieldsByTheFormatLine) {
    const std::string v4 = "Format: Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text\n";
    const struct {
        const char* name;
        std::string events;  // after "[Events]"
        const char* expected;
    } cases[] = {
        {"v4", v4 + "Dialogue: Marked=0,0:00:01.00,0:00:02.50,*Default,1,0000,0000,0000,,Hi, you",
         "1000-2500:Hi, you "},
        {"without a Format line, the v4 order", "Dialogue: 0,0:00:01.00,0:00:02.00,Default,,0,0,0,,Hi",
         "1000-2000:Hi "},
        {"Style before Start", "Format: Layer, Style, Start, End, Name, MarginL, MarginR, MarginV, Effect, Text\n"
                               "Dialogue: 0,Default,0:00:01.00,0:00:02.00,,0,0,0,,Hi",
         "1000-2000:Hi "},
        {"a short Format line", "Format: Layer, Start, End, Style, Text\nDialogue: 0,0:00:01.00,0:00:02.00,Default,a,b",
         "1000-2000:a,b "},
        {"names in any case, blanks around them", "format:   START ,end,  Text\ndialogue: 0:00:01.00,0:00:02.00,x",
         "1000-2000:x "},
        {"blanks around values, the text keeps its own", v4 + "Dialogue: 0, 0:00:05.00 , 0:00:06.00,Default,,0,0,0,, Hello ",
         "5000-6000: Hello  "},
        {"the text where the Format line puts it", "Format: Layer, Start, End, Text, Style\n"
                                                    "Dialogue: 0,0:00:01.00,0:00:02.00,Hello there,Default",
         "1000-2000:Hello there,Default "},
        {"a field named twice", "Format: Layer, Start, End, Start, Text\nDialogue: 0,0:00:01.00,0:00:02.00,0:00:03.00,a",
         "5:an event whose Format line names a field twice "},
        {"times after the text: the v4 order", "Format: Layer, Text, Start, End\n"
                                               "Dialogue: 0,0:00:01.00,0:00:02.00,S,,0,0,0,,a",
         "1000-2000:a "},
        {"hours of three digits, fractions of one to three", v4 + "Dialogue: 0,10:00:01.5,123:00:00.125,S,,0,0,0,,x",
         "36001500-442800125:x "},
        {"a colon before the fraction", v4 + "Dialogue: 0,0:00:04:56,0:00:05,S,,0,0,0,,x", "4560-5000:x "},
        {"a minus sign is 0", v4 + "Dialogue: 0,-0:00:06.84,0:00:00.95,S,,0,0,0,,x", "0-950:x "},
        {"fewer fields than it takes to reach the text", v4 + "Dialogue: 0,0:00:01.00,0:00:02.00,S\n"
                                                             "Dialogue: 0,0:00:01.00,0:00:02.00,S,,0,0,0,,",
         "1000-2000: 5:an event that ends before its Text field "},
        {"a Format line without times is no Format line", "Format: x\nDialogue: 0,0:00:01.00,0:00:02.00,S,,0,0,0,,a",
         "1000-2000:a "},
        {"times that cannot be read", v4 + "Dialogue: 0,Invalid,0:00:02.00,S,,0,0,0,,a\nDialogue: 0,0:00:01.00",
         "5:an event whose times cannot be read 6:an event whose times cannot be read "},
        {"comments and other events", v4 + "Comment: 0,0:00:01.00,0:00:02.00,S,,0,0,0,,c\n; note\n\n"
                                           "Sound: 0,0:00:01.00,0:00:02.00,S,,0,0,0,,s.wav\nNot understood line",
         "9:a line in [Events] that is no event "},
        {"later sections hold no events", v4 + "Dialogue: 0,0:00:01.00,0:00:02.00,S,,0,0,0,,a\n[Fonts]\n"
                                               "Dialogue: 0,0:00:03.00,0:00:04.00,S,,0,0,0,,b",
         "1000-2000:a "},
    };
    for (const auto& c : cases) EXPECT_EQ(events("[Script Info]\nDialogue: 0,0:00:09.00,0:00:09.50,x\n  [events]\n" + c.events), c.expected) << c.name;
}

}  // namespace
