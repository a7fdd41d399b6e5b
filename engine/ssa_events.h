// The events of a Sub Station Alpha script: the "Dialogue:" lines of its
// [Events] section, their fields found by the section's Format line.
#pragma once

#include <cstdint>
#include <string_view>

#include "line_store.h"
#include "run_report.h"
#include "time_value.h"

// The fields of a v4 script's events: the Format line that the SSA writer
// prints, and the order in which a script without a usable Format line is read.
constexpr std::string_view kV4EventFormat = "Marked, Start, End, Style, Name, MarginL, MarginR, MarginV, Effect, Text";

// Where an event's fields stand, counted from 0, as the Format line names
// them: the text runs from its own place to the end of the line, commas and
// all. A Format line that names Start, End or Text twice leaves it unknown
// which is meant.
struct EventFields {
    int start = -1;
    int end = -1;
    int text = -1;
    bool namedTwice = false;
    int style = 3;  // -1: none
};

// The fields of kV4EventFormat.
const EventFields& v4EventFields();

struct SsaEvent {
    std::int32_t line = 0;
    TimeSpan times;
    std::string_view style;
    std::string_view text;
};

struct EventScan {
    const LineStore* store = nullptr;
    NotConvertedLines* notConverted = nullptr;  // where skipped lines are noted; null: nowhere
    std::int32_t next = 0;
    bool inEvents = false;
    EventFields fields = v4EventFields();
};

inline EventScan startEventScan(const LineStore& store, NotConvertedLines* notConverted) {
    EventScan scan;
    scan.store = &store;
    scan.notConverted = notConverted;
    return scan;
}

// The next event; false when the script has no more.
bool nextEvent(EventScan& scan, SsaEvent& event);

// The earliest start among the script's events, in seconds; 0 when it has none.
double earliestEventStart(const LineStore& store);

// The fields that a Format line names ("Format: Layer, Start, End, ...");
// false when it names no Start or no End, or names them after Text, which
// leaves the fields as they were. Without a field named Text the last field
// is the text.
bool readFormatLine(std::string_view format, EventFields& fields);

enum class EventLine : std::uint8_t {
    read,
    timesUnreadable,  // its times cannot be read
    endsBeforeText,   // it has fewer fields than it needs to reach the text
};

// The fields of an event line after "Dialogue:", found by `fields`: the times
// without the blanks around them, the text with them.
EventLine readEventLine(std::string_view values, const EventFields& fields, SsaEvent& event);
