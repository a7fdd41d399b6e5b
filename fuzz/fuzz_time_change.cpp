// Time changes on any times: a speed change there and back returns every time
// within 1 ms (within half a millisecond more per unit of TO/FROM beyond 1,
// for rates far apart), a sync to two points takes each point exactly to its
// time and keeps the order of times, and a shift never writes a time below 0.
// The first byte chooses the two rates among those the dialog offers or takes
// ratios from the next bytes; then come the times.
#include <cstdlib>

#include "fuzz_support.h"
#include "time_change.h"

namespace {

const char* const kRates[] = {"23.976", "24", "25", "29.97", "30", "50", "59.94", "47.952", "119.88", "23.98"};

RateRatio pickRate(InputBytes& input, bool named) {
    RateRatio rate;
    if (named) {
        FUZZ_CHECK(readRateRatio(kRates[input.byte() % std::size(kRates)], rate));
    } else {
        rate = {1 + static_cast<std::int64_t>(input.u32() % 240000), 1 + static_cast<std::int64_t>(input.u32() % 1001)};
    }
    return rate;
}

TimeChangePlan planOf(const ConversionSettings& settings) {
    TimeChangePlan plan;
    std::int32_t entry;
    FUZZ_CHECK(planTimeChange(settings, LineStore{}, false, plan, entry) == TimeChangeProblem::none);
    return plan;
}

Millis anyTime(InputBytes& input) { return static_cast<Millis>(input.u32()) % (1000LL * 3600000); }

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputBytes input{data, size};
    const bool named = (input.byte() & 1) == 0;
    ConversionSettings there;
    there.retime = true;
    there.retimeFrom = pickRate(input, named);
    there.retimeTo = pickRate(input, named);
    ConversionSettings back = there;
    back.retimeFrom = there.retimeTo;
    back.retimeTo = there.retimeFrom;
    const TimeChangePlan forth = planOf(there), home = planOf(back);
    const double from = static_cast<double>(there.retimeFrom.num) / static_cast<double>(there.retimeFrom.den);
    const double to = static_cast<double>(there.retimeTo.num) / static_cast<double>(there.retimeTo.den);
    const Millis t = anyTime(input);
    const Millis returned = retimedSpan(home, retimedSpan(forth, {t, t})).start;
    const Millis off = std::llabs(returned - t);
    FUZZ_CHECK(2.0 * static_cast<double>(off) <= 1.0 + to / from + 1e-9);
    if (to < 3 * from) FUZZ_CHECK(off <= 1);

    // Two points, in either order; each goes exactly to its time.
    ConversionSettings sync;
    sync.syncPoints = 2;
    sync.sync[0] = {0, anyTime(input), anyTime(input)};
    sync.sync[1] = {0, anyTime(input), anyTime(input)};
    if (syncPointsFit(sync.sync[0], sync.sync[1])) {
        const TimeChangePlan plan = planOf(sync);
        for (const SyncPoint& point : sync.sync) {
            TimeSpan span{point.from, point.from};
            const bool written = moveSpan(plan, span);
            FUZZ_CHECK(written == (point.to > 0 || point.from == 0));
            if (written) FUZZ_CHECK(span.start == point.to);
        }
        TimeSpan a{t, t}, b{t + 1, t + 1};
        if (moveSpan(plan, a) && moveSpan(plan, b)) FUZZ_CHECK(a.start <= b.start);
    }

    // A shift of any size: nothing written lies before 0.
    ConversionSettings shift;
    shift.shiftTimes = true;
    shift.shiftBy = anyTime(input) - anyTime(input);
    TimeSpan span{t, t + anyTime(input) % 10000};
    if (moveSpan(planOf(shift), span)) FUZZ_CHECK(span.start >= 0 && span.end >= 0 && span.start <= span.end);
    return 0;
}
