// Markup, read from any bytes as SRT text, SSA text and a frame line's text:
// no reader or writer fails, and unless a writer noted text that its output
// reads otherwise, no visible character is lost or added in any mode, and
// SRT => SSA => SRT in translate mode gives an SRT that the same round
// trip leaves as it is.
#include <string>
#include <vector>

#include "fuzz_support.h"
#include "markup.h"

namespace {

struct Trip {
    MarkupWriting w;
    NotConvertedLines notes;
};

MarkedText readSrtLines(const std::vector<std::string>& lines) {
    const std::vector<std::string_view> views(lines.begin(), lines.end());
    return readSrtMarkup(views.data(), static_cast<std::int32_t>(views.size()), 1, true, nullptr);
}

// SRT lines through SSA and back.
std::vector<std::string> throughSsa(Trip& trip, const std::vector<std::string>& srt) {
    const std::vector<std::string> ssa = markupLines(trip.w, readSrtLines(srt), MarkupLayout::ssa, true, trip.notes);
    FUZZ_CHECK(ssa.size() == 1);
    return markupLines(trip.w, readSsaMarkup(ssa[0], &kOutputStyle, 1, true, nullptr), MarkupLayout::srt, false,
                       trip.notes);
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string text(reinterpret_cast<const char*>(data), size);
    std::vector<std::string> lines(1);
    for (char c : text) {
        if (c == '\n') lines.emplace_back();
        else if (c != '\r') lines.back() += c;
    }
    const MarkedText input = readSrtLines(lines);
    for (MarkupMode mode : {MarkupMode::translate, MarkupMode::strip}) {
        for (MarkupLayout to : {MarkupLayout::ssa, MarkupLayout::srt, MarkupLayout::frames}) {
            Trip trip;
            trip.w.mode = mode;
            trip.w.unicode = true;
            const std::vector<std::string> out = markupLines(trip.w, input, to, true, trip.notes);
            if (to == MarkupLayout::srt && trip.notes.count == 0)
                FUZZ_CHECK(visibleText(readSrtLines(out)) == visibleText(input));
        }
    }
    Trip trip;
    trip.w.mode = MarkupMode::translate;
    trip.w.unicode = true;
    const std::vector<std::string> once = throughSsa(trip, lines);
    if (trip.notes.count == 0) FUZZ_CHECK(visibleText(readSrtLines(once)) == visibleText(input));
    const std::vector<std::string> twice = throughSsa(trip, once);
    if (trip.notes.count == 0) FUZZ_CHECK(twice == once);

    // The same bytes as SSA text and as a frame line's text.
    MarkupDropped dropped;
    SsaStyle style{"S", {}, 7, "Arial", "20"};
    style.state.bold = true;
    style.state.colour = 0x123456;
    const MarkedText ssa = readSsaMarkup(text, &style, 1, false, &dropped);
    const MarkedText frame = readFrameMarkup(text, 1, &dropped);
    for (const MarkedText* marked : {&ssa, &frame}) {
        Trip to;
        to.w.mode = MarkupMode::translate;
        const std::vector<std::string> srt = markupLines(to.w, *marked, MarkupLayout::srt, false, to.notes);
        if (to.notes.count == 0) FUZZ_CHECK(visibleText(readSrtLines(srt)) == visibleText(*marked));
        markupLines(to.w, *marked, MarkupLayout::frames, false, to.notes);
    }
    return 0;
}
