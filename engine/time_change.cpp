// Speed changes, shifts and syncs of a file's times, in whole milliseconds.
#include "time_change.h"

#include <cmath>
#include <limits>
#include <numeric>

#include "characters.h"
#include "entry_scan.h"
#include "ssa_events.h"
#include "time_format.h"

namespace {

constexpr std::int64_t kLargestRatioPart = 0x7FFFFFFF;
constexpr Millis kHour = 3600000;
constexpr Millis kLongestTime = 1000 * kHour;  // times given stay below 1000 hours
// Where scaled times are cut: far beyond what any output holds, with room to
// add any time given to them.
constexpr std::uint64_t kFarTime = std::uint64_t{1} << 62;

bool readWhole(std::string_view text, std::int64_t& value) { return readNineDigits(text, value); }

// A decimal without a sign as a ratio: "23.976" is 23976/1000.
bool readDecimalRatio(std::string_view text, std::int64_t& num, std::int64_t& den) {
    const std::size_t point = text.find('.');
    std::string_view whole = text, fraction;
    if (point != std::string_view::npos) {
        whole = text.substr(0, point);
        fraction = text.substr(point + 1);
        if (fraction.empty()) return false;
    }
    std::int64_t w = 0, f = 0;
    if (!whole.empty() && !readWhole(whole, w)) return false;
    if (!fraction.empty() && !readWhole(fraction, f)) return false;
    if (whole.empty() && fraction.empty()) return false;
    den = 1;
    for (std::size_t k = 0; k < fraction.size(); ++k) den *= 10;
    num = w * den + f;
    return true;
}

struct NtscName {
    const char* name;
    std::int64_t num;
};

const NtscName kNtscNames[] = {
    {"23.976", 24000}, {"23.98", 24000}, {"29.97", 30000}, {"47.952", 48000}, {"59.94", 60000}, {"119.88", 120000},
};

// The same ratio in lowest terms; false when a part passes kLargestRatioPart.
bool reduced(std::int64_t num, std::int64_t den, RateRatio& rate) {
    if (num <= 0 || den <= 0) return false;
    const std::int64_t g = std::gcd(num, den);
    rate = {num / g, den / g};
    return rate.num <= kLargestRatioPart && rate.den <= kLargestRatioPart;
}

// A * B, 64 by 64 bits into 128.
struct Wide {
    std::uint64_t hi = 0, lo = 0;
};

Wide multiply(std::uint64_t a, std::uint64_t b) {
    const std::uint64_t a0 = a & 0xFFFFFFFFu, a1 = a >> 32, b0 = b & 0xFFFFFFFFu, b1 = b >> 32;
    const std::uint64_t p00 = a0 * b0, p01 = a0 * b1, p10 = a1 * b0, p11 = a1 * b1;
    const std::uint64_t mid = (p00 >> 32) + (p01 & 0xFFFFFFFFu) + (p10 & 0xFFFFFFFFu);
    return {p11 + (p01 >> 32) + (p10 >> 32) + (mid >> 32), (p00 & 0xFFFFFFFFu) | (mid << 32)};
}

Wide plus(Wide a, std::uint64_t b) {
    const std::uint64_t lo = a.lo + b;
    return {a.hi + (lo < b ? 1 : 0), lo};
}

// floor(n / d) for d below 2^63, at most 2^63 - 1.
std::uint64_t divide(Wide n, std::uint64_t d) {
    constexpr std::uint64_t kMost = static_cast<std::uint64_t>(std::numeric_limits<std::int64_t>::max());
    if (n.hi == 0) return n.lo / d < kMost ? n.lo / d : kMost;
    if (n.hi >= d) return kMost;
    std::uint64_t rem = n.hi, q = 0;
    for (int bit = 63; bit >= 0; --bit) {
        rem = rem << 1 | (n.lo >> bit & 1);
        q <<= 1;
        if (rem >= d) {
            rem -= d;
            q |= 1;
        }
    }
    return q < kMost ? q : kMost;
}

// A ratio of parts below 2^62 as a double, through signed integers, whose
// conversion the 32-bit build makes without x87 arithmetic.
double ratioOf(std::uint64_t num, std::uint64_t den) {
    return static_cast<double>(static_cast<std::int64_t>(num)) / static_cast<double>(static_cast<std::int64_t>(den));
}

Millis mapTime(const TimeChangePlan& plan, Millis t) {
    return plan.mapTo + scaleHalfUp(t - plan.mapFrom, plan.slopeNum, plan.slopeDen);
}

Millis frameMillis(std::int32_t frame, double frameRate) {
    Millis ms;
    if (frameTime(frame, frameRate, 1000, ms)) return ms;
    const double seconds = frame / frameRate;
    // Beyond every limit, for the writer to refuse.
    if (!(seconds >= 0 && seconds < 1e12)) return kNoTimeBound / 4;
    return roundScaled(seconds, 3);
}

// The start of each entry after the speed change, in order, until `visit`
// returns false.
template <typename Visit>
void visitStarts(const ConversionSettings& settings, const TimeChangePlan& plan, const LineStore& store,
                 bool events, Visit visit) {
    if (events) {
        EventScan scan = startEventScan(store, nullptr);
        for (SsaEvent event; nextEvent(scan, event);)
            if (!visit(retimedSpan(plan, event.times).start)) return;
        return;
    }
    EntryScan scan = startEntryScan(store, nullptr);
    for (SrtEntry entry; nextEntry(scan, entry);) {
        const TimeSpan times = entry.kind == LineKindSrt ? retimedSpan(plan, entry.times)
                                                         : frameSpanTimes(plan, entry.frames, settings.frameRate);
        if (!visit(times.start)) return;
    }
}

// A point's time: its own, or its entry's start.
bool resolve(const ConversionSettings& settings, const TimeChangePlan& plan, const LineStore& store, bool events,
             SyncPoint& point) {
    if (point.entry <= 0) return true;
    std::int32_t at = 0;
    bool found = false;
    visitStarts(settings, plan, store, events, [&](Millis start) {
        if (++at < point.entry) return true;
        point.from = start;
        found = true;
        return false;
    });
    return found;
}

}  // namespace

bool readRateRatio(std::string_view text, RateRatio& rate) {
    for (const NtscName& name : kNtscNames)
        if (text == name.name) return reduced(name.num, 1001, rate);
    const std::size_t slash = text.find('/');
    std::int64_t num, den;
    if (!readDecimalRatio(text.substr(0, slash), num, den)) return false;
    if (slash == std::string_view::npos) return reduced(num, den, rate);
    std::int64_t num2, den2;
    if (!readDecimalRatio(text.substr(slash + 1), num2, den2)) return false;
    RateRatio top, bottom;
    if (!reduced(num, den, top) || !reduced(num2, den2, bottom)) return false;
    return reduced(top.num * bottom.den, top.den * bottom.num, rate);
}

bool readClockTime(std::string_view text, bool allowSign, Millis& time) {
    bool negative = false;
    if (allowSign && !text.empty() && (text[0] == '+' || text[0] == '-')) {
        negative = text[0] == '-';
        text.remove_prefix(1);
    }
    std::int64_t millis = 0;
    const std::size_t point = text.find('.');
    if (point != std::string_view::npos) {
        const std::string_view fraction = text.substr(point + 1);
        if (fraction.size() > 3 || !readWhole(fraction, millis)) return false;
        for (std::size_t n = fraction.size(); n < 3; ++n) millis *= 10;
        text = text.substr(0, point);
    }
    std::int64_t fields[3] = {0, 0, 0};
    int count = 0;
    for (;;) {
        const std::size_t colon = text.find(':');
        if (count == 3 || !readWhole(text.substr(0, colon), fields[count])) return false;
        ++count;
        if (colon == std::string_view::npos) break;
        text.remove_prefix(colon + 1);
    }
    std::int64_t seconds = 0;
    for (int i = 0; i < count; ++i) seconds = seconds * 60 + fields[i];
    time = seconds * 1000 + millis;
    if (time >= kLongestTime) return false;
    if (negative) time = -time;
    return true;
}

bool readSyncPoint(std::string_view text, SyncPoint& point) {
    const std::size_t equals = text.find('=');
    if (equals == std::string_view::npos) return false;
    const std::string_view from = text.substr(0, equals);
    point = {};
    if (!from.empty() && from[0] == '#') {
        std::int64_t entry;
        if (!readWhole(from.substr(1), entry) || entry < 1) return false;
        point.entry = static_cast<std::int32_t>(entry);
    } else if (!readClockTime(from, false, point.from)) {
        return false;
    }
    return readClockTime(text.substr(equals + 1), false, point.to);
}

bool syncPointsFit(const SyncPoint& a, const SyncPoint& b) {
    if (a.from == b.from || a.to == b.to) return false;
    return (b.from > a.from) == (b.to > a.to);
}

std::string rateText(const RateRatio& rate) {
    if (rate.den == 1) return formatText("%lld", static_cast<long long>(rate.num));
    for (const NtscName& name : kNtscNames)
        if (rate.den == 1001 && rate.num == name.num) return name.name;
    // A decimal of up to nine places, written exactly.
    std::int64_t scale = 1;
    for (int places = 1; places <= 9; ++places) {
        scale *= 10;
        if (scale % rate.den != 0) continue;
        const std::int64_t scaled = rate.num * (scale / rate.den);
        std::string text = formatText("%lld.%0*lld", static_cast<long long>(scaled / scale), places,
                                      static_cast<long long>(scaled % scale));
        return text;
    }
    return formatText("%lld/%lld", static_cast<long long>(rate.num), static_cast<long long>(rate.den));
}

std::string clockText(Millis time) {
    const char* sign = time < 0 ? "-" : "";
    const Millis t = time < 0 ? -time : time;
    return formatText("%s%lld:%02lld:%02lld.%03lld", sign, static_cast<long long>(t / kHour),
                      static_cast<long long>(t / 60000 % 60), static_cast<long long>(t / 1000 % 60),
                      static_cast<long long>(t % 1000));
}

std::string syncPointText(const SyncPoint& point) {
    const std::string from = point.entry > 0 ? formatText("#%d", static_cast<int>(point.entry)) : clockText(point.from);
    return from + "=" + clockText(point.to);
}

Millis scaleHalfUp(Millis t, std::uint64_t num, std::uint64_t den) {
    const std::uint64_t magnitude = t < 0 ? 0 - static_cast<std::uint64_t>(t) : static_cast<std::uint64_t>(t);
    const Wide twice = [](Wide n) { return Wide{n.hi << 1 | n.lo >> 63, n.lo << 1}; }(multiply(magnitude, num));
    // floor(x + 1/2) is floor((2n + d) / 2d) above 0 and -floor((2n + d - 1) / 2d) below.
    const std::uint64_t q = divide(plus(twice, t >= 0 ? den : den - 1), 2 * den);
    const auto cut = static_cast<Millis>(q < kFarTime ? q : kFarTime);
    return t >= 0 ? cut : -cut;
}

TimeSpan retimedSpan(const TimeChangePlan& plan, const TimeSpan& times) {
    if (!plan.retime) return times;
    return {scaleHalfUp(times.start, plan.scaleNum, plan.scaleDen), scaleHalfUp(times.end, plan.scaleNum, plan.scaleDen)};
}

TimeSpan frameSpanTimes(const TimeChangePlan& plan, const FrameSpan& frames, double frameRate) {
    if (!plan.retime) return {frameMillis(frames.start, frameRate), frameMillis(frames.end, frameRate)};
    // Read at the old rate and sped up, a frame lies at frame / new rate.
    const auto num = static_cast<std::uint64_t>(plan.writeRate.den) * 1000;
    const auto den = static_cast<std::uint64_t>(plan.writeRate.num);
    return {scaleHalfUp(frames.start, num, den), scaleHalfUp(frames.end, num, den)};
}

bool moveSpan(const TimeChangePlan& plan, TimeSpan& times) {
    const Millis endBefore = times.end;
    if (plan.move == TimeMove::shift && times.start >= plan.from && times.start < plan.until) {
        times.start += plan.by;
        times.end += plan.by;
    } else if (plan.move == TimeMove::map) {
        times = {mapTime(plan, times.start), mapTime(plan, times.end)};
    }
    // An entry that the change moved to end at or before 0 is gone; one that
    // ended there already stays.
    if (times.end <= 0 && times.end != endBefore) return false;
    if (times.start < 0) times.start = 0;
    if (times.end < 0) times.end = 0;
    return true;
}

std::int32_t frameOfTime(const TimeChangePlan& plan, Millis time, double frameRate) {
    if (!plan.retime) return timeToFrame(secondsOf(time), frameRate);
    const Millis frame = scaleHalfUp(time, static_cast<std::uint64_t>(plan.writeRate.num),
                                     static_cast<std::uint64_t>(plan.writeRate.den) * 1000);
    if (frame < 0) return 0;
    return frame > std::numeric_limits<std::int32_t>::max() ? std::numeric_limits<std::int32_t>::max()
                                                            : static_cast<std::int32_t>(frame);
}

bool nowOverlaps(OverlapWatch& watch, const TimeSpan& before, const TimeSpan& after) {
    const bool overlaps = watch.any && after.start < watch.endAfter && !(before.start < watch.endBefore);
    watch = {true, before.end, after.end};
    return overlaps;
}

TimeChangeProblem planTimeChange(const ConversionSettings& settings, const LineStore& store, bool events,
                                 TimeChangePlan& plan, std::int32_t& entry) {
    plan = {};
    entry = 0;
    if (settings.retime) {
        plan.on = plan.retime = true;
        const auto num = static_cast<std::uint64_t>(settings.retimeFrom.num) * static_cast<std::uint64_t>(settings.retimeTo.den);
        const auto den = static_cast<std::uint64_t>(settings.retimeFrom.den) * static_cast<std::uint64_t>(settings.retimeTo.num);
        const std::uint64_t g = std::gcd(num, den);
        plan.scaleNum = num / g;
        plan.scaleDen = den / g;
        plan.readRate = settings.retimeFrom;
        plan.writeRate = settings.retimeTo;
    }
    if (settings.shiftTimes) {
        plan.on = true;
        plan.move = TimeMove::shift;
        plan.by = settings.shiftBy;
        plan.from = settings.shiftFrom;
        plan.until = settings.shiftUntil;
    } else if (settings.syncPoints > 0) {
        plan.on = true;
        SyncPoint a = settings.sync[0], b = settings.sync[1];
        if (!resolve(settings, plan, store, events, a)) return entry = a.entry, TimeChangeProblem::noSuchEntry;
        if (settings.syncPoints == 1) {
            plan.move = TimeMove::shift;
            plan.by = a.to - a.from;
            return TimeChangeProblem::none;
        }
        if (!resolve(settings, plan, store, events, b)) return entry = b.entry, TimeChangeProblem::noSuchEntry;
        if (!syncPointsFit(a, b)) return TimeChangeProblem::pointsDoNotFit;
        if (b.from < a.from) std::swap(a, b);
        plan.move = TimeMove::map;
        plan.mapFrom = a.from;
        plan.mapTo = a.to;
        const auto num = static_cast<std::uint64_t>(b.to - a.to), den = static_cast<std::uint64_t>(b.from - a.from);
        const std::uint64_t g = std::gcd(num, den);
        plan.slopeNum = num / g;
        plan.slopeDen = den / g;
    } else if (settings.shiftFirstSub && settings.retime) {
        // The first-sub move after a speed change: a shift in the new timeline.
        bool any = false;
        Millis earliest = 0;
        visitStarts(settings, plan, store, events, [&](Millis start) {
            if (!any || start < earliest) earliest = start;
            any = true;
            return true;
        });
        const std::uint32_t whole =
            settings.firstSubHours * 3600u + settings.firstSubMinutes * 60u + settings.firstSubSeconds;
        plan.move = TimeMove::shift;
        plan.by = any ? static_cast<std::int32_t>(whole) * Millis{1000} + settings.firstSubMillis - earliest : 0;
    }
    return TimeChangeProblem::none;
}

std::vector<std::string> timeChangeLog(const ConversionSettings& settings, const TimeChangePlan& plan) {
    std::vector<std::string> lines;
    if (plan.retime)
        lines.push_back("retime: " + rateText(settings.retimeFrom) + " => " + rateText(settings.retimeTo) +
                        formatText(" (x %.6f)", ratioOf(plan.scaleNum, plan.scaleDen)));
    if (settings.shiftTimes) {
        std::string line = formatText("shift: %+.3f s", static_cast<double>(plan.by) / 1000);
        if (plan.from != -kNoTimeBound) line += " from " + clockText(plan.from);
        if (plan.until != kNoTimeBound) line += " until " + clockText(plan.until);
        lines.push_back(line);
    } else if (settings.syncPoints == 1) {
        lines.push_back(formatText("sync: 1 point, %+.3f s", static_cast<double>(plan.by) / 1000));
    } else if (settings.syncPoints == 2) {
        lines.push_back(formatText("sync: 2 points, x %.6f, %+.3f s",
                                   ratioOf(plan.slopeNum, plan.slopeDen),
                                   static_cast<double>(plan.mapTo - plan.mapFrom) / 1000));
    }
    return lines;
}
