// Writing markup: SSA v4 override blocks, SRT tags, and frame line codes.
#include <cstdio>

#include "markup.h"

namespace {

// The style the SSA writer's output declares: its face and size are what a
// return to the style writes.
constexpr const char* kStyleFace = "Tahoma";
constexpr const char* kStyleSize = "50";

std::string hexColour(std::int32_t rgb, bool bgr, const char* format) {
    const auto v = static_cast<std::uint32_t>(rgb);
    const std::uint32_t value = bgr ? ((v & 0xFF) << 16) | (v & 0xFF00) | ((v >> 16) & 0xFF) : v;
    char text[16];
    std::snprintf(text, sizeof text, format, static_cast<unsigned>(value));
    return text;
}

std::string ssaBlock(const MarkupState& from, const MarkupState& to) {
    std::string codes;
    if (from.face != to.face) codes += "\\fn" + (to.face.empty() ? std::string(kStyleFace) : to.face);
    if (from.size != to.size) codes += "\\fs" + (to.size.empty() ? std::string(kStyleSize) : to.size);
    if (from.colour != to.colour)
        codes += "\\c&H" + (to.colour == kNoColour ? std::string("FFFFFF") : hexColour(to.colour, true, "%06X")) + "&";
    const auto flag = [&](bool was, bool is, const char* name) {
        if (was != is) codes += std::string("\\") + name + (is ? "1" : "0");
    };
    flag(from.bold, to.bold, "b");
    flag(from.italic, to.italic, "i");
    flag(from.underline, to.underline, "u");
    flag(from.strike, to.strike, "s");
    return codes.empty() ? codes : "{" + codes + "}";
}

// A keypad position as SSA v4 numbers its alignments; 2, the default,
// writes nothing.
std::string ssaPosition(int position) {
    static const int kV4[] = {0, 1, 2, 3, 9, 10, 11, 5, 6, 7};
    return position == 2 || position < 1 || position > 9 ? std::string() : "{\\a" + std::to_string(kV4[position]) + "}";
}

bool isOn(const MarkupState& state, MarkupProperty property) {
    switch (property) {
    case MarkupProperty::font: return state.colour != kNoColour || !state.face.empty() || !state.size.empty();
    case MarkupProperty::bold: return state.bold;
    case MarkupProperty::italic: return state.italic;
    case MarkupProperty::underline: return state.underline;
    case MarkupProperty::strike: return state.strike;
    }
    return false;
}

bool changed(const MarkupState& a, const MarkupState& b, MarkupProperty property) {
    if (property == MarkupProperty::font) return a.colour != b.colour || a.face != b.face || a.size != b.size;
    return isOn(a, property) != isOn(b, property);
}

std::string fontTag(const MarkupState& state) {
    std::string tag = "<font";
    if (state.colour != kNoColour) tag += " color=\"" + hexColour(state.colour, false, "#%06x") + "\"";
    if (!state.face.empty()) tag += " face=\"" + state.face + "\"";
    if (!state.size.empty()) tag += " size=\"" + state.size + "\"";
    return tag + ">";
}

const char* const kOpenTags[] = {"", "<b>", "<i>", "<u>", "<s>"};
const char* const kCloseTags[] = {"</font>", "</b>", "</i>", "</u>", "</s>"};

std::string openTag(const MarkupState& state, MarkupProperty property) {
    return property == MarkupProperty::font ? fontTag(state) : kOpenTags[static_cast<int>(property)];
}

// The SRT tags open, bottom first, and the state they show.
struct OpenTags {
    std::vector<MarkupProperty> stack;
    MarkupState shown;
};

// A change: the tags above the lowest one that changes close, it changes,
// the ones still on open again, then those newly on in the order the input
// turned them on.
void changeTo(OpenTags& open, const MarkupPiece& change, std::string& out) {
    const MarkupState& to = change.state;
    std::size_t lowest = open.stack.size();
    for (std::size_t k = 0; k < open.stack.size(); ++k)
        if (changed(open.shown, to, open.stack[k])) {
            lowest = k;
            break;
        }
    std::vector<MarkupProperty> reopen;
    while (open.stack.size() > lowest) {
        out += kCloseTags[static_cast<int>(open.stack.back())];
        reopen.insert(reopen.begin(), open.stack.back());
        open.stack.pop_back();
    }
    for (MarkupProperty property : reopen)
        if (isOn(to, property)) {
            out += openTag(to, property);
            open.stack.push_back(property);
        }
    const auto openNew = [&](MarkupProperty property) {
        for (MarkupProperty already : open.stack)
            if (already == property) return;
        if (!isOn(to, property)) return;
        out += openTag(to, property);
        open.stack.push_back(property);
    };
    for (std::uint8_t k = 0; k < change.orderCount; ++k) openNew(change.order[k]);
    for (int p = 0; p < kMarkupProperties; ++p) openNew(static_cast<MarkupProperty>(p));
    open.shown = to;
}

// The seven things a frame line's codes set, each as text ("" when unset),
// with the code that writes it and the SRT markup that a report names.
constexpr int kFrameProperties = 7;

std::string frameValue(const MarkupState& state, int property) {
    switch (property) {
    case 0: return state.bold ? "b" : "";
    case 1: return state.italic ? "i" : "";
    case 2: return state.underline ? "u" : "";
    case 3: return state.strike ? "s" : "";
    case 4: return state.colour == kNoColour ? "" : hexColour(state.colour, true, "$%06X");
    case 5: return state.face;
    default: return state.size;
    }
}

std::string frameCode(int property, bool whole, const std::string& value) {
    static const char kLetters[] = "yyyycfs";
    const char letter = kLetters[property];
    return std::string("{") + static_cast<char>(whole ? letter - 'a' + 'A' : letter) + ":" + value + "}";
}

std::string srtMarkupOf(int property, const MarkupState& state) {
    if (property < 4) return kOpenTags[property + 1];
    MarkupState font;
    if (property == 4) font.colour = state.colour;
    if (property == 5) font.face = state.face;
    if (property == 6) font.size = state.size;
    return fontTag(font);
}

struct FrameRun {
    const MarkupPiece* piece;
    MarkupState state;
    std::size_t line;
};

}  // namespace

std::vector<std::string> writeSsaMarkup(const MarkedText& text, bool oneLine) {
    std::vector<std::string> lines;
    const std::string position = ssaPosition(text.position);
    MarkupState shown;
    std::string l = position;
    for (const MarkupPiece& piece : text.pieces) {
        switch (piece.kind) {
        case MarkupPiece::Kind::text: l += piece.text; break;
        case MarkupPiece::Kind::change:
            l += ssaBlock(shown, piece.state);
            shown = piece.state;
            break;
        case MarkupPiece::Kind::lineBreak:
            if (oneLine) {
                l += "\\N";
            } else {
                lines.push_back(std::move(l));
                l = position + ssaBlock({}, shown);
            }
            break;
        }
    }
    lines.push_back(std::move(l));
    return lines;
}

std::vector<std::string> writeSrtMarkup(const MarkedText& text) {
    std::vector<std::string> lines;
    std::string l = text.position != 2 ? "{\\an" + std::to_string(text.position) + "}" : std::string();
    OpenTags open;
    // Every tag closes at the end: changes after the last text show nothing.
    std::size_t end = text.pieces.size();
    while (end > 0 && text.pieces[end - 1].kind != MarkupPiece::Kind::text) --end;
    for (std::size_t k = 0; k < text.pieces.size(); ++k) {
        const MarkupPiece& piece = text.pieces[k];
        switch (piece.kind) {
        case MarkupPiece::Kind::text: l += piece.text; break;
        case MarkupPiece::Kind::change:
            if (k < end) changeTo(open, piece, l);
            break;
        case MarkupPiece::Kind::lineBreak:
            lines.push_back(std::move(l));
            l.clear();
            break;
        }
    }
    while (!open.stack.empty()) {
        l += kCloseTags[static_cast<int>(open.stack.back())];
        open.stack.pop_back();
    }
    lines.push_back(std::move(l));
    return lines;
}

std::vector<std::string> writeFrameMarkup(const MarkedText& text, MarkupDropped* dropped) {
    std::vector<FrameRun> runs;
    MarkupState shown;
    std::size_t lineCount = 1;
    for (const MarkupPiece& piece : text.pieces) {
        if (piece.kind == MarkupPiece::Kind::change) shown = piece.state;
        if (piece.kind == MarkupPiece::Kind::lineBreak) ++lineCount;
        if (piece.kind == MarkupPiece::Kind::text) runs.push_back({&piece, shown, lineCount - 1});
    }
    const auto drop = [&](std::int32_t line, const std::string& markup) {
        if (dropped) dropped->add(line, markup);
    };
    if (text.position != 2) drop(text.line, "{\\an" + std::to_string(text.position) + "}");
    std::string wholeCodes;
    std::vector<std::string> lineCodes(lineCount);
    for (int property = 0; property < kFrameProperties && !runs.empty(); ++property) {
        const std::string first = frameValue(runs[0].state, property);
        bool same = true;
        for (const FrameRun& run : runs) same = same && frameValue(run.state, property) == first;
        if (same) {
            if (!first.empty()) wholeCodes += frameCode(property, true, first);
            continue;
        }
        for (std::size_t l = 0; l < lineCount; ++l) {
            const FrameRun* set = nullptr;
            std::string lineValue;
            bool lineSame = true, any = false;
            for (const FrameRun& run : runs) {
                if (run.line != l) continue;
                const std::string v = frameValue(run.state, property);
                if (!any) lineValue = v;
                lineSame = lineSame && (!any || v == lineValue);
                any = true;
                if (!v.empty() && !set) set = &run;
            }
            if (!any || !set) continue;
            if (lineSame) lineCodes[l] += frameCode(property, false, lineValue);
            else drop(set->piece->line, srtMarkupOf(property, set->state));
        }
    }
    std::vector<std::string> lines(lineCount);
    for (std::size_t l = 0; l < lineCount; ++l) lines[l] = (l == 0 ? wholeCodes : std::string()) + lineCodes[l];
    for (const FrameRun& run : runs) lines[run.line] += run.piece->text;
    return lines;
}

std::vector<std::string> plainLines(const MarkedText& text) {
    std::vector<std::string> lines(1);
    for (const MarkupPiece& piece : text.pieces) {
        if (piece.kind == MarkupPiece::Kind::text) lines.back() += piece.text;
        if (piece.kind == MarkupPiece::Kind::lineBreak) lines.emplace_back();
    }
    return lines;
}

std::string visibleText(const MarkedText& text) {
    std::string visible;
    for (const MarkupPiece& piece : text.pieces) {
        if (piece.kind == MarkupPiece::Kind::text) visible += piece.text;
        if (piece.kind == MarkupPiece::Kind::lineBreak) visible += '\n';
    }
    return visible;
}

bool unicodeOutput(const LineStore& store) {
    if (store.encoding != TextEncoding::plain) return true;
    bool wide = false;
    for (std::int32_t i = 0; i < store.count; ++i) {
        const std::string_view l = line(store, i);
        for (std::size_t k = 0; k < l.size();) {
            const auto c = static_cast<unsigned char>(l[k]);
            const std::size_t length = c < 0x80 ? 1 : (c >> 5) == 6 ? 2 : (c >> 4) == 14 ? 3 : (c >> 3) == 30 ? 4 : 0;
            if (length == 0 || k + length > l.size()) return false;
            for (std::size_t j = 1; j < length; ++j)
                if ((static_cast<unsigned char>(l[k + j]) & 0xC0) != 0x80) return false;
            wide = wide || length > 1;
            k += length;
        }
    }
    return wide;
}

const SsaStyle kOutputStyle{"Default", {}, 2, kStyleFace, kStyleSize};

MarkupWriting startMarkupWriting(const LineStore& store, const ConversionSettings& settings) {
    MarkupWriting w;
    w.mode = settings.markup;
    if (w.mode == MarkupMode::keep) return w;
    w.unicode = unicodeOutput(store);
    w.styles = readSsaStyles(store);
    return w;
}

namespace {

std::string joinedLines(const std::vector<std::string>& lines, std::string_view joint) {
    std::string text;
    for (std::size_t k = 0; k < lines.size(); ++k) {
        if (k > 0) text += joint;
        text += lines[k];
    }
    return text;
}

// What the output's reader shows of the lines written.
std::string visibleWritten(const MarkupWriting& w, const std::vector<std::string>& lines, MarkupLayout to) {
    switch (to) {
    case MarkupLayout::ssa: {
        std::string visible;
        for (std::size_t k = 0; k < lines.size(); ++k) {
            if (k > 0) visible += '\n';
            visible += visibleText(readSsaMarkup(lines[k], &kOutputStyle, 0, w.unicode, nullptr));
        }
        return visible;
    }
    case MarkupLayout::frames: return visibleText(readFrameMarkup(joinedLines(lines, "|"), 0, nullptr));
    case MarkupLayout::srt: break;
    }
    std::vector<std::string_view> views(lines.begin(), lines.end());
    return visibleText(readSrtMarkup(views.data(), static_cast<std::int32_t>(views.size()), 0, w.unicode, nullptr));
}

}  // namespace

std::vector<std::string> markupLines(MarkupWriting& w, const MarkedText& text, MarkupLayout to, bool oneLine,
                                     NotConvertedLines& notConverted) {
    std::vector<std::string> lines;
    if (w.mode == MarkupMode::strip) {
        lines = plainLines(text);
        if (to == MarkupLayout::ssa && oneLine) lines = {joinedLines(lines, "\\N")};
    } else if (to == MarkupLayout::ssa) {
        lines = writeSsaMarkup(text, oneLine);
    } else if (to == MarkupLayout::srt) {
        lines = writeSrtMarkup(text);
    } else {
        lines = writeFrameMarkup(text, &w.dropped);
    }
    if (visibleWritten(w, lines, to) != visibleText(text)) notConverted.add(text.line, NotConverted::textReadAsMarkup);
    return lines;
}
