// Finishing a writer's output.
#include "text_output.h"

WriteOutcome finishOutput(EntryWriting& w) {
    const LineStore& store = w.store;
    NotConvertedLines& notConverted = w.notConverted;
    for (std::int32_t k = 0; k < store.linesAfterEndMark; ++k)
        if (!lineAfterEndMark(store, k).empty())
            notConverted.add(store.endMarkLine + k, NotConverted::textAfterEndMark);
    // Units that are no character, on lines before any end-of-file mark (the
    // lines after it are noted already).
    const auto noteDecoding = [&](std::size_t offset, NotConverted reason) {
        const std::int32_t i = lineIndexAt(store, offset);
        if (i < store.count) notConverted.add(i + 1, reason);
    };
    for (const std::size_t offset : store.decodeFaults.noCharacter) noteDecoding(offset, NotConverted::noCharacter);
    if (store.decodeFaults.cutAtEnd) noteDecoding(store.decodeFaults.cutOffset, NotConverted::cutCharacter);
    WriteOutcome outcome;
    outcome.subs = w.subs;
    outcome.markupDropped = std::move(w.markup.dropped);
    outcome.notConverted = notConverted;
    outcome.beyond = w.beyond;
    outcome.overlaps = w.overlaps;
    outcome.changed = w.changed;
    // The output's destructor removes what was written.
    if (w.beyond.subtitle > 0)
        outcome.failure = {RunFailure::timesTooLarge};
    else if (w.settings.strict && notConverted.count > 0)
        outcome.failure = {RunFailure::linesNotConverted};
    else if (!commitOutput(w.out))
        outcome.failure = w.out.failure;
    return outcome;
}

MarkedText entryMarkup(EntryWriting& w, const SrtEntry& entry) {
    std::vector<std::string_view> lines;
    for (std::int32_t k = entry.textFrom; k < entry.textTo; ++k) lines.push_back(line(w.store, k));
    return readSrtMarkup(lines.data(), static_cast<std::int32_t>(lines.size()), entry.textFrom + 1, w.markup.unicode,
                         &w.markup.dropped);
}
