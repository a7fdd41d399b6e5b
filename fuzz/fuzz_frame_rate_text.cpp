// The frame-rate box's text as a number, for any text typed: never NaN nor
// infinite, so that only a rate of 0 or below reaches a run as a bad rate.
#include <cmath>
#include <string_view>

#include "fuzz_support.h"
#include "frame_rate_text.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    // The box holds at most 254 characters.
    const std::string_view text(reinterpret_cast<const char*>(data), size < 254 ? size : 254);
    const double rate = frameRateOfText(text);
    FUZZ_CHECK(std::isfinite(rate));
    // The sign of the value is the sign typed: text without a minus sign never
    // gives a negative rate.
    if (text.find('-') == std::string_view::npos) FUZZ_CHECK(!std::signbit(rate));
    return 0;
}
