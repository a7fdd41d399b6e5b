// What a run hands to the front end that started it: whether it completed, the
// failure's kind with the path and the system's reason, the counts of the log,
// and the input lines it could not convert. The engine never words a report
// for a platform: each front end joins the lines below its own way.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

#include "conversion_settings.h"

enum class RunFailure : std::uint8_t {
    none,
    fileKinds,          // a pair of file kinds that no writer serves
    cannotRead,         // the input could not be opened or read
    tooLarge,           // the input does not fit into memory
    frameRate,          // the run divides by a frame rate that is no number above 0
    cannotWrite,        // the output could not be created or written
    noSubtitles,        // the input holds text but no subtitle
    linesNotConverted,  // strict, or onto itself: some input line was not converted
    inputChanged,       // the input changed while it was read
    inputOverLimit,     // the input is larger than a run takes (kLargestInput bytes)
    outputNotRegular,   // the output is, or leads to, a device, a pipe or a folder
    timesTooLarge,      // a time or frame of the output would pass what it holds
    syncPoints,         // a sync point names no entry, or the points no longer make a map
    alreadyFrameLines,  // frame lines where the settings take timing lines
    alreadyTimingLines, // timing lines where the settings take frame lines
};

// A failure where it is born (loading the input, writing the output): its
// kind and the system's error number, 0 where there is none. runConversion
// turns it into the report, with the path it is about.
struct Failure {
    RunFailure kind = RunFailure::none;
    int error = 0;
    explicit operator bool() const { return kind != RunFailure::none; }
};

// Why an input line was not converted.
enum class NotConverted : std::uint8_t {
    unreadableTiming,
    textOfUnreadableTiming,
    frameLineAmongTimingLines,
    timingLineAmongFrameLines,
    textBeforeFirstSubtitle,
    textOutsideSubtitles,
    textAfterEndMark,
    barInText,
    newlineInText,
    capitalNewlineInText,
    unreadableEventTimes,
    noEvent,
    numberNotNumber,
    unreadableFrame,
    eventWithoutText,
    fieldNamedTwice,
    noCharacter,
    cutCharacter,
    beforeZero,  // an entry that the time change moved to end at or before 0
    textReadAsMarkup,
};

const char* notConvertedText(NotConverted reason);

struct NotConvertedLine {
    std::int32_t line;  // counted from 1
    NotConverted reason;
};

// Counts one item more and keeps it among the first ones, which stay in the
// order of their lines (an item noted after a later line takes its place).
template <typename Item, std::size_t N>
void keepInLineOrder(std::array<Item, N>& first, std::int32_t& count, Item item) {
    std::size_t kept = count < static_cast<std::int32_t>(N) ? static_cast<std::size_t>(count) : N;
    ++count;
    std::size_t at = kept;
    while (at > 0 && first[at - 1].line > item.line) --at;
    if (at == N) return;
    if (kept == N) --kept;
    for (std::size_t k = kept; k > at; --k) first[k] = std::move(first[k - 1]);
    first[at] = std::move(item);
}

// The lines that a run did not convert: all counted, the first ones in the
// file kept in order (a line noted after a later one, such as one that could
// not be decoded, takes its place among them).
struct NotConvertedLines {
    static constexpr std::int32_t kKept = 10;
    std::int32_t count = 0;
    std::array<NotConvertedLine, kKept> first{};

    void add(std::int32_t line, NotConverted reason) { keepInLineOrder(first, count, {line, reason}); }
};

struct DroppedMarkup {
    std::int32_t line = 0;  // counted from 1
    std::string text;       // as the input has it, or as SRT writes it
};

// The markup that a run dropped (the output cannot hold it): all counted,
// the first ones in the file kept in line order.
struct MarkupDropped {
    static constexpr std::int32_t kKept = 10;
    std::int32_t count = 0;
    std::array<DroppedMarkup, kKept> first{};

    void add(std::int32_t line, std::string_view text) {
        keepInLineOrder(first, count, {line, std::string(text)});
    }
};

// The first start and the last end that a run with a time change wrote
// (in the output's order), for a dry run to say where the times go.
struct ChangedTimes {
    bool any = false;
    Millis firstStart = 0;
    Millis lastEnd = 0;
};

// Input lines noted for what the run did to them, in the order of the file:
// all counted, the first ones kept.
struct NotedLines {
    static constexpr std::int32_t kKept = 10;
    std::int32_t count = 0;
    std::array<std::int32_t, kKept> first{};

    void add(std::int32_t line) {
        if (count < kKept) first[static_cast<std::size_t>(count)] = line;
        ++count;
    }
};

struct RunReport {
    RunFailure failure = RunFailure::none;
    std::string path;    // the file that a failure is about
    // The system's reason, for failures that have one; for times too large,
    // the largest that the output holds ("999:59:59.99").
    std::string reason;
    // Times too large: the first subtitle whose times pass, its place among
    // the subtitles and its line in the input, counted from 1.
    std::int32_t subtitle = 0;
    std::int32_t subtitleLine = 0;
    // Lines not converted in a run whose output is its input, which fails
    // without --strict.
    bool ontoItself = false;
    double frameRate = 0.0;
    // "SRT => SSA ..." once the pair of kinds is known.
    const char* pairText = nullptr;
    std::int32_t subs = 0;
    std::uint32_t elapsedMs = 0;
    NotConvertedLines notConverted;
    MarkupMode markup = MarkupMode::keep;
    MarkupDropped markupDropped;
    // The frame rate that a frame-line input declares on its first line, if any.
    bool declaresFrameRate = false;
    double declaredFrameRate = 0.0;
    // The time change: a log line per operation, and the timing lines of the
    // entries that now overlap the one before them.
    std::vector<std::string> timeChangeLog;
    NotedLines overlaps;
    ChangedTimes changed;

    bool completed() const { return failure == RunFailure::none; }
};

// The lines of the message that a failed run shows, as the dialog words it:
// "Cannot read the input file:", the path, the system's reason.
std::vector<std::string> messageLines(const RunReport& report);

// The lines that a run adds to the log: "SRT => SSA ... done.", an empty line,
// time, subs, the lines skipped and speed; "... failed." and an empty line
// when the output could not be written; nothing when the run stopped before.
std::vector<std::string> logLines(const RunReport& report);

// The lines joined, each followed by `lineEnd`.
std::string joinLines(const std::vector<std::string>& lines, const char* lineEnd);

// printf into a string of any length: the one formatting helper of the engine
// and the front ends.
#if defined(__GNUC__)
__attribute__((format(printf, 1, 2)))
#endif
std::string formatText(const char* format, ...);
