// Reading markup: SRT tags (and SSA blocks typed into SRT), SSA override
// blocks, and the codes at the start of a frame line's lines.
#include <algorithm>
#include <cstring>

#include "characters.h"
#include "markup.h"

namespace {

bool isLetter(char c) { return (c >= 'a' && c <= 'z') || (c >= 'A' && c <= 'Z'); }

int hexValue(char c) {
    if (isDigit(c)) return c - '0';
    c = lowerCase(c);
    return c >= 'a' && c <= 'f' ? c - 'a' + 10 : -1;
}

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// Hex digits, at least `least` and at most `most` of them, as a number.
bool readHex(std::string_view s, std::size_t least, std::size_t most, std::uint32_t& value) {
    if (s.size() < least || s.size() > most) return false;
    value = 0;
    for (char c : s) {
        const int digit = hexValue(c);
        if (digit < 0) return false;
        value = value * 16 + static_cast<std::uint32_t>(digit);
    }
    return true;
}

// BBGGRR, as SSA and frame lines hold colours, to 0xRRGGBB.
std::int32_t fromBgr(std::uint32_t bgr) {
    return static_cast<std::int32_t>(((bgr & 0xFF) << 16) | (bgr & 0xFF00) | ((bgr >> 16) & 0xFF));
}

struct NamedColour {
    const char* name;
    std::uint32_t rgb;
};

const NamedColour kCssColours[] = {
    {"aliceblue", 0xF0F8FF}, {"antiquewhite", 0xFAEBD7}, {"aqua", 0x00FFFF}, {"aquamarine", 0x7FFFD4},
    {"azure", 0xF0FFFF}, {"beige", 0xF5F5DC}, {"bisque", 0xFFE4C4}, {"black", 0x000000},
    {"blanchedalmond", 0xFFEBCD}, {"blue", 0x0000FF}, {"blueviolet", 0x8A2BE2}, {"brown", 0xA52A2A},
    {"burlywood", 0xDEB887}, {"cadetblue", 0x5F9EA0}, {"chartreuse", 0x7FFF00}, {"chocolate", 0xD2691E},
    {"coral", 0xFF7F50}, {"cornflowerblue", 0x6495ED}, {"cornsilk", 0xFFF8DC}, {"crimson", 0xDC143C},
    {"cyan", 0x00FFFF}, {"darkblue", 0x00008B}, {"darkcyan", 0x008B8B}, {"darkgoldenrod", 0xB8860B},
    {"darkgray", 0xA9A9A9}, {"darkgreen", 0x006400}, {"darkgrey", 0xA9A9A9}, {"darkkhaki", 0xBDB76B},
    {"darkmagenta", 0x8B008B}, {"darkolivegreen", 0x556B2F}, {"darkorange", 0xFF8C00}, {"darkorchid", 0x9932CC},
    {"darkred", 0x8B0000}, {"darksalmon", 0xE9967A}, {"darkseagreen", 0x8FBC8F}, {"darkslateblue", 0x483D8B},
    {"darkslategray", 0x2F4F4F}, {"darkslategrey", 0x2F4F4F}, {"darkturquoise", 0x00CED1},
    {"darkviolet", 0x9400D3}, {"deeppink", 0xFF1493}, {"deepskyblue", 0x00BFFF}, {"dimgray", 0x696969},
    {"dimgrey", 0x696969}, {"dodgerblue", 0x1E90FF}, {"firebrick", 0xB22222}, {"floralwhite", 0xFFFAF0},
    {"forestgreen", 0x228B22}, {"fuchsia", 0xFF00FF}, {"gainsboro", 0xDCDCDC}, {"ghostwhite", 0xF8F8FF},
    {"gold", 0xFFD700}, {"goldenrod", 0xDAA520}, {"gray", 0x808080}, {"green", 0x008000},
    {"greenyellow", 0xADFF2F}, {"grey", 0x808080}, {"honeydew", 0xF0FFF0}, {"hotpink", 0xFF69B4},
    {"indianred", 0xCD5C5C}, {"indigo", 0x4B0082}, {"ivory", 0xFFFFF0}, {"khaki", 0xF0E68C},
    {"lavender", 0xE6E6FA}, {"lavenderblush", 0xFFF0F5}, {"lawngreen", 0x7CFC00}, {"lemonchiffon", 0xFFFACD},
    {"lightblue", 0xADD8E6}, {"lightcoral", 0xF08080}, {"lightcyan", 0xE0FFFF},
    {"lightgoldenrodyellow", 0xFAFAD2}, {"lightgray", 0xD3D3D3}, {"lightgreen", 0x90EE90},
    {"lightgrey", 0xD3D3D3}, {"lightpink", 0xFFB6C1}, {"lightsalmon", 0xFFA07A}, {"lightseagreen", 0x20B2AA},
    {"lightskyblue", 0x87CEFA}, {"lightslategray", 0x778899}, {"lightslategrey", 0x778899},
    {"lightsteelblue", 0xB0C4DE}, {"lightyellow", 0xFFFFE0}, {"lime", 0x00FF00}, {"limegreen", 0x32CD32},
    {"linen", 0xFAF0E6}, {"magenta", 0xFF00FF}, {"maroon", 0x800000}, {"mediumaquamarine", 0x66CDAA},
    {"mediumblue", 0x0000CD}, {"mediumorchid", 0xBA55D3}, {"mediumpurple", 0x9370DB},
    {"mediumseagreen", 0x3CB371}, {"mediumslateblue", 0x7B68EE}, {"mediumspringgreen", 0x00FA9A},
    {"mediumturquoise", 0x48D1CC}, {"mediumvioletred", 0xC71585}, {"midnightblue", 0x191970},
    {"mintcream", 0xF5FFFA}, {"mistyrose", 0xFFE4E1}, {"moccasin", 0xFFE4B5}, {"navajowhite", 0xFFDEAD},
    {"navy", 0x000080}, {"oldlace", 0xFDF5E6}, {"olive", 0x808000}, {"olivedrab", 0x6B8E23},
    {"orange", 0xFFA500}, {"orangered", 0xFF4500}, {"orchid", 0xDA70D6}, {"palegoldenrod", 0xEEE8AA},
    {"palegreen", 0x98FB98}, {"paleturquoise", 0xAFEEEE}, {"palevioletred", 0xDB7093},
    {"papayawhip", 0xFFEFD5}, {"peachpuff", 0xFFDAB9}, {"peru", 0xCD853F}, {"pink", 0xFFC0CB},
    {"plum", 0xDDA0DD}, {"powderblue", 0xB0E0E6}, {"purple", 0x800080}, {"rebeccapurple", 0x663399},
    {"red", 0xFF0000}, {"rosybrown", 0xBC8F8F}, {"royalblue", 0x4169E1}, {"saddlebrown", 0x8B4513},
    {"salmon", 0xFA8072}, {"sandybrown", 0xF4A460}, {"seagreen", 0x2E8B57}, {"seashell", 0xFFF5EE},
    {"sienna", 0xA0522D}, {"silver", 0xC0C0C0}, {"skyblue", 0x87CEEB}, {"slateblue", 0x6A5ACD},
    {"slategray", 0x708090}, {"slategrey", 0x708090}, {"snow", 0xFFFAFA}, {"springgreen", 0x00FF7F},
    {"steelblue", 0x4682B4}, {"tan", 0xD2B48C}, {"teal", 0x008080}, {"thistle", 0xD8BFD8},
    {"tomato", 0xFF6347}, {"turquoise", 0x40E0D0}, {"violet", 0xEE82EE}, {"wheat", 0xF5DEB3},
    {"white", 0xFFFFFF}, {"whitesmoke", 0xF5F5F5}, {"yellow", 0xFFFF00}, {"yellowgreen", 0x9ACD32},
};

// "&H" and up to eight hex digits, an "&" after them or not: BBGGRR in the
// low 24 bits.
bool readSsaColour(std::string_view s, std::int32_t& rgb) {
    if (s.size() < 3 || s[0] != '&' || lowerCase(s[1]) != 'h') return false;
    s.remove_prefix(2);
    if (!s.empty() && s.back() == '&') s.remove_suffix(1);
    std::uint32_t bgr;
    if (!readHex(s, 1, 8, bgr)) return false;
    rgb = fromBgr(bgr & 0xFFFFFF);
    return true;
}

// A style's colour: "&H" and hex digits, or a decimal number (negative ones
// too), BBGGRR in the low 24 bits.
bool readStyleColour(std::string_view s, std::int32_t& rgb) {
    s = trimmed(s);
    if (readSsaColour(s, rgb)) return true;
    const bool negative = !s.empty() && s[0] == '-';
    if (negative) s.remove_prefix(1);
    if (s.empty() || s.size() > 10) return false;
    std::int64_t value = 0;
    for (char c : s) {
        if (!isDigit(c)) return false;
        value = value * 10 + (c - '0');
    }
    if (negative) value = -value;
    rgb = fromBgr(static_cast<std::uint32_t>(value) & 0xFFFFFF);
    return true;
}

bool readCount(std::string_view s, int& value) { return readNineDigits(s, value); }

// A size: digits with one point among them or none.
bool isSize(std::string_view s) {
    bool digits = false, point = false;
    for (char c : s) {
        if (isDigit(c)) digits = true;
        else if (c == '.' && !point) point = true;
        else return false;
    }
    return digits && s.size() <= 16;
}

// A face or size that the writers can put between quotes and into SSA's
// blocks.
bool writableValue(std::string_view value) {
    return value.find_first_of("\"\\{}|<>") == std::string_view::npos;
}

// SSA v4 alignment (1-3 bottom, 5-7 top, 9-11 middle) as a keypad position.
int positionOfV4(int alignment) {
    static const int kPositions[] = {0, 1, 2, 3, 0, 7, 8, 9, 0, 4, 5, 6};
    return alignment >= 1 && alignment <= 11 ? kPositions[alignment] : 0;
}

// Bold from a style's field or a "\b" code: -1 and 1 are bold, as are
// weights from 700 on.
bool boldValue(int value, bool negative) { return negative ? value == 1 : value == 1 || value >= 700; }

// One subtitle being read: depth counts of bold, italic, underline and
// strike, the fonts opened (the first is the style's), and the text and
// changes gathered so far.
struct Reading {
    MarkedText out;
    std::array<int, 4> depth{};
    std::vector<MarkupState> fonts;  // colour, face and size are read from these
    MarkupState base;                // the style's state, which "\r" returns to
    int basePosition = 2;
    bool positionSet = false;
    MarkupState shown;  // the state as of the last change given
    std::array<MarkupProperty, kMarkupProperties> order{};
    std::uint8_t orderCount = 0;
    std::string text;
    std::int32_t line = 0;
    bool unicode = false;
    bool drawing = false;  // between "\p1" and "\p0": a drawing, no text
    MarkupDropped* dropped = nullptr;
    const std::vector<SsaStyle>* styles = nullptr;
    std::string_view styleFace, styleSize;  // the event's style's own

    MarkupState current() const {
        MarkupState state = fonts.empty() ? MarkupState{} : fonts.back();
        state.bold = depth[0] > 0;
        state.italic = depth[1] > 0;
        state.underline = depth[2] > 0;
        state.strike = depth[3] > 0;
        return state;
    }
};

void drop(Reading& r, std::string_view text) {
    if (r.dropped) r.dropped->add(r.line, text);
}

void touched(Reading& r, MarkupProperty property) {
    for (std::uint8_t k = 0; k < r.orderCount; ++k)
        if (r.order[k] == property) return;
    r.order[r.orderCount++] = property;
}

bool differs(const MarkupState& a, const MarkupState& b, MarkupProperty property) {
    switch (property) {
    case MarkupProperty::font: return a.colour != b.colour || a.face != b.face || a.size != b.size;
    case MarkupProperty::bold: return a.bold != b.bold;
    case MarkupProperty::italic: return a.italic != b.italic;
    case MarkupProperty::underline: return a.underline != b.underline;
    case MarkupProperty::strike: return a.strike != b.strike;
    }
    return false;
}

void flushText(Reading& r) {
    if (r.text.empty()) return;
    MarkupPiece piece;
    piece.text = std::move(r.text);
    piece.line = r.line;
    r.out.pieces.push_back(std::move(piece));
    r.text.clear();
}

// Ends a run of tags: the state after it, where it differs from the state
// before, becomes a change.
void settle(Reading& r) {
    const MarkupState now = r.current();
    if (now != r.shown) {
        flushText(r);
        MarkupPiece piece;
        piece.kind = MarkupPiece::Kind::change;
        piece.state = now;
        piece.line = r.line;
        for (std::uint8_t k = 0; k < r.orderCount; ++k)
            if (differs(r.shown, now, r.order[k])) piece.order[piece.orderCount++] = r.order[k];
        for (int p = 0; p < kMarkupProperties; ++p) {
            const auto property = static_cast<MarkupProperty>(p);
            if (!differs(r.shown, now, property)) continue;
            bool listed = false;
            for (std::uint8_t k = 0; k < piece.orderCount; ++k) listed = listed || piece.order[k] == property;
            if (!listed) piece.order[piece.orderCount++] = property;
        }
        r.out.pieces.push_back(std::move(piece));
        r.shown = now;
    }
    r.orderCount = 0;
}

void addText(Reading& r, std::string_view text) {
    settle(r);
    r.text += text;
}

void addBreak(Reading& r) {
    settle(r);
    flushText(r);
    MarkupPiece piece;
    piece.kind = MarkupPiece::Kind::lineBreak;
    piece.line = r.line;
    r.out.pieces.push_back(std::move(piece));
}

MarkedText finish(Reading& r) {
    settle(r);
    flushText(r);
    r.out.position = r.positionSet ? r.out.position : r.basePosition;
    return std::move(r.out);
}

void start(Reading& r, const MarkupState& base, int position, std::int32_t line, bool unicode,
           MarkupDropped* dropped) {
    r.base = base;
    r.basePosition = position;
    r.fonts = {base};
    r.depth = {base.bold, base.italic, base.underline, base.strike};
    r.line = line;
    r.out.line = line;
    r.unicode = unicode;
    r.dropped = dropped;
    if (base.colour != kNoColour) touched(r, MarkupProperty::font);
}

void setFlag(Reading& r, int which, bool on) {
    r.depth[static_cast<std::size_t>(which)] = on ? std::max(r.depth[static_cast<std::size_t>(which)], 1) : 0;
    touched(r, static_cast<MarkupProperty>(which + 1));
}

void setPosition(Reading& r, int position) {
    if (r.positionSet || position < 1 || position > 9) return;
    r.positionSet = true;
    r.out.position = position;
}

// Back to a style: the event's own, or the one named.
void resetTo(Reading& r, std::string_view name) {
    MarkupState state = r.base;
    if (!name.empty() && r.styles)
        if (const SsaStyle* style = styleNamed(*r.styles, name)) state = style->state;
    r.depth = {state.bold, state.italic, state.underline, state.strike};
    r.fonts = {state};
    for (int p = 0; p < kMarkupProperties; ++p) touched(r, static_cast<MarkupProperty>(p));
}

// One code of an override block, without its backslash; false when it is
// none that the model holds.
bool applyCode(Reading& r, std::string_view code) {
    int value = 0;
    const char name = code.empty() ? '\0' : code[0];
    const std::string_view rest = code.empty() ? code : code.substr(1);
    const auto flag = [&](int which) {
        if (rest.empty()) {
            const MarkupState& base = r.base;
            const bool flags[] = {base.bold, base.italic, base.underline, base.strike};
            setFlag(r, which, flags[which]);
            return true;
        }
        if (!readCount(rest, value)) return false;
        if (which == 0) setFlag(r, 0, boldValue(value, false));
        else if (value <= 1) setFlag(r, which, value == 1);
        else return false;
        return true;
    };
    switch (name) {
    case 'b': return flag(0);
    case 'i': return flag(1);
    case 'u': return flag(2);
    case 's': return flag(3);
    case 'a':
        if (rest.size() > 1 && rest[0] == 'n' && readCount(rest.substr(1), value) && value >= 1 && value <= 9) {
            setPosition(r, value);
            return true;
        }
        if (readCount(rest, value) && positionOfV4(value) > 0) {
            setPosition(r, positionOfV4(value));
            return true;
        }
        return false;
    case 'r':
        resetTo(r, rest);
        return true;
    case 'f':
        if (rest.empty() || (rest[0] != 'n' && rest[0] != 's')) return false;
        // The style's own face and size are none of the text's.
        if (rest[0] == 'n') {
            const std::string_view face = trimmed(rest.substr(1));
            if (!writableValue(face)) return false;
            r.fonts.back().face = face == r.styleFace ? r.base.face : std::string(face);
        } else {
            const std::string_view size = rest.substr(1);
            if (!size.empty() && !isSize(size)) return false;
            r.fonts.back().size = size == r.styleSize ? r.base.size : std::string(size);
        }
        touched(r, MarkupProperty::font);
        return true;
    case '1':
    case 'c': {
        std::string_view colour = rest;
        if (name == '1') {
            if (rest.empty() || rest[0] != 'c') return false;
            colour = rest.substr(1);
        }
        std::int32_t rgb = r.base.colour;
        if (!colour.empty() && !readSsaColour(colour, rgb)) return false;
        // White is the colour of the output's style: no colour of its own.
        r.fonts.back().colour = rgb == 0xFFFFFF ? kNoColour : rgb;
        touched(r, MarkupProperty::font);
        return true;
    }
    default: return false;
    }
}

// An override block, the text between "{" and "}": codes each after a
// backslash, a code with parentheses up to the one that closes them.
void applyBlock(Reading& r, std::string_view block) {
    std::size_t at = block.find('\\');
    if (const std::string_view before = trimmed(block.substr(0, at)); !before.empty())
        drop(r, std::string("{").append(before).append("}"));
    while (at != std::string_view::npos) {
        std::size_t end = at + 1;
        int depth = 0;
        while (end < block.size() && (depth > 0 || block[end] != '\\')) {
            if (block[end] == '(') ++depth;
            if (block[end] == ')' && depth > 0) --depth;
            ++end;
        }
        const std::string_view code = trimmed(block.substr(at + 1, end - at - 1));
        int level = 0;
        if (code.size() > 1 && code[0] == 'p' && readCount(code.substr(1), level)) {
            r.drawing = level > 0;
            drop(r, "{\\" + std::string(code) + "}");
        } else if (!code.empty() && !applyCode(r, code)) {
            drop(r, "{\\" + std::string(code) + "}");
        }
        at = end < block.size() ? end : std::string_view::npos;
    }
}

const char kNoBreakSpace[] = "\xC2\xA0";

// SSA text: override blocks, comments, and the escapes \N, \n and \h.
void readSsaText(Reading& r, std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        const char c = s[i];
        if (c == '{') {
            const std::size_t close = s.find('}', i + 1);
            if (close != std::string_view::npos) {
                const std::string_view block = s.substr(i + 1, close - i - 1);
                if (block.find('\\') != std::string_view::npos) applyBlock(r, block);
                else drop(r, s.substr(i, close - i + 1));
                i = close + 1;
                continue;
            }
        }
        if (c == '\\' && i + 1 < s.size() && (s[i + 1] == 'N' || s[i + 1] == 'n' || s[i + 1] == 'h')) {
            if (s[i + 1] == 'h') {
                if (!r.drawing) addText(r, r.unicode ? kNoBreakSpace : " ");
            } else {
                addBreak(r);
            }
            i += 2;
            continue;
        }
        if (!r.drawing) addText(r, s.substr(i, 1));
        ++i;
    }
}

// The length of a tag-like token at s[i] ("<", an optional "/", a letter,
// letters or digits, then ">" at once or after blanks and attributes
// name=value), 0 when there is none. A "<" right after another starts none,
// so that "<<Bonjour>>" stays text.
std::size_t tagLength(std::string_view s, std::size_t i) {
    const std::size_t n = s.size();
    if (i > 0 && s[i - 1] == '<') return 0;
    std::size_t j = i + 1;
    if (j < n && s[j] == '/') ++j;
    if (j >= n || !isLetter(s[j])) return 0;
    while (j < n && (isLetter(s[j]) || isDigit(s[j]))) ++j;
    while (true) {
        std::size_t k = j;
        while (k < n && isBlank(s[k])) ++k;
        if (k < n && s[k] == '>') return k + 1 - i;
        if (k + 1 < n && s[k] == '/' && s[k + 1] == '>') return k + 2 - i;
        if (k == j || k >= n || !isLetter(s[k])) return 0;
        while (k < n && (isLetter(s[k]) || isDigit(s[k]) || s[k] == '-' || s[k] == '_')) ++k;
        while (k < n && isBlank(s[k])) ++k;
        if (k >= n || s[k] != '=') return 0;
        ++k;
        while (k < n && isBlank(s[k])) ++k;
        if (k < n && (s[k] == '"' || s[k] == '\'')) {
            const std::size_t close = s.find(s[k], k + 1);
            if (close == std::string_view::npos) return 0;
            k = close + 1;
        } else {
            const std::size_t from = k;
            while (k < n && !isBlank(s[k]) && s[k] != '>' && s[k] != '"' && s[k] != '\'') ++k;
            if (k == from) return 0;
        }
        j = k;
    }
}

struct Attribute {
    std::string_view name;
    std::string_view value;
};

// The name of a tag and its attributes; `closing` for "</...>".
struct Tag {
    std::string_view name;
    bool closing = false;
    std::vector<Attribute> attributes;
};

Tag parseTag(std::string_view token) {
    Tag tag;
    std::size_t j = 1;
    if (token[j] == '/') {
        tag.closing = true;
        ++j;
    }
    const std::size_t from = j;
    while (isLetter(token[j]) || isDigit(token[j])) ++j;
    tag.name = token.substr(from, j - from);
    while (true) {
        while (isBlank(token[j])) ++j;
        if (token[j] == '>' || (token[j] == '/' && token[j + 1] == '>')) break;
        const std::size_t nameFrom = j;
        while (token[j] != '=' && !isBlank(token[j])) ++j;
        Attribute attribute{token.substr(nameFrom, j - nameFrom), {}};
        while (token[j] != '=') ++j;
        ++j;
        while (isBlank(token[j])) ++j;
        if (token[j] == '"' || token[j] == '\'') {
            const std::size_t close = token.find(token[j], j + 1);
            attribute.value = token.substr(j + 1, close - j - 1);
            j = close + 1;
        } else {
            const std::size_t valueFrom = j;
            while (!isBlank(token[j]) && token[j] != '>' && token[j] != '"' && token[j] != '\'') ++j;
            attribute.value = token.substr(valueFrom, j - valueFrom);
        }
        tag.attributes.push_back(attribute);
    }
    return tag;
}

void applyFont(Reading& r, const Tag& tag, std::string_view token) {
    MarkupState font = r.fonts.back();
    bool readAll = true;
    for (const Attribute& attribute : tag.attributes) {
        const std::string_view value = trimmed(attribute.value);
        if (equalsIgnoringCase(attribute.name, "color")) {
            std::int32_t rgb;
            if (readHtmlColour(value, rgb)) font.colour = rgb == 0xFFFFFF ? kNoColour : rgb;
            else readAll = false;
        } else if (equalsIgnoringCase(attribute.name, "face") && writableValue(value)) {
            font.face = value;
        } else if (equalsIgnoringCase(attribute.name, "size") && isSize(value)) {
            font.size = value;
        } else {
            readAll = false;
        }
    }
    if (!readAll) drop(r, token);
    r.fonts.push_back(font);
    touched(r, MarkupProperty::font);
}

void applyTag(Reading& r, std::string_view token) {
    const Tag tag = parseTag(token);
    static const char kFlags[] = "bius";
    if (tag.name.size() == 1 && tag.attributes.empty()) {
        const char* flag = std::strchr(kFlags, lowerCase(tag.name[0]));
        if (flag && *flag) {
            const auto which = static_cast<std::size_t>(flag - kFlags);
            if (!tag.closing) ++r.depth[which];
            else if (r.depth[which] > 0) --r.depth[which];
            touched(r, static_cast<MarkupProperty>(which + 1));
            return;
        }
    }
    if (equalsIgnoringCase(tag.name, "font")) {
        if (!tag.closing) {
            applyFont(r, tag, token);
            return;
        }
        if (tag.attributes.empty()) {
            if (r.fonts.size() > 1) r.fonts.pop_back();
            touched(r, MarkupProperty::font);
            return;
        }
    }
    if (equalsIgnoringCase(tag.name, "br") && !tag.closing && tag.attributes.empty()) {
        addBreak(r);
        return;
    }
    drop(r, token);
}

void readSrtLine(Reading& r, std::string_view s) {
    for (std::size_t i = 0; i < s.size();) {
        if (s[i] == '<') {
            if (const std::size_t length = tagLength(s, i); length > 0) {
                applyTag(r, s.substr(i, length));
                i += length;
                continue;
            }
        }
        if (s[i] == '{') {
            const std::size_t close = s.find('}', i + 1);
            if (close != std::string_view::npos && s.substr(i, close - i).find('\\') != std::string_view::npos) {
                applyBlock(r, s.substr(i + 1, close - i - 1));
                i = close + 1;
                continue;
            }
        }
        if (!r.drawing) addText(r, s.substr(i, 1));
        ++i;
    }
}

// A frame line's code at the start of s: "{X:value}" with X one of the
// codes it knows; its length, 0 when s does not start with one.
std::size_t frameCodeLength(std::string_view s) {
    if (s.size() < 4 || s[0] != '{' || s[1] == '\0' || s[2] != ':' || !std::strchr("yYcCfFsSPoH", s[1])) return 0;
    const std::size_t close = s.find('}');
    return close == std::string_view::npos ? 0 : close + 1;
}

// What a frame line's codes set: for the whole subtitle (upper case) or a line.
struct FrameCodes {
    std::array<bool, 4> flags{};
    std::int32_t colour = kNoColour;
    std::string face, size;
};

void applyFrameCode(Reading& r, std::string_view code, FrameCodes& codes) {
    const char kind = lowerCase(code[1]);
    const std::string_view value = code.substr(3, code.size() - 4);
    if (kind == 'y') {
        for (char c : value)
            if (const char* flag = std::strchr("bius", lowerCase(c)); flag && *flag)
                codes.flags[static_cast<std::size_t>(flag - "bius")] = true;
        return;
    }
    std::uint32_t bgr;
    if (kind == 'c' && value.size() > 1 && value[0] == '$' && readHex(value.substr(1), 1, 6, bgr)) {
        const std::int32_t rgb = fromBgr(bgr);
        codes.colour = rgb == 0xFFFFFF ? kNoColour : rgb;
    } else if (kind == 'f' && writableValue(value)) {
        codes.face = value;
    } else if (kind == 's' && isSize(value)) {
        codes.size = value;
    } else {
        drop(r, code);
    }
}

// The state of a line: the subtitle's codes, overridden by the line's own.
void assign(Reading& r, const FrameCodes& whole, const FrameCodes& line) {
    MarkupState state;
    state.colour = line.colour != kNoColour ? line.colour : whole.colour;
    state.face = !line.face.empty() ? line.face : whole.face;
    state.size = !line.size.empty() ? line.size : whole.size;
    r.fonts = {state};
    // What the whole subtitle sets opens first, so that it closes last.
    if (whole.colour != kNoColour || !whole.face.empty() || !whole.size.empty()) touched(r, MarkupProperty::font);
    for (std::size_t k = 0; k < 4; ++k)
        if (whole.flags[k]) touched(r, static_cast<MarkupProperty>(k + 1));
    touched(r, MarkupProperty::font);
    for (std::size_t k = 0; k < 4; ++k) {
        r.depth[k] = whole.flags[k] || line.flags[k] ? 1 : 0;
        touched(r, static_cast<MarkupProperty>(k + 1));
    }
}

std::string_view afterStyle(std::string_view name) {
    return !name.empty() && name[0] == '*' ? name.substr(1) : name;
}

}  // namespace

bool readHtmlColour(std::string_view text, std::int32_t& rgb) {
    std::string_view digits = text;
    if (!digits.empty() && digits[0] == '#') digits.remove_prefix(1);
    else if (digits.size() > 2 && digits[0] == '0' && lowerCase(digits[1]) == 'x') digits.remove_prefix(2);
    std::uint32_t value;
    if (digits.size() == 6 && readHex(digits, 6, 6, value)) {
        rgb = static_cast<std::int32_t>(value);
        return true;
    }
    if (digits.size() == 3 && text[0] == '#' && readHex(digits, 3, 3, value)) {
        const std::uint32_t red = value >> 8, green = (value >> 4) & 0xF, blue = value & 0xF;
        rgb = static_cast<std::int32_t>((red * 0x11) << 16 | (green * 0x11) << 8 | blue * 0x11);
        return true;
    }
    for (const NamedColour& colour : kCssColours)
        if (equalsIgnoringCase(text, colour.name)) {
            rgb = static_cast<std::int32_t>(colour.rgb);
            return true;
        }
    return false;
}

constexpr int kStyleFields = 7;

std::vector<SsaStyle> readSsaStyles(const LineStore& store) {
    std::vector<SsaStyle> styles;
    bool inStyles = false, plus = false;
    // Name, Bold, Italic, PrimaryColour, Alignment, Fontname and Fontsize,
    // as the Format line places them (or v4's and v4+'s own order without one).
    static const int kV4[kStyleFields] = {0, 7, 8, 3, 12, 1, 2}, kV4Plus[kStyleFields] = {0, 7, 8, 3, 18, 1, 2};
    int fields[kStyleFields];
    std::copy(kV4, kV4 + kStyleFields, fields);
    for (std::int32_t i = 0; i < store.count; ++i) {
        const std::string_view l = trimmed(line(store, i));
        if (l.empty()) continue;
        if (l[0] == '[') {
            plus = equalsIgnoringCase(l, "[V4+ Styles]");
            inStyles = plus || equalsIgnoringCase(l, "[V4 Styles]");
            std::copy(plus ? kV4Plus : kV4, (plus ? kV4Plus : kV4) + kStyleFields, fields);
            continue;
        }
        if (!inStyles || l.size() < 7) continue;
        const std::string_view head = l.substr(0, 6);
        std::vector<std::string_view> values;
        std::string_view rest = l.substr(equalsIgnoringCase(head.substr(0, 6), "Format") ? 6 : 5);
        if (rest.empty() || rest[0] != ':') continue;
        rest.remove_prefix(1);
        for (std::size_t comma; (comma = rest.find(',')) != std::string_view::npos; rest.remove_prefix(comma + 1))
            values.push_back(trimmed(rest.substr(0, comma)));
        values.push_back(trimmed(rest));
        if (equalsIgnoringCase(head, "Format")) {
            static const char* const kNames[kStyleFields] = {"Name",      "Bold",     "Italic",  "PrimaryColour",
                                                             "Alignment", "Fontname", "Fontsize"};
            for (int f = 0; f < kStyleFields; ++f) {
                fields[f] = -1;
                for (std::size_t v = 0; v < values.size(); ++v)
                    if (equalsIgnoringCase(values[v], kNames[f])) fields[f] = static_cast<int>(v);
            }
            continue;
        }
        if (!equalsIgnoringCase(l.substr(0, 5), "Style")) continue;
        const auto field = [&](int f) {
            return fields[f] >= 0 && static_cast<std::size_t>(fields[f]) < values.size()
                       ? values[static_cast<std::size_t>(fields[f])]
                       : std::string_view();
        };
        SsaStyle style;
        style.name = field(0);
        style.face = field(5);
        style.size = field(6);
        int value = 0;
        const std::string_view bold = field(1), italic = field(2);
        if (!bold.empty() && bold[0] == '-') style.state.bold = readCount(bold.substr(1), value) && value == 1;
        else style.state.bold = readCount(bold, value) && boldValue(value, false);
        style.state.italic = !italic.empty() && italic != "0";
        std::int32_t rgb;
        if (readStyleColour(field(3), rgb) && rgb != 0xFFFFFF) style.state.colour = rgb;
        if (readCount(field(4), value)) {
            if (plus && value >= 1 && value <= 9) style.position = value;
            if (!plus && positionOfV4(value) > 0) style.position = positionOfV4(value);
        }
        styles.push_back(std::move(style));
    }
    return styles;
}

const SsaStyle* styleNamed(const std::vector<SsaStyle>& styles, std::string_view name) {
    name = afterStyle(trimmed(name));
    for (const SsaStyle& style : styles)
        if (style.name == name) return &style;
    for (const SsaStyle& style : styles)
        if (style.name == "Default") return &style;
    return nullptr;
}

MarkedText readSrtMarkup(const std::string_view* lines, std::int32_t count, std::int32_t firstLine, bool unicode,
                         MarkupDropped* dropped) {
    Reading r;
    start(r, {}, 2, firstLine, unicode, dropped);
    for (std::int32_t k = 0; k < count; ++k) {
        if (k > 0) addBreak(r);
        r.line = firstLine + k;
        readSrtLine(r, lines[k]);
    }
    return finish(r);
}

MarkedText readSsaMarkup(std::string_view text, const SsaStyle* style, std::int32_t line, bool unicode,
                         MarkupDropped* dropped) {
    Reading r;
    start(r, style ? style->state : MarkupState{}, style ? style->position : 2, line, unicode, dropped);
    if (style) {
        r.styleFace = style->face;
        r.styleSize = style->size;
        // The style's flags show from the first character on.
        const bool flags[] = {style->state.bold, style->state.italic, style->state.underline, style->state.strike};
        for (int p = 1; p < kMarkupProperties; ++p)
            if (flags[p - 1]) touched(r, static_cast<MarkupProperty>(p));
    }
    readSsaText(r, text);
    return finish(r);
}

MarkedText readFrameMarkup(std::string_view text, std::int32_t line, MarkupDropped* dropped) {
    Reading r;
    start(r, {}, 2, line, false, dropped);
    FrameCodes whole;
    bool first = true;
    while (true) {
        const std::size_t bar = text.find('|');
        std::string_view s = text.substr(0, bar);
        if (!first) addBreak(r);
        FrameCodes own;
        bool coded = false;
        for (std::size_t length; (length = frameCodeLength(s)) > 0; s.remove_prefix(length)) {
            const std::string_view code = s.substr(0, length);
            applyFrameCode(r, code, code[1] >= 'a' && code[1] <= 'z' ? own : whole);
            coded = true;
        }
        if (coded || !first) assign(r, whole, own);
        for (char c : s) addText(r, std::string_view(&c, 1));
        // A line's own codes end with it.
        if (bar == std::string_view::npos) break;
        assign(r, whole, {});
        settle(r);
        text.remove_prefix(bar + 1);
        first = false;
    }
    return finish(r);
}
