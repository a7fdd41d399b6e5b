// Whole runs: file kinds and the proposed output name, the dispatch, the
// report, and the runs that fail before anything is written.
#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <string>

#include "test_support.h"

namespace {

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
