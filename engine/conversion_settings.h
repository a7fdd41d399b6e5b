// The one record of the user's settings, which every run reads and none changes.
#pragma once

#include <cstdint>
#include <string>

// The lines of an SRT file: timing lines ("00:00:01,000 --> ...") or frame
// lines ("{25}{50}text").
enum class SrtLines : std::uint8_t { any, timing, frames };

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
};

// The time at which the first subtitle is to start, in seconds: the whole
// seconds added in 32-bit arithmetic and taken as signed, as the dialog's four
// number boxes have always given it, then the milliseconds.
inline double firstSubSeconds(const ConversionSettings& settings) {
    const std::uint32_t whole =
        settings.firstSubHours * 3600u + settings.firstSubMinutes * 60u + settings.firstSubSeconds;
    return static_cast<std::int32_t>(whole) + settings.firstSubMillis * 0.001;
}
