// Recognising and reading the two kinds of timing line, and printing pairs of times.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstring>
#include <string_view>

enum LineKind : int { LineKindNone = 0, LineKindSrt = 1, LineKindFrame = 2 };

// Seconds added to every time a writer computes; 0 at the start of each run.
using TimeShift = double;

// Both tests read columns only of lines long enough to hold them: the last
// column tested must be there. Writers ask them of every line, so they are inline.
inline bool isSrtTimingLine(std::string_view line) {
    return line.size() > 25 && line[2] == ':' && line[5] == ':' && line[8] == ',' &&
           line[13] == '-' && line[14] == '-' && line[15] == '>' && line[19] == ':' &&
           line[22] == ':' && line[25] == ',';
}

inline bool isFrameLine(std::string_view line) {
    return line.size() > 15 && line[0] == '{' && line[7] == '}' && line[8] == '{' && line[15] == '}';
}

// With lock 1 only the SRT test is made, with lock 2 only the frame test, with
// lock 0 the SRT test first.
inline LineKind classifyLine(std::string_view line, int lock) {
    if (lock != LineKindFrame && isSrtTimingLine(line)) return LineKindSrt;
    if (lock != LineKindSrt && isFrameLine(line)) return LineKindFrame;
    return LineKindNone;
}

std::int32_t srtStart(const char* line);
std::int32_t srtEnd(const char* line);

struct FrameFields {
    std::int32_t start;
    std::int32_t end;
    int textColumn;
};
FrameFields frameFields(const char* line);

// The first columns of a line, with zero bytes after its end: the writers
// read times and fields at fixed columns, and a column beyond a short line's
// end reads as zero, which is never a digit, a colon or a brace.
struct LineColumns {
    char at[48];
};

// Copied in pieces of fixed size, which compile to a few moves, where one
// copy of a varying size would cost a call or a slow string instruction.
inline const char* columnsOf(std::string_view line, LineColumns& columns) {
    char* to = columns.at;
    const char* from = line.data();
    const std::size_t n = line.size() < sizeof columns.at ? line.size() : sizeof columns.at;
    std::memset(to, 0, sizeof columns.at);
    if (n >= 16) {
        // Sixteen bytes from the start, the middle and the end, overlapping.
        std::memcpy(to, from, 16);
        if (n > 32) std::memcpy(to + 16, from + 16, 16);
        std::memcpy(to + n - 16, from + n - 16, 16);
    } else {
        for (std::size_t i = 0; i < n; ++i) to[i] = from[i];
    }
    return columns.at;
}

// A character taken as a signed byte, minus '0'.
inline int digitAt(const char* line, int column) {
    return static_cast<int>(static_cast<signed char>(line[column])) - '0';
}

// Enough for any pair of times these formatters print, however large.
constexpr std::size_t kTimesBufferSize = 96;

// "0,h:mm:ss.cc,h:mm:ss.cc": the Marked value and the two times of a Dialogue line.
void formatSsaTimes(double a, double b, char* out, std::size_t outSize);
// "hh:mm:ss,mmm --> hh:mm:ss,mmm".
void formatSrtTimes(double a, double b, char* out, std::size_t outSize);

// A value rounded to `decimals` places the way the program prints times: first
// written with 17 significant digits, then that digit string rounded half up.
// Returns value * 10^decimals as an integer; value must be finite and >= 0.
std::int64_t roundScaled(double value, int decimals);

// A time in seconds multiplied by the frame rate, plus 0.5, cut toward zero;
// negative results give 0 and results beyond the 32-bit range the largest frame.
std::int32_t timeToFrame(double seconds, double frameRate);
