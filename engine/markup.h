// Markup of a subtitle's text: italics, bold, underline, strike-out, colour,
// face, size and position, read from SRT tags, SSA override blocks and frame
// line codes into one model, and written in each layout's own way. Nothing
// carries from one subtitle into the next.
#pragma once

#include <array>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "conversion_settings.h"
#include "line_store.h"
#include "run_report.h"

constexpr std::int32_t kNoColour = -1;

// How text looks: colour as 0xRRGGBB or kNoColour; an empty face or size is
// the one the player or the style chooses.
struct MarkupState {
    bool bold = false;
    bool italic = false;
    bool underline = false;
    bool strike = false;
    std::int32_t colour = kNoColour;
    std::string face;
    std::string size;

    bool operator==(const MarkupState&) const = default;
};

// The properties a change may touch, in the order in which SRT tags open.
enum class MarkupProperty : std::uint8_t { font, bold, italic, underline, strike };
constexpr int kMarkupProperties = 5;

struct MarkupPiece {
    enum class Kind : std::uint8_t { text, lineBreak, change };
    Kind kind = Kind::text;
    std::string text;     // text
    MarkupState state;    // change: the state from here on
    // change: the properties that changed, in the order the input changed
    // them, so that an SRT writer opens them in that order.
    std::array<MarkupProperty, kMarkupProperties> order{};
    std::uint8_t orderCount = 0;
    std::int32_t line = 0;  // the input line, counted from 1
};

// One subtitle's text: runs of text, the changes between them where the
// input had markup, its line breaks, and one position for the whole
// subtitle, as on a numeric keypad (2: bottom centre).
struct MarkedText {
    std::vector<MarkupPiece> pieces;
    int position = 2;
    std::int32_t line = 0;  // its first input line, counted from 1
};

// A style of an SSA script: the state and position its events start with,
// and its face and size, which "\fn" and "\fs" return to.
struct SsaStyle {
    std::string name;
    MarkupState state;
    int position = 2;
    std::string face, size;
};

// The styles of the script's [V4 Styles] or [V4+ Styles] sections.
std::vector<SsaStyle> readSsaStyles(const LineStore& store);

// The style an event names (an asterisk before the name is no part of it),
// else the style "Default", else none.
const SsaStyle* styleNamed(const std::vector<SsaStyle>& styles, std::string_view name);

// The readers. `unicode`: whether a no-break space is written as U+00A0 (else
// a space). Markup that no layout here can express is noted in `dropped`
// when it is given.
MarkedText readSrtMarkup(const std::string_view* lines, std::int32_t count, std::int32_t firstLine, bool unicode,
                         MarkupDropped* dropped);
MarkedText readSsaMarkup(std::string_view text, const SsaStyle* style, std::int32_t line, bool unicode,
                         MarkupDropped* dropped);
MarkedText readFrameMarkup(std::string_view text, std::int32_t line, MarkupDropped* dropped);

// The writers, each giving the text's lines. SSA: the lines joined by "\N"
// into one, or one line each (`oneLine` false), each of which starts from
// the style. Frame lines note the formatting and position they cannot hold.
std::vector<std::string> writeSsaMarkup(const MarkedText& text, bool oneLine);
std::vector<std::string> writeSrtMarkup(const MarkedText& text);
std::vector<std::string> writeFrameMarkup(const MarkedText& text, MarkupDropped* dropped);
// The text without any markup.
std::vector<std::string> plainLines(const MarkedText& text);

// What a reader shows of the text: its characters, a line feed for each line
// break.
std::string visibleText(const MarkedText& text);

// A colour as SRT's font tag gives it: "#RRGGBB", "RRGGBB", "0xRRGGBB",
// "#RGB" or a CSS colour name, in any case. False when it is none of them.
bool readHtmlColour(std::string_view text, std::int32_t& rgb);

// Whether an output written in this store's encoding is Unicode: a marked or
// wide encoding, or bytes that are UTF-8 and not all ASCII.
bool unicodeOutput(const LineStore& store);

// The layouts a subtitle's text is written in.
enum class MarkupLayout : std::uint8_t { srt, ssa, frames };

// What a writer keeps to write its subtitles' markup in translate or strip
// mode: whether a no-break space is U+00A0, the input script's styles, and
// the markup dropped.
struct MarkupWriting {
    MarkupMode mode = MarkupMode::keep;
    bool unicode = false;
    std::vector<SsaStyle> styles;
    MarkupDropped dropped;
};

MarkupWriting startMarkupWriting(const LineStore& store, const ConversionSettings& settings);

// The style the SSA writer's scripts declare in translate and strip mode.
extern const SsaStyle kOutputStyle;

// The output's lines for a subtitle's text (SSA: "\N" between them when
// `oneLine`). Text that the output would read back otherwise (SSA's braces
// and "\N", a tag-like "<...>" in SRT, a "|" in frame lines) is written as
// it stands and noted as not converted on the subtitle's first line.
std::vector<std::string> markupLines(MarkupWriting& w, const MarkedText& text, MarkupLayout to, bool oneLine,
                                     NotConvertedLines& notConverted);
