// The frame-rate box's text as a number: the longest decimal prefix, locale-free.
#include "frame_rate_text.h"

#include <cmath>
#include <cstddef>

#include "decimal_number.h"

namespace {

bool isSpace(char c) { return c == ' ' || (c >= '\t' && c <= '\r'); }

}  // namespace

double frameRateOfText(std::string_view text) {
    std::size_t at = 0;
    while (at < text.size() && isSpace(text[at])) ++at;
    bool negative = false;
    if (at < text.size() && (text[at] == '+' || text[at] == '-')) {
        negative = text[at] == '-';
        ++at;
    }
    double value = 0.0;
    // A number too large for a double ("1e999") counts as no number.
    if (readDecimal(text.substr(at), value) == 0 || !std::isfinite(value)) return 0.0;
    return negative ? -value : value;
}
