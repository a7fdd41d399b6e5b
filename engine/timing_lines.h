// Recognising and reading the two kinds of timing line at their fixed columns.
#pragma once

#include <cstddef>
#include <cstdint>
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

// A character taken as a signed byte, minus '0'.
inline int digitAt(const char* line, int column) {
    return static_cast<int>(static_cast<signed char>(line[column])) - '0';
}
