// One conversion run: the settings record, file kinds, the report sink and the
// dispatch from a pair of file kinds to the writer that serves it.
#pragma once

#include <array>
#include <cstdarg>
#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

#include "file_kind.h"

// Path buffers are 260 bytes because the file dialogs write into them directly;
// the program itself never keeps more than 254 characters there.
constexpr std::size_t kPathBufferSize = 260;
constexpr std::size_t kMaxPathChars = 254;

struct ConversionSettings {
    std::array<char, kPathBufferSize> inputPath{};
    std::array<char, kPathBufferSize> outputPath{};
    double frameRate = 25.0;
    bool joinWithNewline = true;
    bool shiftFirstSub = false;
    std::uint32_t firstSubHours = 0;
    std::uint32_t firstSubMinutes = 0;
    std::uint32_t firstSubSeconds = 0;
    std::uint32_t firstSubMillis = 0;
    double firstSubTime = 0.0;  // computed at the start of every run
};

// Copies text into a path buffer, at most kMaxPathChars characters, always terminated.
void setPath(std::array<char, kPathBufferSize>& buffer, std::string_view text);

// Everything a run says goes through these two operations. Each takes a
// printf-style format and its arguments and formats into 1024 bytes.
struct ReportSink {
    void (*appendLog)(void* context, const char* format, std::va_list args);
    void (*showMessage)(void* context, const char* format, std::va_list args);
    void* context;
};

#if defined(__GNUC__)
#define MARLIVA_PRINTF(fmt, first) __attribute__((format(printf, fmt, first)))
#else
#define MARLIVA_PRINTF(fmt, first)
#endif

void sinkLog(const ReportSink& sink, const char* format, ...) MARLIVA_PRINTF(2, 3);
void sinkMessage(const ReportSink& sink, const char* format, ...) MARLIVA_PRINTF(2, 3);

// The message of a refused pair of file kinds.
extern const char kExtensionErrorMessage[];

// What a run came to. The dialog ignores it; the command-line companion turns
// it into an exit status and a batch summary.
struct RunOutcome {
    bool completed = false;  // false when the run showed a message instead of converting
    std::int32_t subs = 0;
    // The input holds a line with more than blanks, though no subtitle came of it.
    bool textWithoutSubs = false;
    // The frame rate that a frame-line input declares on its first line, if any.
    bool declaresFrameRate = false;
    double declaredFrameRate = 0.0;
};

RunOutcome runConversion(ConversionSettings& settings, const ReportSink& sink);

// The report lines after " done.": time, subs and speed, from the elapsed ticks.
void reportRunStatistics(const ReportSink& sink, std::int32_t subs, std::uint32_t elapsedMs);

// A monotonic millisecond counter; differences of two readings never go negative
// when taken as unsigned 32-bit values.
std::uint32_t tickCount();
