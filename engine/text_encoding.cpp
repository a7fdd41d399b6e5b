// Text encodings: telling them by the byte-order mark, UTF-16 to UTF-8 for
// reading, and UTF-8 back to UTF-16 for writing.
#include "text_encoding.h"

TextEncoding encodingOf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return TextEncoding::utf8Bom;
    if (bytes.substr(0, 2) == "\xFF\xFE") return TextEncoding::utf16le;
    if (bytes.substr(0, 2) == "\xFE\xFF") return TextEncoding::utf16be;
    return TextEncoding::plain;
}

std::string_view byteOrderMark(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::utf8Bom: return "\xEF\xBB\xBF";
    case TextEncoding::utf16le: return "\xFF\xFE";
    case TextEncoding::utf16be: return "\xFE\xFF";
    case TextEncoding::plain: break;
    }
    return {};
}

static constexpr std::uint32_t kReplacement = 0xFFFD;

static char* putUtf8(char* p, std::uint32_t c) {
    if (c < 0x80) {
        *p++ = static_cast<char>(c);
    } else if (c < 0x800) {
        *p++ = static_cast<char>(0xC0 | (c >> 6));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else if (c < 0x10000) {
        *p++ = static_cast<char>(0xE0 | (c >> 12));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    } else {
        *p++ = static_cast<char>(0xF0 | (c >> 18));
        *p++ = static_cast<char>(0x80 | ((c >> 12) & 0x3F));
        *p++ = static_cast<char>(0x80 | ((c >> 6) & 0x3F));
        *p++ = static_cast<char>(0x80 | (c & 0x3F));
    }
    return p;
}

std::size_t decodeUtf16(const unsigned char* in, std::size_t size, bool bigEndian, char* out) {
    const auto unitAt = [&](std::size_t i) -> std::uint32_t {
        return bigEndian ? (in[i] << 8 | in[i + 1]) : (in[i + 1] << 8 | in[i]);
    };
    char* p = out;
    std::size_t i = 0;
    while (i + 1 < size) {
        std::uint32_t c = unitAt(i);
        i += 2;
        if (c >= 0xD800 && c < 0xDC00 && i + 1 < size) {
            const std::uint32_t low = unitAt(i);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if (c >= 0xD800 && c < 0xE000) c = kReplacement;  // a surrogate left alone
        p = putUtf8(p, c);
    }
    if (i < size) p = putUtf8(p, kReplacement);  // half a unit at the end
    return static_cast<std::size_t>(p - out);
}

static char* putUtf16Unit(char* p, std::uint32_t unit, bool bigEndian) {
    const char high = static_cast<char>(unit >> 8), low = static_cast<char>(unit & 0xFF);
    *p++ = bigEndian ? high : low;
    *p++ = bigEndian ? low : high;
    return p;
}

// The length of the UTF-8 sequence that begins with `lead`, 0 when none does.
static int sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead < 0xE0) return 2;
    if (lead >= 0xE0 && lead < 0xF0) return 3;
    if (lead >= 0xF0 && lead < 0xF5) return 4;
    return 0;
}

std::size_t encodeUtf16(const char* in, std::size_t size, bool bigEndian, char* out,
                        std::size_t& pending) {
    const auto* s = reinterpret_cast<const unsigned char*>(in);
    char* p = out;
    std::size_t i = 0;
    pending = 0;
    while (i < size) {
        const int length = sequenceLength(s[i]);
        if (length == 1) {
            p = putUtf16Unit(p, s[i++], bigEndian);
            continue;
        }
        std::uint32_t c = length == 0 ? 0 : s[i] & (0x7F >> length);
        int n = 1;
        for (; n < length && i + n < size && (s[i + n] & 0xC0) == 0x80; ++n) c = c << 6 | (s[i + n] & 0x3F);
        if (length > 1 && n < length && i + n == size) {
            pending = size - i;  // the piece ends inside this character
            break;
        }
        const bool valid = length > 1 && n == length &&
                           !(length == 3 && (c < 0x800 || (c >= 0xD800 && c < 0xE000))) &&
                           !(length == 4 && (c < 0x10000 || c > 0x10FFFF));
        if (!valid) {
            p = putUtf16Unit(p, kReplacement, bigEndian);
            i += n > 1 ? n : 1;
            continue;
        }
        if (c >= 0x10000) {
            p = putUtf16Unit(p, 0xD800 + ((c - 0x10000) >> 10), bigEndian);
            p = putUtf16Unit(p, 0xDC00 + ((c - 0x10000) & 0x3FF), bigEndian);
        } else {
            p = putUtf16Unit(p, c, bigEndian);
        }
        i += length;
    }
    return static_cast<std::size_t>(p - out);
}
