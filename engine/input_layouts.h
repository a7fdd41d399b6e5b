// Lines as other tools write them, rewritten into the layouts that the writers
// read by columns: SRT timing lines of other shapes, frame lines of any width,
// and SSA v4+ events. A line the writers already read is left as it is.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

#include "file_kind.h"

// What becomes of one input line in the store.
struct LineLayout {
    enum Action : std::uint8_t { keep, rewrite, drop };
    Action action = keep;
    // rewrite: the stored line is head followed by the input line from tailFrom on.
    std::uint8_t headLength = 0;
    std::size_t tailFrom = 0;
    char head[48];

    std::string_view headText() const { return {head, headLength}; }
    // The stored line's length, for an input line of `length` characters.
    std::size_t storedLength(std::size_t length) const {
        return action == rewrite ? headLength + (length - tailFrom) : length;
    }
};

// "h:mm:ss,mmm --> ..." in other shapes ("0:01:02.5 -> 0:01:04", "01:02,300 --> ...")
// and "{A}{B}text" with frame numbers of one to six digits.
LineLayout srtLineLayout(std::string_view line);

// "Dialogue:" events whose times do not stand at the columns of a v4 event
// ("Dialogue: 0,0:00:01.00,...", "00:01:39.00").
LineLayout ssaLineLayout(std::string_view line);

// A first line "{0}{0}R" or "{1}{1}R" with R a decimal number: the frame rate
// that the file declares, not a subtitle. R is stored in `rate`.
bool isFrameRateDeclaration(std::string_view line, double& rate);

// The layouts of one input, line after line.
struct InputLayouts {
    FileKind kind;
    bool firstLine = true;
    bool declaresFrameRate = false;
    double declaredFrameRate = 0.0;
};

LineLayout nextLineLayout(InputLayouts& layouts, std::string_view line);
