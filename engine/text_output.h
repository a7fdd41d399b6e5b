// Pieces of output the writers share: numbers in decimal, texts with their
// separators replaced, and the room an output is expected to take.
#pragma once

#include <cstdint>
#include <string_view>

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
    // Straight into the buffer, which always has room for eleven characters
    // once it has gone out.
    if (out.capacity - out.used < 12) flushOutput(out);
    char* at = out.buffer + out.used;
    out.used += static_cast<std::size_t>(putDigits(at, value, 1) - at);
}

// The text, each `separator` in it written as `joint`.
inline void putJoined(OutputFile& out, std::string_view text, char separator, std::string_view joint) {
    for (std::size_t mark; (mark = text.find(separator)) != std::string_view::npos;) {
        put(out, text.substr(0, mark));
        put(out, joint);
        text.remove_prefix(mark + 1);
    }
    put(out, text);
}

// The outcome of a writer whose output could not be opened.
inline WriteOutcome failedOutcome(const OutputFile& out) {
    WriteOutcome outcome;
    outcome.error = out.error;
    return outcome;
}

// Puts the output in place, unless the run is strict and some input line was
// not converted: then the output is abandoned and nothing is written.
inline WriteOutcome finishOutput(OutputFile& out, const ConversionSettings& settings,
                                 std::int32_t subs, const NotConvertedLines& notConverted) {
    WriteOutcome outcome;
    outcome.subs = subs;
    outcome.notConverted = notConverted;
    if (settings.strict && notConverted.count > 0) return outcome;  // the destructor removes it
    outcome.written = commitOutput(out);
    outcome.error = out.error;
    return outcome;
}
