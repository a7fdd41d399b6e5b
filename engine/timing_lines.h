// Reading the lines that time subtitles, in the layouts that other tools
// write as well as in the program's own: SRT timing lines, frame lines, the
// frame rate a frame-line file may declare, entry numbers, and SSA event times.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "characters.h"
#include "fast_paths.h"
#include "shape_words.h"
#include "time_value.h"

enum LineKind : int { LineKindNone = 0, LineKindSrt = 1, LineKindFrame = 2 };

// "H:M:S,mmm --> H:M:S,mmm" with hours of one to three digits (or none),
// minutes and seconds below 60 of one or two digits, or more with leading
// zeros ("013" is 13); a fraction after ",", "." or ":" of any number of
// digits (rounded half up to milliseconds) or none; the arrows "-->", "--->",
// "->", "-- >", "- >" and "→"; blanks (spaces, tabs, no-break spaces) around
// the parts; and what follows the end time (coordinates, say) ignored,
// unless it is a further digit. A time with a minus sign is 0.
inline bool readTimingLine(std::string_view line, TimeSpan& times);
// The same for lines not in the program's own shape, which readTimingLine
// reads first, inline.
bool readOtherTimingLine(std::string_view line, TimeSpan& times);

// Whether a line looks like a timing line, read or not: an arrow between
// digits, the line's first word before it and the word after it each holding
// one ("00:00:0x,000 --> 00:00:04,000", "45,055,50,999 --> 45:55:51:000"), or
// an arrow with a group of digits and colons on one side ("--> 02:00:10,901",
// "02:00:12,901 -->"). Such a line is never taken for text.
bool looksLikeTimingLine(std::string_view line);

struct FrameSpan {
    std::int32_t start = 0;
    std::int32_t end = 0;
    std::size_t textFrom = 0;  // where the text begins in the line
};

// "{A}{B}text" with frame numbers of one to nine digits; a negative frame is 0.
inline bool readFrameLine(std::string_view line, FrameSpan& frames);
bool readOtherFrameLine(std::string_view line, FrameSpan& frames);
// "{A}{B}" with numbers of any length: a frame line, read or not.
bool looksLikeFrameLine(std::string_view line);

// A first line "{1}{1}R" or "{0}{0}R", R a decimal number with a point or a
// comma, blanks after it allowed: the frame rate the file declares, in `rate`.
bool isFrameRateDeclaration(std::string_view line, double& rate);

// An entry's number: digits, maybe with a "." after them ("2."), with blanks
// around them; or an empty line.
inline bool isNumberLine(std::string_view line);
bool isOtherNumberLine(std::string_view line);

// An SSA event time, without blanks around it: "H:MM:SS" with hours of one to
// three digits, then "." or ":" and one to three digits of a decimal fraction
// of a second, or no fraction. A time with a minus sign is 0.
inline bool readEventTime(std::string_view field, Millis& time);
bool readOtherEventTime(std::string_view field, Millis& time);

// The program's own shapes are read first, inline (shape_words.h); every
// other layout out of line.
inline bool readTimingLine(std::string_view line, TimeSpan& times) {
    return (kFastPaths && readOwnTimingLine(line, times)) || readOtherTimingLine(line, times);
}

inline bool readFrameLine(std::string_view line, FrameSpan& frames) {
    if (kFastPaths && readOwnFrameLine(line, frames.start, frames.end)) {
        frames.textFrom = kOwnFrameLineLength;
        return true;
    }
    return readOtherFrameLine(line, frames);
}

// Digits alone are told inline; blanks around them take the longer way.
inline bool isNumberLine(std::string_view line) {
    std::size_t i = 0;
    while (kFastPaths && i < line.size() && isDigit(line[i])) ++i;
    return (kFastPaths && i == line.size()) || isOtherNumberLine(line);
}

inline bool readEventTime(std::string_view field, Millis& time) {
    return (kFastPaths && readOwnEventTime(field, time)) || readOtherEventTime(field, time);
}
