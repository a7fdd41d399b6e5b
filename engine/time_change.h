// Changes of a file's timing: a speed change from one frame rate to another,
// then either a shift (of every entry, or of those that start in a span) or a
// sync to one or two known points. All of it on whole milliseconds, rounded
// half up.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conversion_settings.h"
#include "line_store.h"
#include "run_report.h"
#include "time_value.h"
#include "timing_lines.h"

// --- Values as the user gives them ---

// A frame rate above 0: a decimal ("25", "23.976") or a ratio ("24000/1001").
// 23.976, 23.98, 29.97, 47.952, 59.94 and 119.88 are the NTSC rates
// (24000/1001 ...). Numerator and denominator stay below 2^31.
bool readRateRatio(std::string_view text, RateRatio& rate);
// [+|-][[H:]M:]S[.FFF], below 1000 hours; a sign only where `signed` allows it.
bool readClockTime(std::string_view text, bool allowSign, Millis& time);
// "A=B": A a time or "#N" (the start of entry N, from 1), B a time.
bool readSyncPoint(std::string_view text, SyncPoint& point);

// Whether two points of a sync, both times, make a map: two different times,
// the later one going to the later time.
bool syncPointsFit(const SyncPoint& a, const SyncPoint& b);

// "23.976", "25", "24000/1001" for other ratios.
std::string rateText(const RateRatio& rate);
// "0:00:30.000", "-0:00:01.500".
std::string clockText(Millis time);
// "0:00:10.000=0:00:12.000", "#2=0:01:05.000".
std::string syncPointText(const SyncPoint& point);

// --- The change that one run makes ---

enum class TimeMove : std::uint8_t { none, shift, map };

struct TimeChangePlan {
    bool on = false;  // false: the times go as they are, or by the first-sub move alone
    bool retime = false;
    std::uint64_t scaleNum = 1, scaleDen = 1;  // from / to, reduced
    RateRatio readRate, writeRate;             // frame lines with the speed change
    TimeMove move = TimeMove::none;
    // The shift: `by` for the entries that start in [from, until).
    Millis by = 0, from = -kNoTimeBound, until = kNoTimeBound;
    // The map: t goes to mapTo + (t - mapFrom) * slopeNum / slopeDen.
    Millis mapFrom = 0, mapTo = 0;
    std::uint64_t slopeNum = 1, slopeDen = 1;
};

enum class TimeChangeProblem : std::uint8_t {
    none,
    noSuchEntry,     // a sync point names an entry the input does not have
    pointsDoNotFit,  // a point's entry starts where the two points no longer make a map
};

// The plan of a run over the store, whose entries are a script's events
// when `events`; a point at an entry takes that entry's start after the
// speed change. On a problem, `entry` is the entry named (noSuchEntry).
TimeChangeProblem planTimeChange(const ConversionSettings& settings, const LineStore& store, bool events,
                                 TimeChangePlan& plan, std::int32_t& entry);

// The log's lines of the plan: "retime: 23.976 => 25 (x 0.959041)",
// "shift: -2.000 s from 0:00:30.000", "sync: 2 points, x 1.001393, +2.000 s".
std::vector<std::string> timeChangeLog(const ConversionSettings& settings, const TimeChangePlan& plan);

// t * num / den rounded half up (toward +infinity on a tie), for num and den
// below 2^62; results are cut to +-2^62, far beyond what any output holds.
Millis scaleHalfUp(Millis t, std::uint64_t num, std::uint64_t den);

// Times read from the input, after the speed change.
TimeSpan retimedSpan(const TimeChangePlan& plan, const TimeSpan& times);
// A frame line's times: its frames read at the speed change's old rate,
// after the change (or at `frameRate` without one).
TimeSpan frameSpanTimes(const TimeChangePlan& plan, const FrameSpan& frames, double frameRate);
// The shift or the sync; a start before 0 becomes 0. False when the entry
// ends at or before 0: it is not written.
bool moveSpan(const TimeChangePlan& plan, TimeSpan& times);
// The frame of a time in frame lines: at the speed change's new rate, or at
// `frameRate` without one; at most INT32_MAX.
std::int32_t frameOfTime(const TimeChangePlan& plan, Millis time, double frameRate);
// A time rounded half up to hundredths, in milliseconds.
inline Millis hundredthsOf(Millis time) { return (time + 5) / 10 * 10; }

// Whether an entry overlaps the one written before it after the change, when
// it did not before it; notes the entry as the one before the next.
struct OverlapWatch {
    bool any = false;
    Millis endBefore = 0, endAfter = 0;
};
bool nowOverlaps(OverlapWatch& watch, const TimeSpan& before, const TimeSpan& after);
