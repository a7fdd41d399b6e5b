// What the writers share: numbers in decimal, texts with their separators
// replaced, the room an output is expected to take, the first-subtitle shift,
// and finishing an output.
#pragma once

#include <cstdint>
#include <string_view>

#include "byte_scan.h"
#include "line_store.h"
#include "output_file.h"
#include "writers.h"

// Room to ask for the output before writing it: the outputs of these
// conversions are about the size of their input, and never far beyond twice it.
inline std::size_t expectedOutputBytes(const LineStore& store) {
    return 2 * (store.textMemory.size + store.indexMemory.size);
}

// Writes value in decimal with at least `digits` digits, zero-filled after
// any minus sign, as printf's "%.*d" does; returns the end. Writers print
// numbers this way rather than with printf, which would cost more than all
// the rest of a conversion.
inline char* putDigits(char* p, std::int32_t value, int digits) {
    char reversed[12];
    int n = 0;
    std::uint32_t v = value < 0 ? 0u - static_cast<std::uint32_t>(value) : static_cast<std::uint32_t>(value);
    do {
        reversed[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (value < 0) *p++ = '-';
    for (int i = n; i < digits; ++i) *p++ = '0';
    while (n > 0) *p++ = reversed[--n];
    return p;
}

inline void putDecimal(OutputFile& out, std::int32_t value) {
    char digits[12];
    put(out, std::string_view(digits, static_cast<std::size_t>(putDigits(digits, value, 1) - digits)));
}

// The text, each `separator` in it written as `joint`.
inline void putJoined(OutputFile& out, std::string_view text, char separator, std::string_view joint) {
    if (!containsByte(text, separator)) {
        put(out, text);
        return;
    }
    for (std::size_t mark; (mark = text.find(separator)) != std::string_view::npos;) {
        put(out, text.substr(0, mark));
        put(out, joint);
        text.remove_prefix(mark + 1);
    }
    put(out, text);
}

// Whether a text holds a backslash and an "n" or an "N", which a script's
// reader takes for a line break.
inline bool holdsScriptBreak(std::string_view text, char n) {
    for (std::size_t at = text.find('\\'); at != std::string_view::npos; at = text.find('\\', at + 1))
        if (at + 1 < text.size() && text[at + 1] == n) return true;
    return false;
}

// The first-subtitle shift of one writer: when the settings ask for it, the
// first entry the writer writes fixes it, so that this entry starts at the
// first-sub time; every time the writer computes, that entry's included, is
// moved by it.
struct FirstSubShift {
    bool on;
    double target;
    bool fixed = false;
    double by = 0.0;
};

inline FirstSubShift firstSubShift(const ConversionSettings& settings) {
    return FirstSubShift{settings.shiftFirstSub, firstSubSeconds(settings)};
}

// What a writer over the entries of an SRT file keeps while it writes.
struct EntryWriting {
    OutputFile& out;
    const LineStore& store;
    const ConversionSettings& settings;
    FirstSubShift shift;
    std::int32_t subs = 0;
    NotConvertedLines notConverted;
};

// The shift for an entry that starts at `start` seconds.
inline double shiftFor(FirstSubShift& shift, double start) {
    if (shift.on && !shift.fixed) {
        shift.by = shift.target - start;
        shift.fixed = true;
    }
    return shift.by;
}

// The outcome of a writer whose output could not be opened.
inline WriteOutcome failedOutcome(const OutputFile& out) {
    WriteOutcome outcome;
    outcome.error = out.error;
    outcome.notRegularFile = out.notRegularFile;
    return outcome;
}

// Notes the lines after an end-of-file mark, then puts the output in place,
// unless the run is strict and some input line was not converted: then the
// output is abandoned and nothing is written.
WriteOutcome finishOutput(OutputFile& out, const ConversionSettings& settings, const LineStore& store,
                          std::int32_t subs, NotConvertedLines& notConverted);
