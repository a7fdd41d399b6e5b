// Text encodings: telling them by the byte-order mark or the zero bytes of
// UTF-16, UTF-16 and UTF-32 to UTF-8 for reading, and back for writing.
#include "text_encoding.h"

namespace {

bool bigEndian(TextEncoding encoding) {
    return encoding == TextEncoding::utf16be || encoding == TextEncoding::utf16beNoMark ||
           encoding == TextEncoding::utf32be;
}

// Unmarked UTF-16: in the first 256 units, the high byte is zero in more than
// half (the Latin letters, digits and punctuation of subtitles), the low byte
// in at most one in 20. Text in other encodings has no zero bytes, so this
// never takes a file of UTF-8 or a code page for UTF-16.
bool isUnmarkedUtf16(std::string_view bytes, bool bigEndianUnits) {
    const std::size_t units = bytes.size() / 2 < 256 ? bytes.size() / 2 : 256;
    if (units == 0) return false;
    std::size_t zeroHigh = 0, zeroLow = 0;
    for (std::size_t i = 0; i < units; ++i) {
        zeroHigh += bytes[2 * i + (bigEndianUnits ? 0 : 1)] == '\0';
        zeroLow += bytes[2 * i + (bigEndianUnits ? 1 : 0)] == '\0';
    }
    return 2 * zeroHigh > units && 20 * zeroLow <= units;
}

constexpr std::uint32_t kReplacement = 0xFFFD;

char* putUtf8(char* p, std::uint32_t c) {
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

char* putUnit(char* p, std::uint32_t unit, int bytes, bool big) {
    for (int i = 0; i < bytes; ++i) {
        const int shift = 8 * (big ? bytes - 1 - i : i);
        *p++ = static_cast<char>((unit >> shift) & 0xFF);
    }
    return p;
}

// UTF-16 of a code point, or UTF-32: one unit or a surrogate pair.
char* putCodePoint(char* p, std::uint32_t c, int bytes, bool big) {
    if (bytes == 2 && c >= 0x10000) {
        p = putUnit(p, 0xD800 + ((c - 0x10000) >> 10), 2, big);
        return putUnit(p, 0xDC00 + ((c - 0x10000) & 0x3FF), 2, big);
    }
    return putUnit(p, c, bytes, big);
}

// The length of the UTF-8 sequence that begins with `lead`, 0 when none does.
int sequenceLength(unsigned char lead) {
    if (lead < 0x80) return 1;
    if (lead >= 0xC2 && lead < 0xE0) return 2;
    if (lead >= 0xE0 && lead < 0xF0) return 3;
    if (lead >= 0xF0 && lead < 0xF5) return 4;
    return 0;
}

}  // namespace

TextEncoding encodingOf(std::string_view bytes) {
    if (bytes.substr(0, 3) == "\xEF\xBB\xBF") return TextEncoding::utf8Bom;
    if (bytes.substr(0, 4) == std::string_view("\xFF\xFE\0\0", 4)) return TextEncoding::utf32le;
    if (bytes.substr(0, 4) == std::string_view("\0\0\xFE\xFF", 4)) return TextEncoding::utf32be;
    if (bytes.substr(0, 2) == "\xFF\xFE") return TextEncoding::utf16le;
    if (bytes.substr(0, 2) == "\xFE\xFF") return TextEncoding::utf16be;
    if (isUnmarkedUtf16(bytes, false)) return TextEncoding::utf16leNoMark;
    if (isUnmarkedUtf16(bytes, true)) return TextEncoding::utf16beNoMark;
    return TextEncoding::plain;
}

std::string_view byteOrderMark(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::utf8Bom: return "\xEF\xBB\xBF";
    case TextEncoding::utf16le: return "\xFF\xFE";
    case TextEncoding::utf16be: return "\xFE\xFF";
    case TextEncoding::utf32le: return {"\xFF\xFE\0\0", 4};
    case TextEncoding::utf32be: return {"\0\0\xFE\xFF", 4};
    case TextEncoding::plain:
    case TextEncoding::utf16leNoMark:
    case TextEncoding::utf16beNoMark: break;
    }
    return {};
}

int unitBytes(TextEncoding encoding) {
    switch (encoding) {
    case TextEncoding::utf16le:
    case TextEncoding::utf16be:
    case TextEncoding::utf16leNoMark:
    case TextEncoding::utf16beNoMark: return 2;
    case TextEncoding::utf32le:
    case TextEncoding::utf32be: return 4;
    case TextEncoding::plain:
    case TextEncoding::utf8Bom: break;
    }
    return 1;
}

std::size_t decodeToUtf8(const unsigned char* in, std::size_t size, TextEncoding encoding, char* out,
                         DecodeFaults* faults) {
    const int bytes = unitBytes(encoding);
    const bool big = bigEndian(encoding);
    const auto unitAt = [&](std::size_t i) {
        std::uint32_t unit = 0;
        for (int k = 0; k < bytes; ++k) unit = unit << 8 | in[i + static_cast<std::size_t>(big ? k : bytes - 1 - k)];
        return unit;
    };
    const auto step = static_cast<std::size_t>(bytes);
    char* p = out;
    // A unit that is no character, noted unless another stands before it on
    // the same line: a line end between them is looked for from the last one.
    std::size_t lastFault = 0;
    const auto noteFault = [&] {
        if (!faults) return;
        const auto at = static_cast<std::size_t>(p - out);
        bool newLine = faults->noCharacter.empty();
        for (std::size_t k = lastFault; !newLine && k < at; ++k) newLine = out[k] == '\n' || out[k] == '\r';
        if (newLine) faults->noCharacter.push_back(at);
        lastFault = at;
    };
    std::size_t i = 0;
    while (i + step <= size) {
        std::uint32_t c = unitAt(i);
        i += step;
        if (bytes == 2 && c >= 0xD800 && c < 0xDC00 && i + 2 <= size) {
            const std::uint32_t low = unitAt(i);
            if (low >= 0xDC00 && low < 0xE000) {
                c = 0x10000 + ((c - 0xD800) << 10) + (low - 0xDC00);
                i += 2;
            }
        }
        if ((c >= 0xD800 && c < 0xE000) || c > 0x10FFFF) {
            noteFault();
            c = kReplacement;
        }
        p = putUtf8(p, c);
    }
    if (i < size) {  // a unit cut at the end
        if (faults) {
            faults->cutAtEnd = true;
            faults->cutOffset = static_cast<std::size_t>(p - out);
        }
        p = putUtf8(p, kReplacement);
    }
    return static_cast<std::size_t>(p - out);
}

std::size_t encodeFromUtf8(const char* in, std::size_t size, TextEncoding encoding, char* out,
                           std::size_t& pending) {
    const int bytes = unitBytes(encoding);
    const bool big = bigEndian(encoding);
    const auto* s = reinterpret_cast<const unsigned char*>(in);
    char* p = out;
    std::size_t i = 0;
    pending = 0;
    while (i < size) {
        const int length = sequenceLength(s[i]);
        if (length == 1) {
            p = putUnit(p, s[i++], bytes, big);
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
        p = putCodePoint(p, valid ? c : kReplacement, bytes, big);
        i += valid ? static_cast<std::size_t>(length) : (n > 1 ? static_cast<std::size_t>(n) : 1);
    }
    return static_cast<std::size_t>(p - out);
}
