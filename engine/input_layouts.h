// Lines as other tools write them, rewritten into the layouts that the writers
// read by columns: SRT timing lines of other shapes, frame lines of any width,
// and SSA v4+ events. A line the writers already read is left as it is.
#pragma once

#include <cstddef>
#include <bit>
#include <cstdint>
#include <cstring>
#include <string_view>

#include "file_kind.h"

// What becomes of one input line in the store.
struct LineLayout {
    enum Action : std::uint8_t { keep, rewrite, drop };
    Action action;
    // rewrite: the stored line is head followed by the input line from tailFrom on.
    std::uint8_t headLength;
    std::size_t tailFrom;
    char head[48];

    // Most lines are kept: the head is filled only for a rewrite.
    LineLayout() : action(keep), headLength(0), tailFrom(0) {}

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

// Eight characters of a shape at once: the bytes that must be equal, and the
// lanes that must hold a digit ('0' in the shape), as words in the byte order
// of the machine, so that a word read from a line compares lane by lane.
struct ShapeWord {
    std::uint64_t literal;  // the shape's characters, 0 in digit lanes
    std::uint64_t digits;   // 0xFF in digit lanes
};

template <std::size_t kLength>
constexpr ShapeWord shapeWord(const char (&shape)[kLength], std::size_t from) {
    std::uint64_t literal = 0, digits = 0;
    for (std::size_t i = 0; i < 8; ++i) {
        const bool digit = shape[from + i] == '0';
        // Little- or big-endian, the lane of byte i is the same as memcpy gives.
        const int shift = std::endian::native == std::endian::little ? 8 * static_cast<int>(i)
                                                                     : 8 * (7 - static_cast<int>(i));
        if (digit) digits |= std::uint64_t{0xFF} << shift;
        else literal |= std::uint64_t{static_cast<unsigned char>(shape[from + i])} << shift;
    }
    return {literal, digits};
}

// Whether the eight characters at p match the shape word: literal lanes
// equal, digit lanes from '0' to '9' (high half 3, low half plus 6 below 16).
inline bool matchesWord(const char* p, const ShapeWord& word) {
    std::uint64_t w;
    std::memcpy(&w, p, sizeof w);
    constexpr std::uint64_t kHigh = 0xF0F0F0F0F0F0F0F0u, kLow = 0x0F0F0F0F0F0F0F0Fu;
    const std::uint64_t wrongLiteral = (w ^ word.literal) & ~word.digits;
    const std::uint64_t wrongHigh = ((w & kHigh) ^ 0x3030303030303030u) & word.digits;
    const std::uint64_t overNine = (((w & kLow) + 0x0606060606060606u) & kHigh) & word.digits;
    return (wrongLiteral | wrongHigh | overNine) == 0;
}

// Most lines of most files already have the layout: these are kept at once,
// eight characters at a time.
inline bool isCanonicalTimingLine(std::string_view line) {
    static constexpr char kShape[] = "00:00:00,000 --> 00:00:00,000";
    static constexpr ShapeWord kWords[] = {shapeWord(kShape, 0), shapeWord(kShape, 8),
                                           shapeWord(kShape, 16), shapeWord(kShape, 21)};
    constexpr std::size_t kLength = sizeof kShape - 1;
    if (line.size() < kLength ||
        (line.size() > kLength && line[kLength] != ' ' && line[kLength] != '\t'))
        return false;
    const char* p = line.data();
    return matchesWord(p, kWords[0]) && matchesWord(p + 8, kWords[1]) &&
           matchesWord(p + 16, kWords[2]) && matchesWord(p + 21, kWords[3]);
}

inline bool isCanonicalFrameLine(std::string_view line) {
    static constexpr char kShape[] = "{000000}{000000}";
    static constexpr ShapeWord kWords[] = {shapeWord(kShape, 0), shapeWord(kShape, 8)};
    return line.size() >= 16 && matchesWord(line.data(), kWords[0]) &&
           matchesWord(line.data() + 8, kWords[1]);
}

// Whether a line after the first is kept as it is, decided without the work
// of reading other layouts: nearly every line of nearly every file is.
inline bool keptAsIs(FileKind kind, std::string_view line) {
    if (line.empty()) return true;
    const char c = line[0];
    if (kind == FileKindSsa) return c != 'D';
    if (kind != FileKindSrt) return true;
    if (c == '{') return isCanonicalFrameLine(line);
    if (c >= '0' && c <= '9') {
        // A time has a colon after its first one or two digits; entry numbers do not.
        if (!(line.size() > 2 && (line[1] == ':' || line[2] == ':'))) return true;
        return isCanonicalTimingLine(line);
    }
    return c != '-' && c != ' ' && c != '\t';
}

// The layouts of one input, line after line.
struct InputLayouts {
    FileKind kind;
    bool firstLine = true;
    bool declaresFrameRate = false;
    double declaredFrameRate = 0.0;
};

LineLayout nextLineLayout(InputLayouts& layouts, std::string_view line);
