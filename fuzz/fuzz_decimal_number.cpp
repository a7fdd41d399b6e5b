// Decimal text of any length read into the nearest double: the same length
// and the same bits as the C library's strtod in the "C" locale. The first
// byte chooses whether the rest is taken as it is or spelled with the
// characters of numbers only, where rounding's hard cases lie.
#include <bit>
#include <cstdlib>
#include <string>

#include "decimal_number.h"
#include "fuzz_support.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputBytes input{data, size};
    const bool spelled = input.byte() & 1;
    std::string text;
    while (input.size > 0) {
        const std::uint8_t byte = input.byte();
        text += spelled ? "0123456789.eE+-"[byte % 15] : static_cast<char>(byte);
    }
    double value = -1.0;
    const std::size_t length = readDecimal(text, value);
    // strtod also skips blanks and reads a sign, hexadecimal numbers, "inf" and "nan".
    const char first = text.empty() ? '\0' : text[0];
    const bool hexadecimal = text.size() > 1 && first == '0' && (text[1] == 'x' || text[1] == 'X');
    if (!((first >= '0' && first <= '9') || first == '.') || hexadecimal) return 0;
    char* end = nullptr;
    const double expected = std::strtod(text.c_str(), &end);
    FUZZ_CHECK(length == static_cast<std::size_t>(end - text.c_str()));
    if (length > 0) FUZZ_CHECK(std::bit_cast<std::uint64_t>(value) == std::bit_cast<std::uint64_t>(expected));
    return 0;
}
