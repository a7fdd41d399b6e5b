// The one record of the user's settings, which every run reads and none changes.
#pragma once

#include <cstdint>
#include <limits>
#include <string>

#include "time_value.h"

// The lines of an SRT file: timing lines ("00:00:01,000 --> ...") or frame
// lines ("{25}{50}text").
enum class SrtLines : std::uint8_t { any, timing, frames };

// A frame rate as an exact ratio of whole numbers: 24000/1001 for 23.976.
struct RateRatio {
    std::int64_t num = 25;
    std::int64_t den = 1;
};

// One point of a sync: the time `from`, or with `entry` above 0 the start of
// that entry (counted from 1), goes to the time `to`.
struct SyncPoint {
    std::int32_t entry = 0;
    Millis from = 0;
    Millis to = 0;
};

constexpr Millis kNoTimeBound = std::numeric_limits<Millis>::max();
// What a run does with the markup of a subtitle's text: copies it byte for
// byte (keep), translates it into the output's own (translate), or removes
// it (strip).
enum class MarkupMode : std::uint8_t { keep, translate, strip };

struct ConversionSettings {
    std::string inputPath;
    std::string outputPath;
    double frameRate = 25.0;
    bool joinWithNewline = true;
    bool shiftFirstSub = false;
    std::uint32_t firstSubHours = 0;
    std::uint32_t firstSubMinutes = 0;
    std::uint32_t firstSubSeconds = 0;
    std::uint32_t firstSubMillis = 0;
    // Any input line that the run cannot convert fails the run, which then
    // writes nothing (the command line's --strict).
    bool strict = false;
    // A dry run: the conversion runs whole into a sink that writes nothing,
    // and the output is checked as a real run would find it.
    bool dryRun = false;
    // The lines an SRT input must have for the run to convert it: an input
    // of the other lines already has those that the run would write, and the
    // run fails, writing nothing (the command line's --to frames takes timing
    // lines, --to timing frame lines). Any: whatever lines it has.
    SrtLines inputLines = SrtLines::any;

    // Time changes, in this order: the speed change, then the shift or the
    // sync, both given in the new timeline. The shift, the sync and the
    // first-sub move exclude each other.
    bool retime = false;  // every time times retimeFrom / retimeTo
    RateRatio retimeFrom;
    RateRatio retimeTo;
    bool shiftTimes = false;  // shiftBy added to the entries starting in [shiftFrom, shiftUntil)
    Millis shiftBy = 0;
    Millis shiftFrom = -kNoTimeBound;
    Millis shiftUntil = kNoTimeBound;
    std::int32_t syncPoints = 0;  // 0, 1 (a shift) or 2 (a linear map)
    SyncPoint sync[2];
    // SRT => SRT writes the kind of lines it reads, timing lines or frame
    // lines, rather than turning one into the other: a file's time change.
    bool keepLineKind = false;
    MarkupMode markup = MarkupMode::keep;
};

// The time at which the first subtitle is to start, in seconds: the whole
// seconds added in 32-bit arithmetic and taken as signed, as the dialog's four
// number boxes have always given it, then the milliseconds.
inline double firstSubSeconds(const ConversionSettings& settings) {
    const std::uint32_t whole =
        settings.firstSubHours * 3600u + settings.firstSubMinutes * 60u + settings.firstSubSeconds;
    return static_cast<std::int32_t>(whole) + settings.firstSubMillis * 0.001;
}
