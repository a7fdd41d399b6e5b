// Finishing a writer's output.
#include "text_output.h"

WriteOutcome finishOutput(OutputFile& out, const ConversionSettings& settings, const LineStore& store,
                          std::int32_t subs, NotConvertedLines& notConverted) {
    for (std::int32_t k = 0; k < store.linesAfterEndMark; ++k)
        if (!lineAfterEndMark(store, k).empty())
            notConverted.add(store.endMarkLine + k, NotConverted::textAfterEndMark);
    WriteOutcome outcome;
    outcome.subs = subs;
    outcome.notConverted = notConverted;
    if (settings.strict && notConverted.count > 0) return outcome;  // the output's destructor removes it
    outcome.written = commitOutput(out);
    outcome.error = out.error;
    return outcome;
}
