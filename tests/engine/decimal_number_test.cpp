// Decimal text read into the nearest double: the same value and the same
// length as the C library's strtod in the "C" locale, for numbers where
// rounding is hard.
#include <gtest/gtest.h>

#include <bit>
#include <cstdlib>
#include <string>

#include "decimal_number.h"

namespace {

std::string repeated(char c, std::size_t n) { return std::string(n, c); }

TEST(DecimalNumber, AsStrtodRoundsIt) {
    // 1 + 2^-53, halfway between 1 and the next double: on it to the even one,
    // above it (by a digit far beyond the 800th) to the next.
    const std::string tie = "1.00000000000000011102230246251565404236316680908203125";
    const std::string texts[] = {
        "25", "29.97", "23.976", "0.1", ".5", "5.", "007.50", "0", "0.000", "1e1x", "2E-1", "1e+", "1e", "7,5",
        "1.5e+3", "3e-0", "25 fps",
        // Ties between doubles, exactly and a little above them.
        "9007199254740993", "9007199254740993.000000000000000000000001", "9007199254740995", tie,
        tie + repeated('0', 900) + "1", tie.substr(0, 40) + repeated('9', 900),
        // Near the ends of the doubles' range.
        "2.2250738585072011e-308", "2.2250738585072012e-308", "4.9406564584124654e-324",
        "2.4703282292062327e-324", "2.4703282292062328e-324", "1e-320", "1.7976931348623157e308",
        "1.7976931348623158e308", "1.7976931348623159e308", "1e309", "1e-400", "1e99999999999999999999",
        "1e-99999999999999999999",
        // Many digits, the exponent making up for them.
        "1" + repeated('0', 400) + "e-400", "0." + repeated('0', 400) + "1e401", repeated('9', 900),
        "0." + repeated('3', 1000), "123456789012345678901234567890e-20",
    };
    for (const std::string& text : texts) {
        char* end = nullptr;
        const double expected = std::strtod(text.c_str(), &end);
        double value = -1.0;
        EXPECT_EQ(readDecimal(text, value), static_cast<std::size_t>(end - text.c_str())) << text;
        EXPECT_EQ(std::bit_cast<std::uint64_t>(value), std::bit_cast<std::uint64_t>(expected)) << text;
    }
}

TEST(DecimalNumber, NoNumberLeavesTheValue) {
    for (const char* text : {"", ".", "e5", ".e5", "-1", "+1", " 1", "x", "inf", "nan"}) {
        double value = -1.0;
        EXPECT_EQ(readDecimal(text, value), 0u) << text;
        EXPECT_EQ(value, -1.0) << text;
    }
}

}  // namespace
