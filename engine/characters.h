// Tests of single characters, in ASCII whatever the locale, and the one
// writer of decimal digits.
#pragma once

#include <string_view>
#include <type_traits>

constexpr bool isDigit(char c) { return c >= '0' && c <= '9'; }

// A blank of a line: a space or a tab.
// A whole number of one to nine digits and nothing else; false for anything
// else (nine digits always fit in 32 bits).
template <typename Number>
constexpr bool readNineDigits(std::string_view text, Number& value) {
    if (text.empty() || text.size() > 9) return false;
    value = 0;
    for (char c : text) {
        if (!isDigit(c)) return false;
        value = static_cast<Number>(value * 10 + (c - '0'));
    }
    return true;
}

constexpr bool isBlank(char c) { return c == ' ' || c == '\t'; }

constexpr char lowerCase(char c) { return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c; }

// Whether two texts are the same but for the case of their ASCII letters.
constexpr bool equalsIgnoringCase(std::string_view a, std::string_view b) {
    if (a.size() != b.size()) return false;
    for (std::size_t i = 0; i < a.size(); ++i)
        if (lowerCase(a[i]) != lowerCase(b[i])) return false;
    return true;
}

// Writes value in decimal with at least `digits` digits, zero-filled after
// any minus sign, as printf's "%.*d" does; returns the end. The engine
// prints numbers this way rather than with printf, which would cost more
// than all the rest of a conversion. A narrow type divides faster.
template <typename Integer>
char* putDigits(char* p, Integer value, int digits) {
    char reversed[24];
    int n = 0;
    using Unsigned = std::make_unsigned_t<Integer>;
    Unsigned v = value < 0 ? Unsigned(0) - static_cast<Unsigned>(value) : static_cast<Unsigned>(value);
    do {
        reversed[n++] = static_cast<char>('0' + v % 10);
        v /= 10;
    } while (v != 0);
    if (value < 0) *p++ = '-';
    for (int i = n; i < digits; ++i) *p++ = '0';
    while (n > 0) *p++ = reversed[--n];
    return p;
}
