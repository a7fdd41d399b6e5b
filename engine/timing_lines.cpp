// Timing lines: reading the numbers of SRT timing lines and frame lines at
// their fixed columns.
#include "timing_lines.h"


static std::int32_t wholeSeconds(const char* line, int hourColumn) {
    const int h = digitAt(line, hourColumn);
    const int m = digitAt(line, hourColumn + 2) * 10 + digitAt(line, hourColumn + 3);
    const int s = digitAt(line, hourColumn + 5) * 10 + digitAt(line, hourColumn + 6);
    return h * 3600 + m * 60 + s;
}

std::int32_t srtStart(const char* line) { return wholeSeconds(line, 1); }
std::int32_t srtEnd(const char* line) { return wholeSeconds(line, 18); }

// Reads digits from `column` on until a "}". Unsigned arithmetic so that a long
// run of digits wraps instead of overflowing; a frame line always has a "}" at
// column 7 or 15 ahead of the scan, so it never leaves the line.
static int readFrameNumber(const char* line, int column, std::int32_t& value) {
    std::uint32_t n = static_cast<std::uint32_t>(digitAt(line, column));
    int c = column + 1;
    for (; line[c] != '}'; ++c) n = n * 10u + static_cast<std::uint32_t>(digitAt(line, c));
    value = static_cast<std::int32_t>(n);
    return c;
}

FrameFields frameFields(const char* line) {
    FrameFields fields{};
    const int startBrace = readFrameNumber(line, 1, fields.start);
    const int endBrace = readFrameNumber(line, startBrace + 2, fields.end);
    fields.textColumn = endBrace + 1;
    return fields;
}
