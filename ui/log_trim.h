// The log pane's capacity rule, apart from any dialog.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

// The pane holds at most this many characters after an append (a lone message
// of one more may stand alone) and is read back with at most this many.
constexpr std::size_t kLogCapacity = 1022;

// The pane's next text: old followed by added, with whole lines dropped from the
// beginning of old when both together would reach 1023 characters.
std::string trimLog(std::string_view old, std::string_view added);
