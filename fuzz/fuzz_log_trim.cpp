// The log pane's capacity rule on any pair of texts: the pane's old text (as
// read back, at most 1022 characters, or longer to test the rule alone) and
// a new message of up to 1023 characters.
#include <string>
#include <string_view>

#include "fuzz_support.h"
#include "log_trim.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    InputBytes in{data, size};
    // Two bytes split the rest into old and new; a flag byte keeps both to the
    // lengths the pane can hold or lets them be anything.
    const std::uint8_t flags = in.byte();
    std::size_t split = in.byte() | (in.byte() << 8);
    const std::string_view rest(reinterpret_cast<const char*>(in.data), in.size);
    if (split > rest.size()) split = rest.size();
    std::string_view old = rest.substr(0, split);
    std::string_view added = rest.substr(split);
    if (!(flags & 0x01)) {
        old = old.substr(0, kLogCapacity);
        added = added.substr(0, kLogCapacity + 1);
    }

    const std::string next = trimLog(old, added);
    // The new text comes whole, after a tail of old that begins just after a
    // line feed (or is all of old).
    FUZZ_CHECK(next.size() >= added.size());
    FUZZ_CHECK(std::string_view(next).substr(next.size() - added.size()) == added);
    const std::string_view kept = std::string_view(next).substr(0, next.size() - added.size());
    FUZZ_CHECK(kept.size() <= old.size());
    FUZZ_CHECK(old.substr(old.size() - kept.size()) == kept);
    if (old.size() + added.size() <= kLogCapacity) {
        FUZZ_CHECK(kept.size() == old.size());
    } else {
        FUZZ_CHECK(kept.empty() || old[old.size() - kept.size() - 1] == '\n');
        // Only whole lines are dropped: no line feed lies between the start
        // position and the cut.
        const std::size_t start = old.size() + added.size() - (kLogCapacity + 1);
        const std::size_t cut = old.size() - kept.size();
        if (start < cut) {
            const std::size_t feed = old.find('\n', start);
            FUZZ_CHECK(feed == std::string_view::npos ? cut == old.size() : feed + 1 == cut);
        }
        FUZZ_CHECK(next.size() <= kLogCapacity || kept.empty());
    }
    return 0;
}
