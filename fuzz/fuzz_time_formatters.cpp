// The two time formatters, the rounding under them and the time-to-frame
// conversion over the whole range of doubles: NaN, infinities, negative
// values, subnormals and values far beyond ten hours.
#include <cmath>
#include <cstring>

#include "fuzz_support.h"
#include "time_format.h"

namespace {

bool isDigit(char c) { return c >= '0' && c <= '9'; }

// Reads "h:mm:ss<sep>fff" with at least `hourDigits` hour digits and `decimals`
// fraction digits from `p`; returns the time in seconds, or -1 when the text
// does not have that shape. `p` moves past the time.
double readTime(const char*& p, int hourDigits, char separator, int decimals) {
    double hours = 0;
    int digits = 0;
    for (; isDigit(*p); ++p, ++digits) hours = hours * 10 + (*p - '0');
    if (digits < hourDigits || *p++ != ':') return -1;
    if (!isDigit(p[0]) || !isDigit(p[1]) || p[2] != ':') return -1;
    const int minutes = (p[0] - '0') * 10 + (p[1] - '0');
    p += 3;
    if (!isDigit(p[0]) || !isDigit(p[1]) || p[2] != separator) return -1;
    const int seconds = (p[0] - '0') * 10 + (p[1] - '0');
    p += 3;
    double fraction = 0, scale = 1;
    for (int i = 0; i < decimals; ++i, ++p) {
        if (!isDigit(*p)) return -1;
        fraction = fraction * 10 + (*p - '0');
        scale *= 10;
    }
    if (minutes > 59 || seconds > 59) return -1;
    return hours * 3600 + minutes * 60 + seconds + fraction / scale;
}

// The time a formatter should show for t: negative and NaN are 0, and times
// beyond the largest printable one stay at that.
double shownTime(double t) {
    if (!(t > 0)) return 0;
    return t > 1e15 ? 1e15 : t;
}

void checkTime(double printed, double t, int decimals) {
    FUZZ_CHECK(printed >= 0);
    const double expected = shownTime(t);
    const double tolerance = 0.5 * std::pow(10.0, -decimals) + expected * 1e-15 + 1e-9;
    FUZZ_CHECK(std::fabs(printed - expected) <= tolerance);
}

void checkSsa(double a, double b) {
    char text[kTimesBufferSize];
    std::memset(text, 'x', sizeof text);
    formatSsaTimes(a, b, text, sizeof text);
    const std::size_t length = strnlen(text, sizeof text);
    FUZZ_CHECK(length < sizeof text - 1);
    FUZZ_CHECK(text[0] == '0' && text[1] == ',');
    const char* p = text + 2;
    const double start = readTime(p, 1, '.', 2);
    FUZZ_CHECK(start >= 0 && *p++ == ',');
    const double end = readTime(p, 1, '.', 2);
    FUZZ_CHECK(end >= 0 && *p == '\0');
    checkTime(start, a, 2);
    checkTime(end, b, 2);
    if (shownTime(a) < 35999.99 && shownTime(b) < 35999.99) FUZZ_CHECK(length == 23);
}

void checkSrt(double a, double b) {
    char text[kTimesBufferSize];
    std::memset(text, 'x', sizeof text);
    formatSrtTimes(a, b, text, sizeof text);
    const std::size_t length = strnlen(text, sizeof text);
    FUZZ_CHECK(length < sizeof text - 1);
    const char* p = text;
    const double start = readTime(p, 2, ',', 3);
    FUZZ_CHECK(start >= 0 && std::strncmp(p, " --> ", 5) == 0);
    p += 5;
    const double end = readTime(p, 2, ',', 3);
    FUZZ_CHECK(end >= 0 && *p == '\0');
    checkTime(start, a, 3);
    checkTime(end, b, 3);
    if (shownTime(a) < 35999.999 && shownTime(b) < 35999.999) FUZZ_CHECK(length == 29);
}

void checkRounding(double value) {
    if (!(value >= 0 && value <= 1e15)) return;  // the rounding's own range
    for (int decimals = 2; decimals <= 3; ++decimals) {
        const double scale = decimals == 2 ? 100.0 : 1000.0;
        const double rounded = static_cast<double>(roundScaled(value, decimals)) / scale;
        FUZZ_CHECK(std::fabs(rounded - value) <= 0.5 / scale + value * 1e-15);
    }
}

void checkFrame(double seconds, double rate) {
    const std::int32_t frame = timeToFrame(seconds, rate);
    FUZZ_CHECK(frame >= 0);
    const double exact = seconds * rate + 0.5;
    if (exact >= 1.0 && exact < 2147483647.0) FUZZ_CHECK(frame == static_cast<std::int32_t>(exact));
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputBytes in{data, size};
    const double a = in.f64();
    const double b = in.f64();
    checkSsa(a, b);
    checkSrt(a, b);
    checkRounding(a);
    checkRounding(std::fabs(b));
    checkFrame(a, b);
    // Small scaled values too, where the interesting carries are: the raw bit
    // patterns above seldom land between 0 and ten hours.
    const double small = static_cast<double>(in.u32()) / 1000.0;
    if (std::isfinite(small)) {
        checkSsa(small, small + 0.005);
        checkSrt(small, small - 0.0005);
        checkRounding(small);
    }
    return 0;
}
