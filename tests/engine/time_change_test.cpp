// Speed changes, shifts and syncs on whole milliseconds.
#include "time_change.h"

#include "test_support.h"

namespace {

RateRatio rate(const char* text) {
    RateRatio r{0, 0};
    EXPECT_TRUE(readRateRatio(text, r)) << text;
    return r;
}

TimeChangePlan retimePlan(const char* from, const char* to) {
    ConversionSettings settings;
    settings.retime = true;
    settings.retimeFrom = rate(from);
    settings.retimeTo = rate(to);
    TimeChangePlan plan;
    std::int32_t entry;
    planTimeChange(settings, LineStore{}, false, plan, entry);
    return plan;
}

Millis retimed(const TimeChangePlan& plan, Millis t) { return retimedSpan(plan, {t, t}).start; }

TEST(RateRatio, NtscNamesDecimalsAndRatios) {
    const struct {
        const char* text;
        std::int64_t num, den;
    } cases[] = {
        {"23.976", 24000, 1001}, {"23.98", 24000, 1001},   {"29.97", 30000, 1001}, {"47.952", 48000, 1001},
        {"59.94", 60000, 1001},  {"119.88", 120000, 1001}, {"24000/1001", 24000, 1001},
        {"25", 25, 1},           {"23.9760", 2997, 125},   {"0.5", 1, 2},          {".5", 1, 2},
        {"50/2", 25, 1},         {"2.5/0.1", 25, 1},       {"30000/1001", 30000, 1001},
    };
    for (const auto& c : cases) {
        const RateRatio r = rate(c.text);
        EXPECT_EQ(r.num, c.num) << c.text;
        EXPECT_EQ(r.den, c.den) << c.text;
    }
    RateRatio r;
    for (const char* bad : {"", "0", "0.000", "-25", "+25", "25/0", "0/25", "2e1", "25.", "25:1", "1/2/3", "abc",
                            "9999999999", "4294967296/1"})
        EXPECT_FALSE(readRateRatio(bad, r)) << bad;
}

TEST(RateRatio, WordedAsGiven) {
    for (const char* text : {"23.976", "29.97", "47.952", "59.94", "119.88", "25", "24", "12.5", "23.9760239", "7/3"})
        EXPECT_EQ(rateText(rate(text)), text);
    EXPECT_EQ(rateText(rate("23.98")), "23.976");
    EXPECT_EQ(rateText(rate("25000/1001")), "25000/1001");
}

TEST(ClockTime, FieldsFromTheRightAndASign) {
    const struct {
        const char* text;
        bool sign;
        Millis ms;
    } cases[] = {
        {"-1.5", true, -1500},     {"+1", true, 1000},         {"-2", true, -2000},       {"0:00:30", false, 30000},
        {"1:00", false, 60000},    {"1:2:3.4", false, 3723400}, {"0:0:0.05", false, 50},  {"90", false, 90000},
        {"999:59:59.999", false, 3599999999}, {"0:61:00", false, 3660000},
    };
    for (const auto& c : cases) {
        Millis t = 0;
        EXPECT_TRUE(readClockTime(c.text, c.sign, t)) << c.text;
        EXPECT_EQ(t, c.ms) << c.text;
    }
    Millis t;
    for (const char* bad : {"", "-1", "1:2:3:4", "1000:00:00", "1.", "1.2345", ":1", "1::2", "a", "1 ", "--1"})
        EXPECT_FALSE(readClockTime(bad, std::string_view(bad) == "-1" ? false : true, t)) << bad;
}

TEST(SyncPoint, TimeOrEntryStart) {
    SyncPoint p;
    ASSERT_TRUE(readSyncPoint("#2=0:01:05", p));
    EXPECT_EQ(syncPointText(p), "#2=0:01:05.000");
    ASSERT_TRUE(readSyncPoint("0:00:10=0:00:12", p));
    EXPECT_EQ(syncPointText(p), "0:00:10.000=0:00:12.000");
    for (const char* bad : {"#0=1", "#=1", "#2", "1=", "=1", "1=-1", "-1=1", "1=2=3"})
        EXPECT_FALSE(readSyncPoint(bad, p)) << bad;
    // Two points make a map when both sides go the same way.
    const SyncPoint a{0, 10000, 12000}, later{0, 3600000, 3607000}, same{0, 10000, 20000}, flat{0, 20000, 12000},
        back{0, 20000, 11000};
    EXPECT_TRUE(syncPointsFit(a, later));
    EXPECT_TRUE(syncPointsFit(later, a));
    EXPECT_FALSE(syncPointsFit(a, same));
    EXPECT_FALSE(syncPointsFit(a, flat));
    EXPECT_FALSE(syncPointsFit(a, back));
}

TEST(ScaleHalfUp, TiesGoUpOnBothSidesOfZero) {
    const struct {
        Millis t;
        std::uint64_t num, den;
        Millis expected;
    } cases[] = {
        {12, 25, 24, 13},       // 12.5
        {-12, 25, 24, -12},     // -12.5
        {1, 1, 2, 1},           {-1, 1, 2, 0},          {3, 1, 2, 2},       {-3, 1, 2, -1},
        {7, 1, 3, 2},           {-7, 1, 3, -2},         {0, 5, 7, 0},
        // Products beyond 64 bits.
        {(Millis{1} << 40) + 1, 3ull << 30, 1ull << 31, 1649267441666},
        {-(Millis{1} << 40) - 1, 3ull << 30, 1ull << 31, -1649267441665},
        {1000, (1ull << 61) + 1, 1ull << 50, 2048000},
    };
    for (const auto& c : cases) EXPECT_EQ(scaleHalfUp(c.t, c.num, c.den), c.expected) << c.t << " " << c.num;
    // Far beyond any time, cut so that a shift can still be added.
    EXPECT_EQ(scaleHalfUp(Millis{1} << 62, 1ull << 61, 1), Millis{1} << 62);
    EXPECT_EQ(scaleHalfUp(-3, 1ull << 61, 1), -(Millis{1} << 62));
}

TEST(Retime, HoursAtTheNtscRatesAndBack) {
    // One hour at 23.976 => 25 is 3600 x 24000/25025 s.
    const TimeChangePlan down = retimePlan("23.976", "25");
    EXPECT_EQ(retimed(down, 1000), 959);
    EXPECT_EQ(retimed(down, 2000), 1918);
    EXPECT_EQ(retimed(down, 3600000), 3452547);
    EXPECT_EQ(retimed(down, 7200000), 6905095);
    EXPECT_EQ(retimed(retimePlan("25", "24"), 3600000), 3750000);
    EXPECT_EQ(retimed(retimePlan("25", "24"), 12), 13);
    // Every NTSC name against its whole-number rate, and back within 1 ms.
    const struct {
        const char* ntsc;
        const char* whole;
    } names[] = {{"23.976", "24"}, {"23.98", "24"}, {"29.97", "30"}, {"47.952", "48"}, {"59.94", "60"}, {"119.88", "120"}};
    for (const auto& n : names) {
        const Millis there = retimed(retimePlan(n.ntsc, n.whole), 3600000);
        EXPECT_EQ(there, 3596404) << n.ntsc;  // 3600 x 1000/1001 s
        EXPECT_EQ(retimed(retimePlan(n.whole, n.ntsc), there), 3600000) << n.ntsc;
    }
    EXPECT_EQ(retimePlan("24000/1001", "25").scaleNum, retimePlan("23.976", "25").scaleNum);
}

TEST(Retime, FramesReadAtTheOldRateWrittenAtTheNew) {
    const TimeChangePlan plan = retimePlan("25", "23.976");
    const TimeSpan times = frameSpanTimes(plan, {25, 50, 0}, 99.0);
    EXPECT_EQ(times.start, 1043);
    EXPECT_EQ(times.end, 2085);
    for (std::int32_t frame : {0, 1, 25, 12345, 999999, 86313599})
        EXPECT_EQ(frameOfTime(plan, frameSpanTimes(plan, {frame, frame, 0}, 99.0).start, 99.0), frame) << frame;
    EXPECT_EQ(frameSpanTimes(TimeChangePlan{}, {3, 15, 0}, 24.0).start, 125);  // at the run's rate
}

TEST(MoveSpan, ShiftsSyncsAndTimesBeforeZero) {
    TimeChangePlan shift;
    shift.move = TimeMove::shift;
    shift.by = -1500;
    const struct {
        TimeSpan in;
        bool written;
        TimeSpan out;
    } shifted[] = {
        {{1000, 2000}, true, {0, 500}},      // the start clamps to 0, the end is kept
        {{500, 1200}, false, {}},            // ends before 0
        {{500, 1500}, false, {}},            // ends at 0
        {{0, 0}, false, {}},                 // moved from 0
        {{3000, 4000}, true, {1500, 2500}},
    };
    for (const auto& c : shifted) {
        TimeSpan t = c.in;
        EXPECT_EQ(moveSpan(shift, t), c.written) << c.in.start;
        if (!c.written) continue;
        EXPECT_EQ(t.start, c.out.start);
        EXPECT_EQ(t.end, c.out.end);
    }
    // An entry at 0 that nothing moves stays.
    TimeSpan zero{0, 0};
    EXPECT_TRUE(moveSpan(TimeChangePlan{}, zero));
    // Only starts in [from, until) move.
    shift.by = -2000;
    shift.from = 30000;
    shift.until = 60000;
    const std::pair<Millis, Millis> starts[] = {{29000, 29000}, {30000, 28000}, {59999, 57999}, {60000, 60000}};
    for (const auto& [start, moved] : starts) {
        TimeSpan t{start, start + 1000};
        ASSERT_TRUE(moveSpan(shift, t));
        EXPECT_EQ(t.start, moved);
    }
}

TEST(MoveSpan, TwoPointsMapExactlyAndExtrapolate) {
    ConversionSettings settings;
    settings.syncPoints = 2;
    settings.sync[0] = {0, 3600000, 3607000};  // given in either order
    settings.sync[1] = {0, 10000, 12000};
    TimeChangePlan plan;
    std::int32_t entry;
    ASSERT_EQ(planTimeChange(settings, LineStore{}, false, plan, entry), TimeChangeProblem::none);
    const std::pair<Millis, Millis> cases[] = {
        {10000, 12000}, {3600000, 3607000}, {1000, 2987}, {1800000, 1804493}, {5400000, 5409507}, {2000, 3989},
    };
    for (const auto& [from, to] : cases) {
        TimeSpan t{from, from};
        ASSERT_TRUE(moveSpan(plan, t));
        EXPECT_EQ(t.start, to) << from;
    }
    EXPECT_EQ(timeChangeLog(settings, plan), std::vector<std::string>{"sync: 2 points, x 1.001393, +2.000 s"});
}

TEST(PlanTimeChange, PointsAtEntriesAfterTheSpeedChange) {
    const std::string path = scratchPath("entries.srt");
    writeFile(path, "1\r\n00:00:30,000 --> 00:00:31,000\r\nA\r\n\r\n2\r\n00:01:00,000 --> 00:01:01,000\r\nB\r\n");
    LineStore store;
    ASSERT_FALSE(loadLines(store, path.c_str()));
    ConversionSettings settings;
    settings.syncPoints = 1;
    settings.sync[0] = {2, 0, 65000};
    TimeChangePlan plan;
    std::int32_t entry;
    ASSERT_EQ(planTimeChange(settings, store, false, plan, entry), TimeChangeProblem::none);
    EXPECT_EQ(plan.by, 5000);
    // After 25 => 24 the second entry starts at 62.5 s.
    settings.retime = true;
    settings.retimeFrom = {25, 1};
    settings.retimeTo = {24, 1};
    ASSERT_EQ(planTimeChange(settings, store, false, plan, entry), TimeChangeProblem::none);
    EXPECT_EQ(plan.by, 2500);
    EXPECT_EQ(timeChangeLog(settings, plan),
              (std::vector<std::string>{"retime: 25 => 24 (x 1.041667)", "sync: 1 point, +2.500 s"}));
    // The first-sub move after a speed change: a shift in the new timeline.
    settings.syncPoints = 0;
    settings.shiftFirstSub = true;
    settings.firstSubSeconds = 10;
    ASSERT_EQ(planTimeChange(settings, store, false, plan, entry), TimeChangeProblem::none);
    EXPECT_EQ(plan.by, 10000 - 31250);
    settings.shiftFirstSub = false;
    settings.syncPoints = 2;
    settings.sync[0] = {3, 0, 1000};
    EXPECT_EQ(planTimeChange(settings, store, false, plan, entry), TimeChangeProblem::noSuchEntry);
    EXPECT_EQ(entry, 3);
    settings.sync[0] = {1, 0, 70000};  // entry 1 goes after entry 2
    settings.sync[1] = {2, 0, 65000};
    EXPECT_EQ(planTimeChange(settings, store, false, plan, entry), TimeChangeProblem::pointsDoNotFit);
}

TEST(NowOverlaps, OnlyWhatTheChangeMadeOverlap) {
    OverlapWatch watch;
    EXPECT_FALSE(nowOverlaps(watch, {29000, 30000}, {29000, 30000}));
    EXPECT_TRUE(nowOverlaps(watch, {31000, 32000}, {29000, 30000}));
    // Entries that overlapped in the input are not reported again.
    EXPECT_FALSE(nowOverlaps(watch, {31500, 33000}, {29500, 31000}));
}

}  // namespace
