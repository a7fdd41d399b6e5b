// The text encodings an input may come in, told by its byte-order mark or, for
// UTF-16 without one, by the zero bytes of its first characters: the engine
// works on UTF-8 (or any single-byte text, passed as it is), and the output is
// written back in the input's encoding, mark included where the input had one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class TextEncoding : std::uint8_t {
    plain,          // no byte-order mark: bytes pass as they are (UTF-8, cp1252, ...)
    utf8Bom,        // UTF-8 after the three bytes EF BB BF
    utf16le,        // UTF-16 after FF FE
    utf16be,        // UTF-16 after FE FF
    utf16leNoMark,  // UTF-16 without a mark, told by its zero bytes
    utf16beNoMark,
    utf32le,        // UTF-32 after FF FE 00 00
    utf32be,        // UTF-32 after 00 00 FE FF
};

// The encoding that the first bytes of a file announce. UTF-16 without a mark
// is taken only when its first 64 code units (or all, in a shorter file) are
// ASCII: a zero byte in every unit's high byte and in no low byte.
TextEncoding encodingOf(std::string_view bytes);

// The byte-order mark of an encoding (empty for plain and the unmarked forms).
std::string_view byteOrderMark(TextEncoding encoding);

// Bytes per code unit: 1 for UTF-8 and plain text, 2 for UTF-16, 4 for UTF-32.
int unitBytes(TextEncoding encoding);

// The most UTF-8 bytes that `size` bytes of the encoding decode to.
inline std::size_t utf8CapacityFor(std::size_t size, TextEncoding encoding) {
    return unitBytes(encoding) == 4 ? size + 3 : (size + 1) / 2 * 3;
}

// Decodes UTF-16 or UTF-32 (without its mark) into UTF-8 at `out`, which holds
// at least utf8CapacityFor(size) bytes; returns the bytes written. An unpaired
// surrogate, a value beyond U+10FFFF or a cut unit at the end becomes U+FFFD.
std::size_t decodeToUtf8(const unsigned char* in, std::size_t size, TextEncoding encoding, char* out);

// Encodes UTF-8 into UTF-16 or UTF-32. `in` may end inside a character: the
// bytes of that character are left unread and their count is returned in
// `pending`, to be passed again in front of the next piece. Bytes that are not
// UTF-8 become U+FFFD. `out` holds at least 4 * size bytes; returns the bytes
// written.
std::size_t encodeFromUtf8(const char* in, std::size_t size, TextEncoding encoding, char* out,
                           std::size_t& pending);
