// The text encodings an input may come in, told by its byte-order mark or, for
// UTF-16 without one, by the zero bytes of its first code units: the engine
// works on UTF-8 (or any single-byte text, passed as it is), and the output is
// written back in the input's encoding, mark included where the input had one.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>
#include <vector>

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
// is told by the zero bytes of its first 256 code units (or all, in a shorter
// file): more than half of them have a zero high byte, and at most one in 20
// a zero low byte. Text in other encodings holds no zero bytes.
TextEncoding encodingOf(std::string_view bytes);

// The byte-order mark of an encoding (empty for plain and the unmarked forms).
std::string_view byteOrderMark(TextEncoding encoding);

// Bytes per code unit: 1 for UTF-8 and plain text, 2 for UTF-16, 4 for UTF-32.
int unitBytes(TextEncoding encoding);

// The most UTF-8 bytes that `size` bytes of the encoding decode to.
inline std::size_t utf8CapacityFor(std::size_t size, TextEncoding encoding) {
    return unitBytes(encoding) == 4 ? size + 3 : (size + 1) / 2 * 3;
}

// Where decoding met code units that are no character (an unpaired surrogate,
// a value beyond U+10FFFF), and a character cut short by the end of the text:
// each was written as U+FFFD, at these offsets of the UTF-8 text. Of the
// units on one line only the first is kept.
struct DecodeFaults {
    std::vector<std::size_t> noCharacter;
    bool cutAtEnd = false;
    std::size_t cutOffset = 0;
};

// Decodes UTF-16 or UTF-32 (without its mark) into UTF-8 at `out`, which holds
// at least utf8CapacityFor(size) bytes; returns the bytes written. An unpaired
// surrogate, a value beyond U+10FFFF or a cut unit at the end becomes U+FFFD,
// noted in `faults` when given.
std::size_t decodeToUtf8(const unsigned char* in, std::size_t size, TextEncoding encoding, char* out,
                         DecodeFaults* faults = nullptr);

// Encodes UTF-8 into UTF-16 or UTF-32. `in` may end inside a character: the
// bytes of that character are left unread and their count is returned in
// `pending`, to be passed again in front of the next piece. Bytes that are not
// UTF-8 become U+FFFD. `out` holds at least 4 * size bytes; returns the bytes
// written.
std::size_t encodeFromUtf8(const char* in, std::size_t size, TextEncoding encoding, char* out,
                           std::size_t& pending);
