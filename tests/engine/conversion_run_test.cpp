// Whole runs: file kinds and the proposed output name, the dispatch, the
// report, and the runs that are refused before anything is written.
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
        {"x.ass", FileKindNone, "x.ssa"}, {"movie.txt2", FileKindNone, nullptr},
        {"", FileKindNone, nullptr},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(fileKindOf(c.path), c.kind) << c.path;
        EXPECT_EQ(deriveOutputName(c.path).value_or("<none>"), c.proposal ? c.proposal : "<none>")
            << c.path;
    }
}

TEST(RunReport, StatisticsLines) {
    const struct {
        int subs;
        unsigned ms;
        const char* log;
    } cases[] = {
        {42, 500, " done.\r\n\r\ntime : 0.5 sec\r\nsubs : 42\r\nspeed: 84 subs/s\r\n"},
        {7, 0, " done.\r\n\r\ntime : 0 sec\r\nsubs : 7\r\nspeed: FAST !\r\n"},
        {5, 123456, " done.\r\n\r\ntime : 123.456 sec\r\nsubs : 5\r\nspeed: 0.0405003 subs/s\r\n"},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        reportRunStatistics(sink.sink(), c.subs, c.ms);
        EXPECT_EQ(sink.log, c.log);
    }
}

// Refused runs show one message, log nothing and create no output; a frame
// rate is refused only where the run divides by it.
TEST(Runs, RefusedBeforeWriting) {
    const std::string frames = scratchPath("refuse_frames.srt");
    const std::string timings = scratchPath("refuse_timings.srt");
    writeFile(frames, "{000025}{000050}x\n");
    writeFile(timings, "1\n00:00:01,000 --> 00:00:02,000\nx\n");
    const double nan = std::nan(""), inf = std::numeric_limits<double>::infinity();
    const std::string badExtensions = kExtensionErrorMessage;
    const struct {
        const std::string& in;
        const char* out;
        double rate;
        const char* message;  // how the message begins; null: the run completes
    } cases[] = {
        {timings, "a.txt", 25, badExtensions.c_str()},
        {frames, "b.ass", 25, badExtensions.c_str()},
        {frames, "c.ssa", 0, "Invalid frame rate: 0\r\nThe frame rate must be a number above 0."},
        {frames, "d.ssa", nan, "Invalid frame rate: "},
        {frames, "e.srt", inf, "Invalid frame rate: "},
        {timings, "f.srt", -1, "Invalid frame rate: -1\r\n"},
        {timings, "g.ssa", nan, nullptr},
        {frames, "h.ssa", 1e308, nullptr},
    };
    for (const auto& c : cases) {
        ConversionSettings settings;
        const std::string out = scratchPath(std::string("refuse_") + c.out);
        setPath(settings.inputPath, c.in);
        setPath(settings.outputPath, out);
        settings.frameRate = c.rate;
        settings.firstSubHours = 1, settings.firstSubMinutes = 2, settings.firstSubSeconds = 3;
        settings.firstSubMillis = 456;
        RecordingSink sink;
        const RunOutcome outcome = runConversion(settings, sink.sink());
        EXPECT_DOUBLE_EQ(settings.firstSubTime, 3723.456) << c.out;  // computed, refused or not
        EXPECT_EQ(outcome.completed, c.message == nullptr) << c.out;
        EXPECT_EQ(fileExists(out), c.message == nullptr) << c.out;
        if (!c.message) continue;
        ASSERT_EQ(sink.messages.size(), 1u) << c.out;
        EXPECT_EQ(sink.messages[0].rfind(c.message, 0), 0u) << sink.messages[0];
        EXPECT_EQ(sink.log, "") << c.out;
    }
}

// What a completed run tells its caller besides the log.
TEST(Runs, Outcome) {
    const struct {
        const char* input;
        const char* out;
        int subs;
        bool textWithoutSubs;
        double declaredRate;  // 0: none
    } cases[] = {
        {"1\n00:00:01,000 --> 00:00:02,000\nx\n", "outcome.ssa", 1, false, 0},
        {"no subtitle here\n", "outcome_text.ssa", 0, true, 0},
        {" \t\r\n\n", "outcome_blank.ssa", 0, false, 0},
        {"{1}{1}23.976\n{24}{48}x\n", "outcome_rate.srt", 1, false, 23.976},
    };
    for (const auto& c : cases) {
        ConversionSettings settings;
        setPath(settings.inputPath, scratchPath("outcome_in.srt"));
        setPath(settings.outputPath, scratchPath(c.out));
        writeFile(settings.inputPath.data(), c.input);
        RecordingSink sink;
        const RunOutcome outcome = runConversion(settings, sink.sink());
        EXPECT_TRUE(outcome.completed) << c.out;
        EXPECT_EQ(outcome.subs, c.subs) << c.out;
        EXPECT_EQ(outcome.textWithoutSubs, c.textWithoutSubs) << c.out;
        EXPECT_EQ(outcome.declaresFrameRate, c.declaredRate != 0) << c.out;
        EXPECT_EQ(outcome.declaredFrameRate, c.declaredRate) << c.out;
    }
}

}  // namespace
