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
    // The halfway point between the two smallest subnormals, 2^-1075, in full:
    // below it rounds to 0, on it to the even one (0), above it to 2^-1074.
    const std::string halfSubnormal =
        "2.4703282292062327208828439643411068618252990130716238221279284125033775363510437593264991818081799618"
        "9898282347722858865463328355177969898199387398005390939063150356595155702263922908583924491051844359"
        "3180284993653615250031937045767824921936562366986365848075700158576926990370631192827955855133292783"
        "4338409351978015531246597263579574622766465272827220056374006485499977096599470454020828166226237857"
        "3934507363390079677619305775067401763246736009689513405355374585166611342237666786041621596804619144"
        "6729184030053005753084904876539171138659164623952491262365388187963623937328042389101867234849766823"
        "5089863388587925628302755995657524455507255189313690836254779186948667994968324049705821028513185451"
        "396213837722826145437693412532098591327667236328125e-324";
    const std::string texts[] = {
        "25", "29.97", "23.976", "0.1", ".5", "5.", "007.50", "0", "0.000", "1e1x", "2E-1", "1e+", "1e", "7,5",
        "1.5e+3", "3e-0", "25 fps",
        // Ties between doubles, exactly and a little above them.
        "9007199254740993", "9007199254740993.000000000000000000000001", "9007199254740995",
        "1.00000000000000011102230246251565404236316680908203125",
        "1.000000000000000111022302462515654042363166809082031250000000000000000000000000001",
        // Near the ends of the doubles' range.
        "2.2250738585072011e-308", "2.2250738585072012e-308", "4.9406564584124654e-324",
        "2.4703282292062327e-324", "2.4703282292062328e-324", "1e-320", halfSubnormal, halfSubnormal + "1",
        halfSubnormal.substr(0, 500) + "e-324", "1.7976931348623157e308", "1.7976931348623158e308",
        "1.7976931348623159e308", "1e309", "1e-400", "1e99999999999999999999", "1e-99999999999999999999",
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
