// The events of a Sub Station Alpha script: the "Dialogue:" lines of its
// [Events] section, their fields found by the section's Format line.
#pragma once

#include <cstdint>
#include <string_view>

#include "line_store.h"
#include "run_report.h"
#include "time_value.h"

// Where an event's fields stand, counted from 0, and how many the Format
// line names: the last is the text, which runs to the end of the line.
struct EventFields {
    int start = 1;
    int end = 2;
    int count = 10;
};

struct SsaEvent {
    std::int32_t line = 0;
    TimeSpan times;
    std::string_view text;
};

struct EventScan {
    const LineStore* store = nullptr;
    NotConvertedLines* notConverted = nullptr;  // where skipped lines are noted; null: nowhere
    std::int32_t next = 0;
    bool inEvents = false;
    EventFields fields;
};

inline EventScan startEventScan(const LineStore& store, NotConvertedLines* notConverted) {
    EventScan scan;
    scan.store = &store;
    scan.notConverted = notConverted;
    return scan;
}

// The next event; false when the script has no more.
bool nextEvent(EventScan& scan, SsaEvent& event);

// The fields that a Format line names ("Format: Layer, Start, End, ...");
// false when it names no Start or no End, which leaves the fields as they were.
bool readFormatLine(std::string_view format, EventFields& fields);

// The fields of an event line after "Dialogue:", found by `fields`; false when
// its times cannot be read.
bool readEventLine(std::string_view values, const EventFields& fields, SsaEvent& event);
