// Whole runs: file kinds and the proposed output name, the dispatch, the
// report, and the runs that fail before anything is written.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "test_support.h"

namespace {

// UTF-16 with its mark, little-endian, from single bytes: the ASCII letters,
// and the bytes D8 and DC as the unpaired surrogates D800 and DC00.
std::string utf16le(const std::string& text) {
    std::string units = "\xFF\xFE";
    for (const char c : text) {
        if (c == '\xD8' || c == '\xDC') units += std::string{'\0', c};
        else units += std::string{c, '\0'};
    }
    return units;
}

TEST(FileKinds, KindAndProposedOutput) {
    const struct {
        const char* path;
        FileKind kind;
        const char* proposal;  // null: no proposal
    } cases[] = {
        {"a.srt", FileKindSrt, "a.ssa"}, {".srt", FileKindNone, nullptr},
        {"srt", FileKindNone, nullptr}, {"MOVIE.SRT", FileKindSrt, "MOVIE.ssa"},
        {"movie_srt", FileKindSrt, nullptr}, {"C:\\subs\\x.SsA", FileKindSsa, "C:\\subs\\x.srt"},
        {"x.ass", FileKindAss, "x.srt"}, {"film.ASS", FileKindAss, "film.srt"}, {".ass", FileKindNone, nullptr},
        {"movie.txt2", FileKindNone, nullptr}, {"", FileKindNone, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileKindOf(c.path), c.kind) << c.path;
        EXPECT_EQ(deriveOutputName(c.path).value_or("<none>"), c.proposal ? c.proposal : "<none>")
            << c.path;
    }
}

TEST(RunReport, LogAndMessageLines) {
    RunReport done;
    done.pairText = "SRT => SSA ...";
    done.subs = 42;
    done.elapsedMs = 500;
    RunReport fast = done;
    fast.elapsedMs = 0;
    fast.notConverted.add(7, NotConverted::barInText);
    fast.notConverted.add(9, NotConverted::barInText);
    RunReport unwritten = done;
    unwritten.failure = RunFailure::cannotWrite;
    unwritten.path = "out.ssa";
    unwritten.reason = "Permission denied";
    RunReport device = unwritten;
    device.failure = RunFailure::outputNotRegular;
    RunReport changed;
    changed.failure = RunFailure::inputChanged;
    changed.path = "in.srt";
    RunReport huge = changed;
    huge.failure = RunFailure::inputOverLimit;
    RunReport beyond = done;
    beyond.failure = RunFailure::timesTooLarge;
    beyond.path = "in.srt";
    beyond.reason = "999:59:59.99";
    beyond.subtitle = 2;
    beyond.subtitleLine = 6;
    RunReport itself = fast;
    itself.failure = RunFailure::linesNotConverted;
    itself.path = "in.srt";
    itself.ontoItself = true;
    const struct {
        const RunReport& report;
        const char* log;
        const char* message;
    } cases[] = {
        {done, "SRT => SSA ... done.||time : 0.5 sec|subs : 42|speed: 84 subs/s|", ""},
        {fast, "SRT => SSA ... done.||time : 0 sec|subs : 42|skipped: 2 lines (first: line 7)|"
               "speed: FAST !|", ""},
        {unwritten, "SRT => SSA ... failed.||",
         "Cannot write the output file:|out.ssa|Permission denied|"},
        {device, "SRT => SSA ... failed.||", "Cannot write the output file:|out.ssa|It is not a regular file.|"},
        {changed, "", "The input file changed while it was read:|in.srt|"},
        {huge, "", "The input file is too large:|in.srt|A run reads files of up to 4294967295 bytes.|"},
        {beyond, "", "The output cannot hold the times of the input file:|in.srt|"
                     "subtitle 2 (line 6) would pass 999:59:59.99; nothing was written.|"},
        {itself, "", "Lines not converted in the input file:|in.srt|2 lines (first: line 7); nothing was written, "
                     "as the output is the input file itself.|"},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(joinLines(logLines(c.report), "|"), c.log);
        EXPECT_EQ(joinLines(messageLines(c.report), "|"), c.message);
    }
}

// Runs that fail report their failure, log nothing and leave the output as
// it was; a frame rate is refused only where the run divides by it.
TEST(Runs, FailedBeforeWriting) {
    const std::string frames = scratchPath("refuse_frames.srt");
    const std::string timings = scratchPath("refuse_timings.srt");
    const std::string text = scratchPath("refuse_text.srt");
    writeFile(frames, "{000025}{000050}x\n");
    writeFile(timings, "1\n00:00:01,000 --> 00:00:02,000\nx\n");
    writeFile(text, "no subtitle here\n");
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const struct {
        const std::string& in;
        const char* out;
        double rate;
        RunFailure failure;
    } cases[] = {
        {timings, "a.txt", 25, RunFailure::fileKinds},
        {frames, "b.ass", 25, RunFailure::fileKinds},
        {frames, "c.ssa", 0, RunFailure::frameRate},
        {frames, "d.ssa", nan, RunFailure::frameRate},
        {frames, "e.srt", inf, RunFailure::frameRate},
        {timings, "f.srt", -1, RunFailure::frameRate},
        {text, "g.ssa", 25, RunFailure::noSubtitles},
        {timings, "h.ssa", nan, RunFailure::none},
        {frames, "i.ssa", 1e308, RunFailure::none},
    };
    for (const auto& c : cases) {
        ConversionSettings settings;
        settings.inputPath = c.in;
        settings.outputPath = scratchPath(std::string("refuse_") + c.out);
        writeFile(settings.outputPath, "earlier");
        settings.frameRate = c.rate;
        const RunReport report = runConversion(settings);
        EXPECT_EQ(report.failure, c.failure) << c.out;
        EXPECT_EQ(readFile(settings.outputPath) == "earlier", c.failure != RunFailure::none) << c.out;
        if (c.failure == RunFailure::none) continue;
        EXPECT_FALSE(messageLines(report).empty()) << c.out;
        EXPECT_TRUE(logLines(report).empty()) << c.out;
    }
}

// A run whose output would hold a time or frame that the program cannot read
// back fails, naming the first such subtitle; up to the limit it completes.
TEST(Runs, TimesBeyondWhatTheOutputHolds) {
    const std::string late = "1\n00:00:01,000 --> 00:00:02,000\nx\n\n2\n00:00:02,500 --> 00:00:03,000\ny\n";
    const std::string events = "[Events]\nDialogue: 0,0:00:05.00,0:00:07.00,S,,0,0,0,,a\n";
    const struct {
        std::string input;
        const char* in;
        const char* out;
        double rate;
        int firstSubHours;  // -1: no shift; else to H:59:58
        const char* message;  // the message's last line; empty: completed
    } cases[] = {
        {late, "a.srt", "a.ssa", 25, 999, "subtitle 2 (line 6) would pass 999:59:59.99; nothing was written."},
        {late, "b.srt", "b.ssa", 25, 998, ""},
        {"1\n999:59:59,999 --> 999:59:59,999\nx\n", "c.srt", "c.ssa", 25, -1, ""},
        {"1\n999:59:59,9996 --> 999:59:59,9996\nx\n", "d.srt", "d.ssa", 25, -1,
         "subtitle 1 (line 2) would pass 999:59:59.99; nothing was written."},
        {"1\n600:00:00,000 --> 600:00:01,000\nx\n", "e.srt", "e_frames.srt", 1000, -1,
         "subtitle 1 (line 2) would pass frame 999999999; nothing was written."},
        {"1\n600:00:00,000 --> 600:00:01,000\nx\n", "f.srt", "f_frames.srt", 25, -1, ""},
        {"{89999999}{89999999}x\n{899999999}{899999999}y\n", "g.srt", "g_timing.srt", 25, -1,
         "subtitle 2 (line 2) would pass 999:59:59,999; nothing was written."},
        {"{25}{50}x\n", "h.srt", "h.ssa", 1e-6, -1, "subtitle 1 (line 1) would pass 999:59:59.99; nothing was written."},
        {"[Events]\nDialogue: 0,0:00:01.00,999:99:00.00,S,,0,0,0,,x\n", "i.ssa", "i.srt", 25, -1,
         "subtitle 1 (line 2) would pass 999:59:59,999; nothing was written."},
        {events, "j.ssa", "j.srt", 25, 999, "subtitle 1 (line 2) would pass 999:59:59,999; nothing was written."},
    };
    for (const auto& c : cases) {
        ConversionSettings settings;
        settings.inputPath = scratchPath(std::string("beyond_") + c.in);
        settings.outputPath = scratchPath(std::string("beyond_") + c.out);
        writeFile(settings.inputPath, c.input);
        writeFile(settings.outputPath, "earlier");
        settings.frameRate = c.rate;
        settings.shiftFirstSub = c.firstSubHours >= 0;
        settings.firstSubHours = static_cast<std::uint32_t>(c.firstSubHours);
        settings.firstSubMinutes = 59;
        settings.firstSubSeconds = 58;
        const RunReport report = runConversion(settings);
        const std::vector<std::string> message = messageLines(report);
        EXPECT_EQ(message.empty() ? "" : message.back(), c.message) << c.in;
        EXPECT_EQ(readFile(settings.outputPath) == "earlier", *c.message != '\0') << c.in;
    }
}

// What a completed run tells its caller besides the log: subs, a declared
// frame rate, and the lines it did not convert (the first ten of them).
TEST(Runs, Outcome) {
    std::string twelve;
    for (int i = 0; i < 12; ++i) twelve += "text\n";
    const struct {
        std::string input;
        const char* out;
        int subs;
        double declaredRate;  // 0: none
        const char* notes;    // the count, then each kept line with its reason
    } cases[] = {
        {"1\n00:00:01,000 --> 00:00:02,000\nx\n", "outcome.ssa", 1, 0, "0"},
        {" \t\r\n\n", "outcome_blank.ssa", 0, 0, "0"},
        {"{1}{1}23.976\n{24}{48}x\n", "outcome_rate.srt", 1, 23.976, "0"},
        {"1\n00:00:01,000 --> 00:00:02,000\na|b\n", "outcome_bar.srt", 1, 0,
         "1 3:a '|' in the text becomes a line break in frame lines"},
        {"1\n00:00:01,000 --> 00:00:02,000\na\\nb\\N\n", "outcome_break.ssa", 1, 0,
         "2 3:a '\\n' in the text becomes a line break in SSA 3:a '\\N' in the text becomes a line break in SSA"},
        {"1\n00:00:01,000 --> 00:00:02,000\nx\n\x1A\nafter\n", "outcome_mark.ssa", 1, 0,
         "1 5:text after an end-of-file mark (0x1A)"},
        {"\x1A\r\n\r\n", "outcome_mark_alone.ssa", 0, 0, "0"},
        {utf16le("1\n00:00:01,000 --> 00:00:02,000\na\xD8\n\n2\n00:00:03;000 --> 00:00:04;000\nb\xDC\xDC\nc") + "!",
         "outcome_utf16.ssa", 1, 0,
         "6 3:a code unit that is no character, written as U+FFFD 6:a timing line that cannot be read "
         "7:text under a timing line that cannot be read 7:a code unit that is no character, written as U+FFFD "
         "8:text under a timing line that cannot be read "
         "8:a character cut short at the end of the file, written as U+FFFD"},
        {twelve + "1\n00:00:01,000 --> 00:00:02,000\nx\n", "outcome_twelve.ssa", 1, 0,
         "12 1:text before the first subtitle 2:text before the first subtitle 3:text before the first subtitle "
         "4:text before the first subtitle 5:text before the first subtitle 6:text before the first subtitle "
         "7:text before the first subtitle 8:text before the first subtitle 9:text before the first subtitle "
         "10:text before the first subtitle"},
    };
    for (const auto& c : cases) {
        ConversionSettings settings;
        settings.inputPath = scratchPath("outcome_in.srt");
        settings.outputPath = scratchPath(c.out);
        writeFile(settings.inputPath, c.input);
        const RunReport report = runConversion(settings);
        EXPECT_TRUE(report.completed()) << c.out;
        EXPECT_EQ(report.subs, c.subs) << c.out;
        EXPECT_EQ(report.declaresFrameRate, c.declaredRate != 0) << c.out;
        EXPECT_EQ(report.declaredFrameRate, c.declaredRate) << c.out;
        std::string notes = std::to_string(report.notConverted.count);
        for (std::int32_t n = 0; n < report.notConverted.count && n < NotConvertedLines::kKept; ++n)
            notes += " " + std::to_string(report.notConverted.first[n].line) + ":" +
                     notConvertedText(report.notConverted.first[n].reason);
        EXPECT_EQ(notes, c.notes) << c.out;
    }
}

}  // namespace
