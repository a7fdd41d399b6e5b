// Decimal numbers as people write them ("29.97", "23,976" once its comma is a
// point, "1e1"), read the same whatever the locale and whatever the C++
// library: the frame-rate box, the command line's --fps and the frame rate
// that a file of frame lines declares.
#pragma once

#include <cstddef>
#include <string_view>

// Reads the longest prefix of `text` that is a decimal number without a sign:
// digits with an optional "." and further digits (at least one digit in all),
// then an optional exponent ("e" or "E", an optional sign, digits). `value`
// becomes the double nearest to that number, the even one of two equally
// near, as correct rounding gives it; infinity beyond the largest double.
// Returns the prefix's length; 0, with `value` unchanged, when the text does
// not begin with a number.
std::size_t readDecimal(std::string_view text, double& value);
