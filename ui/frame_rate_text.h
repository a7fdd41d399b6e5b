// The frame-rate box's text as a number.
#pragma once

#include <string_view>

// White space skipped, then the longest prefix that is a decimal number
// ("29.97", "25 fps" -> 25, "1e1x" -> 10); 0 when the text does not begin with
// one or its number is beyond a double. The decimal point is always ".",
// whatever the locale.
double frameRateOfText(std::string_view text);
