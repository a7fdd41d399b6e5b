// The text encodings an input may come in, told by its byte-order mark: the
// engine works on UTF-8 (or any single-byte text, passed as it is), and the
// output is written back in the input's encoding.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string_view>

enum class TextEncoding : std::uint8_t {
    plain,    // no byte-order mark: bytes pass as they are (UTF-8, cp1252, ...)
    utf8Bom,  // UTF-8 after the three bytes EF BB BF
    utf16le,  // UTF-16 after FF FE
    utf16be,  // UTF-16 after FE FF
};

// The encoding that the first bytes of a file announce.
TextEncoding encodingOf(std::string_view bytes);

// The byte-order mark of an encoding (empty for plain).
std::string_view byteOrderMark(TextEncoding encoding);

// The most UTF-8 bytes that `utf16Bytes` bytes of UTF-16 decode to.
inline std::size_t utf8CapacityFor(std::size_t utf16Bytes) { return (utf16Bytes + 1) / 2 * 3; }

// Decodes UTF-16 (without its mark) into UTF-8 at `out`, which holds at least
// utf8CapacityFor(size) bytes; returns the bytes written. An unpaired
// surrogate, or an odd byte at the end, becomes U+FFFD. `out` may be the same
// memory as `in` placed at its end: the writing never overtakes the reading
// when out + utf8CapacityFor(size) == in + size.
std::size_t decodeUtf16(const unsigned char* in, std::size_t size, bool bigEndian, char* out);

// Encodes UTF-8 into UTF-16. `in` may end inside a character: the bytes of
// that character are left unread and their count is returned in `pending`, to
// be passed again in front of the next piece. Bytes that are not UTF-8 become
// U+FFFD. `out` holds at least 2 * size bytes; returns the bytes written.
std::size_t encodeUtf16(const char* in, std::size_t size, bool bigEndian, char* out,
                        std::size_t& pending);
