// Whole runs: file kinds, the dispatch, the report, and what a failed run leaves.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstring>

#include <cmath>
#include <filesystem>
#include <limits>
#include <string>

#include "test_support.h"

namespace {

namespace fs = std::filesystem;

TEST(FileKinds, FromTheLastThreeCharacters) {
    const struct {
        const char* path;
        FileKind kind;
    } cases[] = {
        {"a.srt", FileKindSrt}, {".srt", FileKindNone}, {"srt", FileKindNone},
        {"MOVIE.SRT", FileKindSrt}, {"movie.Srt", FileKindSrt}, {"movie_srt", FileKindSrt},
        {"x.ssa", FileKindSsa}, {"x.SsA", FileKindSsa}, {"x.ass", FileKindNone},
        {"movie.txt", FileKindNone}, {"", FileKindNone},
    };
    for (const auto& c : cases) EXPECT_EQ(fileKindOf(c.path), c.kind) << c.path;
}

TEST(FileKinds, ProposedOutputName) {
    const struct {
        const char* path;
        const char* proposal;  // null: no proposal
    } cases[] = {
        {"C:\\subs\\a.srt", "C:\\subs\\a.ssa"}, {"x.SSA", "x.srt"}, {"movie.txt2", nullptr},
        {"C:\\subs\\b.ssa", "C:\\subs\\b.srt"}, {"movie.txt", "movie.ssa"}, {".srt", nullptr},
        {"a.srt", "a.ssa"}, {"", nullptr}, {"dir.x/name", nullptr},
    };
    for (const auto& c : cases) {
        const auto proposal = deriveOutputName(c.path);
        if (c.proposal)
            EXPECT_EQ(proposal.value_or("<none>"), c.proposal) << c.path;
        else
            EXPECT_FALSE(proposal.has_value()) << c.path;
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
        {1000, 3, " done.\r\n\r\ntime : 0.003 sec\r\nsubs : 1000\r\nspeed: 333333 subs/s\r\n"},
        {5, 123456, " done.\r\n\r\ntime : 123.456 sec\r\nsubs : 5\r\nspeed: 0.0405003 subs/s\r\n"},
    };
    for (const auto& c : cases) {
        RecordingSink sink;
        reportRunStatistics(sink.sink(), c.subs, c.ms);
        EXPECT_EQ(sink.log, c.log);
    }
}

// A run between two scratch files; returns what the sink received.
struct TestRun {
    ConversionSettings settings;
    RecordingSink sink;
    RunOutcome outcome{};

    TestRun(const std::string& in, const std::string& out) {
        setPath(settings.inputPath, in);
        setPath(settings.outputPath, out);
    }
    TestRun& go() {
        outcome = runConversion(settings, sink.sink());
        return *this;
    }
};

bool noTemporaryFilesIn(const std::string& folder) {
    for (const auto& entry : fs::directory_iterator(folder))
        if (entry.path().string().find(".marliva-") != std::string::npos) return false;
    return true;
}

TEST(Runs, RefusedPairsTouchNothing) {
    const std::string in = scratchPath("refused.srt");
    writeFile(in, "1\n00:00:01,000 --> 00:00:02,000\nx\n");
    for (const char* out : {"refused_out.txt", "refused_out.ass", "refused.ssa.bak"}) {
        TestRun run(in, scratchPath(out));
        run.settings.firstSubHours = 1;
        run.settings.firstSubMinutes = 2;
        run.settings.firstSubSeconds = 3;
        run.settings.firstSubMillis = 456;
        run.go();
        EXPECT_FALSE(run.outcome.completed);
        ASSERT_EQ(run.sink.messages.size(), 1u);
        EXPECT_EQ(run.sink.messages[0],
                  "Error with file extensions:\r\nonly srt=>ssa, srt=>srt and ssa=>srt supported.");
        EXPECT_EQ(run.sink.log, "");
        EXPECT_FALSE(fileExists(scratchPath(out)));
        EXPECT_DOUBLE_EQ(run.settings.firstSubTime, 3723.456);
    }
    const std::string ssa = scratchPath("refused_in.ssa");
    writeFile(ssa, "x\n");
    TestRun ssaToSsa(ssa, scratchPath("refused_out.ssa"));
    EXPECT_FALSE(ssaToSsa.go().outcome.completed);
    EXPECT_FALSE(fileExists(scratchPath("refused_out.ssa")));
}

TEST(Runs, LogOfACompletedRun) {
    const std::string in = scratchPath("log.srt");
    writeFile(in, "1\n00:00:01,000 --> 00:00:02,000\nx\n");
    TestRun run(in, scratchPath("log.ssa"));
    run.go();
    EXPECT_TRUE(run.outcome.completed);
    EXPECT_TRUE(run.sink.messages.empty());
    EXPECT_EQ(run.sink.log.rfind("SRT => SSA ... done.\r\n\r\ntime : ", 0), 0u) << run.sink.log;
    EXPECT_NE(run.sink.log.find("\r\nsubs : 1\r\nspeed: "), std::string::npos) << run.sink.log;
}

TEST(Runs, SamePathSwapReplacesTheInput) {
    const std::string path = scratchPath("same_path.srt");
    writeFile(path, "1\n00:00:01,000 --> 00:00:02,500\nHello\nWorld\n\n");
    TestRun(path, path).go();
    EXPECT_EQ(readFile(path), "{000025}{000063}Hello|World\r\n");
    TestRun(path, path).go();
    EXPECT_EQ(readFile(path), crlf({"1", "00:00:01,000 --> 00:00:02,520", "Hello", "World", ""}));
}

TEST(Runs, BadFrameRateWritesNothing) {
    const std::string frames = scratchPath("fps_frames.srt");
    const std::string timings = scratchPath("fps_timings.srt");
    writeFile(frames, "{000025}{000050}x\n");
    writeFile(timings, "1\n00:00:01,000 --> 00:00:02,000\nx\n");
    const double nan = std::nan("");
    const double inf = std::numeric_limits<double>::infinity();
    const struct {
        const std::string& in;
        const char* out;
        double rate;
        bool refused;
    } cases[] = {
        {frames, "fps_a.ssa", 0, true}, {frames, "fps_b.ssa", -1, true},
        {frames, "fps_c.ssa", nan, true}, {frames, "fps_d.srt", inf, true},
        {timings, "fps_e.srt", 0, true}, {timings, "fps_f.ssa", 0, false},
        {timings, "fps_g.ssa", nan, false}, {frames, "fps_h.ssa", 1e308, false},
    };
    for (const auto& c : cases) {
        const std::string out = scratchPath(c.out);
        std::remove(out.c_str());
        TestRun run(c.in, out);
        run.settings.frameRate = c.rate;
        run.go();
        EXPECT_EQ(run.outcome.completed, !c.refused) << c.out;
        EXPECT_EQ(fileExists(out), !c.refused) << c.out;
        if (c.refused) {
            ASSERT_EQ(run.sink.messages.size(), 1u);
            EXPECT_EQ(run.sink.messages[0].rfind("Invalid frame rate: ", 0), 0u);
            EXPECT_EQ(run.sink.log, "");
        }
    }
}

TEST(Runs, UnreadableInputLeavesTheOutputAlone) {
    const std::string out = scratchPath("kept.ssa");
    writeFile(out, "precious");
    TestRun run(scratchPath("no_such_input.srt"), out);
    run.go();
    EXPECT_FALSE(run.outcome.completed);
    ASSERT_EQ(run.sink.messages.size(), 1u);
    EXPECT_EQ(run.sink.messages[0], "Cannot read the input file:\r\n" +
                                        scratchPath("no_such_input.srt") + "\r\n" +
                                        std::strerror(ENOENT));
    EXPECT_EQ(run.sink.log, "");
    EXPECT_EQ(readFile(out), "precious");

    const std::string empty = scratchPath("empty.srt");
    writeFile(empty, "");
    TestRun fromEmpty(empty, out);
    EXPECT_TRUE(fromEmpty.go().outcome.completed);
    EXPECT_EQ(fromEmpty.outcome.subs, 0);
}

TEST(Runs, UnwritableOutputIsReportedAndNothingIsLost) {
    const std::string folder = scratchPath("unwritable_dir");
    fs::create_directories(folder);
    const std::string in = folder + "/in.srt";
    writeFile(in, "1\n00:00:01,000 --> 00:00:02,000\nx\n");
    const std::string missing = folder + "/no/such/folder/out.ssa";
    const std::string isFolder = folder + "/taken.ssa";
    fs::create_directories(isFolder);
    for (const std::string& out : {missing, isFolder}) {
        TestRun run(in, out);
        run.go();
        EXPECT_FALSE(run.outcome.completed) << out;
        ASSERT_EQ(run.sink.messages.size(), 1u) << out;
        // The path, then the system's reason.
        const std::string head = "Cannot write the output file:\r\n" + out + "\r\n";
        EXPECT_EQ(run.sink.messages[0].substr(0, head.size()), head);
        EXPECT_GT(run.sink.messages[0].size(), head.size());
        EXPECT_EQ(run.sink.log, "SRT => SSA ... failed.\r\n\r\n");
    }
    EXPECT_TRUE(fs::is_directory(isFolder));
    EXPECT_TRUE(noTemporaryFilesIn(folder));
    EXPECT_EQ(readFile(in), "1\n00:00:01,000 --> 00:00:02,000\nx\n");
}

// Real files: SRT => SSA (joined) => SRT gives back numbers, line breaks and
// times to the hundredth, the first number always being "1".
TEST(Runs, CorpusRoundTrips) {
    for (const char* name : {"sintel_en_shifted_nobom.srt", "morevna_ep3_en_crlf.srt",
                             "pepper_carrot_ep6_ja.srt", "synfig_07_bones_zh.srt"}) {
        const std::string original = std::string(MARLIVA_CORPUS_DIR) + "/" + name;
        if (!fileExists(original)) GTEST_SKIP() << "corpus not present: " << original;
        const std::string ssa = scratchPath("round.ssa");
        const std::string back = scratchPath("round.srt");
        TestRun there(original, ssa);
        ASSERT_TRUE(there.go().outcome.completed) << name;
        TestRun home(ssa, back);
        ASSERT_TRUE(home.go().outcome.completed) << name;

        // Expected: the original with CR LF line ends and the milliseconds cut to hundredths.
        std::string expected;
        std::string source = readFile(original);
        for (std::size_t p; (p = source.find("\r\n")) != std::string::npos;) source.erase(p, 1);
        std::size_t start = 0;
        while (start < source.size()) {
            std::size_t end = source.find('\n', start);
            if (end == std::string::npos) end = source.size();
            std::string l = source.substr(start, end - start);
            if (l.size() == 29 && l[2] == ':' && l[8] == ',') {
                l[11] = '0';
                l[28] = '0';
            }
            expected += l + "\r\n";
            start = end + 1;
        }
        // Every entry written comes with its blank line, the last one too.
        if (expected.size() < 4 || expected.compare(expected.size() - 4, 4, "\r\n\r\n") != 0)
            expected += "\r\n";
        EXPECT_EQ(readFile(back), expected) << name;
        
    }
}

}  // namespace
