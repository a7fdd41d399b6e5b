// Decimal text to the nearest double: short numbers in one exact step of
// floating-point arithmetic, any other by exact integer arithmetic.
#include "decimal_number.h"

#include <bit>
#include <cfloat>
#include <cstdint>
#include <cstring>
#include <string>
#include <vector>

#include "characters.h"

namespace {


// A number beyond this many significant digits is rounded as its first
// digits followed by a 1: no double, and no point halfway between two
// doubles, has more than 767 significant digits, so the digits that follow
// only tell whether the number lies above such a point or on it.
constexpr std::size_t kMostDigits = 800;
// An exponent written with more digits is taken as this one: no text is long
// enough to bring it back into the doubles' range.
constexpr std::int64_t kExponentLimit = std::int64_t{1} << 50;

// An unsigned integer of any size, 32 bits a limb, the lowest first, with no
// zero limb on top.
using Big = std::vector<std::uint32_t>;

void trim(Big& n) {
    while (!n.empty() && n.back() == 0) n.pop_back();
}

void multiplyAdd(Big& n, std::uint32_t factor, std::uint32_t add) {
    std::uint64_t carry = add;
    for (std::uint32_t& limb : n) {
        carry += std::uint64_t{limb} * factor;
        limb = static_cast<std::uint32_t>(carry);
        carry >>= 32;
    }
    if (carry) n.push_back(static_cast<std::uint32_t>(carry));
}

void multiplyByPowerOfTen(Big& n, std::int64_t exponent) {
    constexpr std::uint32_t kPowers[] = {1, 10, 100, 1000, 10000, 100000, 1000000, 10000000, 100000000};
    for (; exponent >= 9; exponent -= 9) multiplyAdd(n, 1000000000, 0);
    multiplyAdd(n, kPowers[exponent], 0);
}

std::int64_t bitLength(const Big& n) {
    return n.empty() ? 0 : 32 * static_cast<std::int64_t>(n.size() - 1) + std::bit_width(n.back());
}

Big shiftedLeft(const Big& n, std::int64_t bits) {
    Big shifted(static_cast<std::size_t>(bits / 32), 0);
    const int rest = static_cast<int>(bits % 32);
    std::uint32_t carry = 0;
    for (const std::uint32_t limb : n) {
        shifted.push_back(rest ? (limb << rest) | carry : limb);
        carry = rest ? limb >> (32 - rest) : 0;
    }
    if (carry) shifted.push_back(carry);
    return shifted;
}

void shiftRightByOne(Big& n) {
    for (std::size_t i = 0; i < n.size(); ++i)
        n[i] = (n[i] >> 1) | (i + 1 < n.size() ? n[i + 1] << 31 : 0);
    trim(n);
}

int compare(const Big& a, const Big& b) {
    if (a.size() != b.size()) return a.size() < b.size() ? -1 : 1;
    for (std::size_t i = a.size(); i-- > 0;)
        if (a[i] != b[i]) return a[i] < b[i] ? -1 : 1;
    return 0;
}

// a -= b, where a >= b.
void subtract(Big& a, const Big& b) {
    std::int64_t borrow = 0;
    for (std::size_t i = 0; i < a.size(); ++i) {
        std::int64_t difference = std::int64_t{a[i]} - borrow - (i < b.size() ? std::int64_t{b[i]} : 0);
        borrow = difference < 0;
        a[i] = static_cast<std::uint32_t>(difference + (borrow << 32));
    }
    trim(a);
}

double fromBits(std::uint64_t bits) {
    double value;
    std::memcpy(&value, &bits, sizeof value);
    return value;
}

constexpr std::uint64_t kHiddenBit = std::uint64_t{1} << 52;
constexpr std::int64_t kLeastExponent = -1074;  // of the last bit of the smallest subnormal
constexpr std::int64_t kMostExponent = 971;     // of the last bit of the largest double

// The double nearest to digits x 10^exponent, where `digits` has no zero at
// either end and at most kMostDigits + 1 of them.
double nearestDouble(const std::string& digits, std::int64_t exponent) {
    const auto count = static_cast<std::int64_t>(digits.size());
    // At least 10^309, or below 10^-324, less than half the smallest subnormal.
    if (count + exponent > 309) return fromBits(std::uint64_t{0x7FF} << 52);
    if (count + exponent <= -324) return 0.0;
    // Up to 15 digits and a power of ten up to 10^22 are exact doubles; the
    // one operation on them rounds correctly where the processor computes in
    // doubles (not in the x87's longer format, which would round twice).
    if (FLT_EVAL_METHOD == 0 && count <= 15 && exponent >= -22 && exponent <= 22) {
        std::int64_t whole = 0;
        for (const char c : digits) whole = whole * 10 + (c - '0');
        constexpr double kPowers[] = {1e0,  1e1,  1e2,  1e3,  1e4,  1e5,  1e6,  1e7,  1e8,  1e9,  1e10, 1e11,
                                      1e12, 1e13, 1e14, 1e15, 1e16, 1e17, 1e18, 1e19, 1e20, 1e21, 1e22};
        const double power = kPowers[exponent < 0 ? -exponent : exponent];
        return exponent < 0 ? static_cast<double>(whole) / power : static_cast<double>(whole) * power;
    }
    // The number as the fraction n / m of two integers.
    Big n, m{1};
    for (const char c : digits) multiplyAdd(n, 10, static_cast<std::uint32_t>(c - '0'));
    if (exponent >= 0)
        multiplyByPowerOfTen(n, exponent);
    else
        multiplyByPowerOfTen(m, -exponent);
    // quotient = floor(n / (m x 2^shift)), chosen to hold 55 or 56 bits.
    const std::int64_t shift = bitLength(n) - bitLength(m) - 55;
    if (shift >= 0)
        m = shiftedLeft(m, shift);
    else
        n = shiftedLeft(n, -shift);
    std::uint64_t quotient = 0;
    Big part = shiftedLeft(m, 56);  // m x 2^bit
    for (int bit = 56; bit >= 0; --bit, shiftRightByOne(part)) {
        if (compare(n, part) >= 0) {
            subtract(n, part);
            quotient |= std::uint64_t{1} << bit;
        }
    }
    const bool remainder = !n.empty();
    // Keep 53 bits, fewer for a subnormal, and round the rest half to even.
    std::int64_t dropped = std::bit_width(quotient) - 53;
    std::int64_t last = shift + dropped;
    if (last < kLeastExponent) {
        dropped += kLeastExponent - last;
        last = kLeastExponent;
    }
    if (dropped > 57) return 0.0;  // all of it, less than half the smallest subnormal
    std::uint64_t mantissa = quotient >> dropped;
    const std::uint64_t rest = quotient & ((std::uint64_t{1} << dropped) - 1);
    const std::uint64_t half = std::uint64_t{1} << (dropped - 1);
    if (rest > half || (rest == half && (remainder || (mantissa & 1)))) ++mantissa;
    if (mantissa == kHiddenBit << 1) {
        mantissa >>= 1;
        ++last;
    }
    if (last > kMostExponent) return fromBits(std::uint64_t{0x7FF} << 52);
    if (mantissa < kHiddenBit) return fromBits(mantissa);  // a subnormal
    return fromBits(static_cast<std::uint64_t>(last + 1075) << 52 | (mantissa - kHiddenBit));
}

}  // namespace

std::size_t readDecimal(std::string_view text, double& value) {
    // The digits before and after the point, and the power of ten they are
    // counted in.
    std::string digits;
    std::int64_t exponent = 0;
    bool anyDigit = false;
    std::size_t i = 0;
    for (; i < text.size() && isDigit(text[i]); ++i) {
        anyDigit = true;
        if (!digits.empty() || text[i] != '0') digits += text[i];
    }
    if (i < text.size() && text[i] == '.') {
        for (++i; i < text.size() && isDigit(text[i]); ++i) {
            anyDigit = true;
            --exponent;
            if (!digits.empty() || text[i] != '0') digits += text[i];
        }
    }
    if (!anyDigit) return 0;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        std::size_t j = i + 1;
        const bool negative = j < text.size() && text[j] == '-';
        if (j < text.size() && (text[j] == '+' || text[j] == '-')) ++j;
        if (j < text.size() && isDigit(text[j])) {
            std::int64_t written = 0;
            for (; j < text.size() && isDigit(text[j]); ++j)
                if (written < kExponentLimit) written = written * 10 + (text[j] - '0');
            exponent += negative ? -written : written;
            i = j;
        }
    }
    while (!digits.empty() && digits.back() == '0') {
        digits.pop_back();
        ++exponent;
    }
    if (digits.empty()) {
        value = 0.0;
        return i;
    }
    if (digits.size() > kMostDigits) {
        exponent += static_cast<std::int64_t>(digits.size() - kMostDigits) - 1;
        digits.resize(kMostDigits);
        digits += '1';
    }
    value = nearestDouble(digits, exponent);
    return i;
}
