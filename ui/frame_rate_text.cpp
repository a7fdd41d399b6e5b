// The frame-rate box's text as a number: the longest decimal prefix, locale-free.
#include "frame_rate_text.h"

#include <charconv>
#include <cstddef>

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

std::size_t skipDigits(std::string_view text, std::size_t at) {
    while (at < text.size() && isDigit(text[at])) ++at;
    return at;
}

// Length of the longest prefix of `text` of the form digits[.digits][e[sign]digits]
// with at least one digit before the exponent; 0 when there is none.
std::size_t unsignedNumberLength(std::string_view text) {
    std::size_t end = skipDigits(text, 0);
    std::size_t mantissaDigits = end;
    if (end < text.size() && text[end] == '.') {
        std::size_t afterPoint = skipDigits(text, end + 1);
        mantissaDigits += afterPoint - (end + 1);
        end = afterPoint;
    }
    if (mantissaDigits == 0) return 0;
    if (end < text.size() && (text[end] == 'e' || text[end] == 'E')) {
        std::size_t at = end + 1;
        if (at < text.size() && (text[at] == '+' || text[at] == '-')) ++at;
        std::size_t afterExponent = skipDigits(text, at);
        if (afterExponent > at) end = afterExponent;
    }
    return end;
}

}  // namespace

double frameRateOfText(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    std::string_view rest = text.substr(at);
    std::size_t length = unsignedNumberLength(rest);
    if (length == 0) return 0.0;
    double value = 0.0;
    // A number too large or too small for a double ("1e999") counts as no number.
    std::from_chars_result result =
        std::from_chars(rest.data(), rest.data() + length, value, std::chars_format::general);
    if (result.ec == std::errc::result_out_of_range) {
        value = 0.0;
    }
    return negative ? -value : value;
}
