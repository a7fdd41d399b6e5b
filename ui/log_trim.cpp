// The log pane's capacity rule: whole lines go from the beginning.
#include "log_trim.h"

std::string trimLog(std::string_view old, std::string_view added) {
    constexpr std::size_t kLimit = kLogCapacity + 1;
    if (old.size() + added.size() < kLimit) {
        return std::string(old).append(added);
    }
    std::size_t start = old.size() + added.size() - kLimit;
    std::size_t cut = old.size();
    if (start < old.size()) {
        std::size_t lineFeed = old.find('\n', start);
        if (lineFeed != std::string_view::npos) cut = lineFeed + 1;
    }
    return std::string(old.substr(cut)).append(added);
}
