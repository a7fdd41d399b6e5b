// Reading SSA and ASS events: sections and keywords in any case after
// leading blanks, fields by the Format line, each value without the blanks
// around it but the text, which keeps its bytes.
#include "ssa_events.h"

#include <cstdint>
#include <cstring>

#include "byte_scan.h"
#include "characters.h"
#include "timing_lines.h"

namespace {

constexpr int kMostFields = 64;

std::string_view trimmed(std::string_view s) {
    while (!s.empty() && isBlank(s.front())) s.remove_prefix(1);
    while (!s.empty() && isBlank(s.back())) s.remove_suffix(1);
    return s;
}

// The rest of the line after `keyword` (such as "Dialogue:") when it begins
// so, in any case; the keyword's own case is tried first, in one comparison.
bool afterKeyword(std::string_view l, std::string_view keyword, std::string_view& rest) {
    if (l.size() < keyword.size() || lowerCase(l[0]) != lowerCase(keyword[0])) return false;
    const std::string_view head = l.substr(0, keyword.size());
    if (std::memcmp(head.data(), keyword.data(), keyword.size()) != 0 && !equalsIgnoringCase(head, keyword))
        return false;
    rest = l.substr(keyword.size());
    return true;
}

// "Dialogue:" as scripts nearly always write it, compared at once.
bool isDialogueLine(std::string_view l, std::string_view& rest) {
    static constexpr char kWord[] = "Dialogue";
    std::uint64_t word, head;
    std::memcpy(&word, kWord, sizeof word);
    if (l.size() < 9) return false;
    std::memcpy(&head, l.data(), sizeof head);
    if (head != word || l[8] != ':') return false;
    rest = l.substr(9);
    return true;
}

// Lines of [Events] that hold no subtitle: comments, and the events of SSA
// that are no dialogue.
bool isOtherEventLine(std::string_view l) {
    if (l.front() == ';') return true;
    std::string_view rest;
    for (std::string_view keyword : {"Comment:", "Picture:", "Sound:", "Movie:", "Command:"})
        if (afterKeyword(l, keyword, rest)) return true;
    return false;
}

void note(EventScan& scan, std::int32_t i, NotConverted reason) {
    if (scan.notConverted) scan.notConverted->add(i + 1, reason);
}

// A Format line that names no Start or no End cannot describe an event:
// scripts with such a line are read in the v4 order, as without one.
EventFields usableFields(std::string_view format, const EventFields& before) {
    EventFields fields;
    return readFormatLine(format, fields) ? fields : before;
}

}  // namespace

const EventFields& v4EventFields() {
    static const EventFields fields = [] {
        EventFields read;
        readFormatLine(kV4EventFormat, read);
        return read;
    }();
    return fields;
}

bool readFormatLine(std::string_view format, EventFields& fields) {
    EventFields found{-1, -1, -1, false, -1};
    int count = 0;
    const auto take = [&](int& field) {
        found.namedTwice = found.namedTwice || field >= 0;
        field = count;
    };
    while (true) {
        const std::size_t comma = format.find(',');
        const std::string_view name = trimmed(format.substr(0, comma));
        if (equalsIgnoringCase(name, "Start")) take(found.start);
        if (equalsIgnoringCase(name, "End")) take(found.end);
        if (equalsIgnoringCase(name, "Text")) take(found.text);
        if (equalsIgnoringCase(name, "Style")) found.style = count;
        ++count;
        if (comma == std::string_view::npos) break;
        format.remove_prefix(comma + 1);
    }
    if (found.text < 0) found.text = count - 1;
    // Scripts name about ten fields; more than 64 is no Format line of an
    // event. Start and End must come before the text, which takes the rest;
    // where one is named twice, its events cannot be read at all.
    if (count > kMostFields ||
        (!found.namedTwice && (found.start < 0 || found.end < 0 || found.start >= found.text || found.end >= found.text)))
        return false;
    fields = found;
    return true;
}

EventLine readEventLine(std::string_view values, const EventFields& fields, SsaEvent& event) {
    // The commas before the text, found sixteen bytes at a time: the fields
    // end at them, and the text begins after the last.
    const char* commas[kMostFields];
    const int wanted = fields.text;
    int found = 0;
    const char* stop = values.data() + values.size();
    if (wanted > 0)
        forEachByte(values.data(), stop, ',', [&](const char* comma) {
            commas[found++] = comma;
            return found < wanted;
        });
    // Field i runs from after comma i - 1 to comma i, the last one found to
    // the end of the line.
    const auto fieldAt = [&](int i) {
        const char* from = i == 0 ? values.data() : commas[i - 1] + 1;
        const char* to = i < found ? commas[i] : stop;
        return std::string_view(from, static_cast<std::size_t>(to - from));
    };
    if (found < fields.start || found < fields.end ||
        !readEventTime(trimmed(fieldAt(fields.start)), event.times.start) ||
        !readEventTime(trimmed(fieldAt(fields.end)), event.times.end))
        return EventLine::timesUnreadable;
    if (found < fields.text) return EventLine::endsBeforeText;
    event.style = fields.style >= 0 && fields.style < fields.text ? trimmed(fieldAt(fields.style)) : std::string_view();
    event.text = fieldAt(fields.text);
    return EventLine::read;
}

bool nextEvent(EventScan& scan, SsaEvent& event) {
    const LineStore& store = *scan.store;
    while (scan.next < store.count) {
        const std::int32_t i = scan.next++;
        std::string_view l = line(store, i);
        while (!l.empty() && isBlank(l.front())) l.remove_prefix(1);
        if (l.empty()) continue;
        // A section begins; only [Events] holds events.
        if (l.front() == '[') {
            scan.inEvents = equalsIgnoringCase(trimmed(l), "[Events]");
            scan.fields = v4EventFields();
            continue;
        }
        if (!scan.inEvents) continue;
        std::string_view rest;
        if (isDialogueLine(l, rest) || afterKeyword(l, "Dialogue:", rest)) {
            event.line = i;
            if (scan.fields.namedTwice) {
                note(scan, i, NotConverted::fieldNamedTwice);
                continue;
            }
            switch (readEventLine(rest, scan.fields, event)) {
            case EventLine::read: return true;
            case EventLine::timesUnreadable: note(scan, i, NotConverted::unreadableEventTimes); break;
            case EventLine::endsBeforeText: note(scan, i, NotConverted::eventWithoutText); break;
            }
        } else if (afterKeyword(l, "Format:", rest)) {
            scan.fields = usableFields(rest, scan.fields);
        } else if (!isOtherEventLine(l)) {
            note(scan, i, NotConverted::noEvent);
        }
    }
    return false;
}

double earliestEventStart(const LineStore& store) {
    EventScan scan = startEventScan(store, nullptr);
    SsaEvent event;
    if (!nextEvent(scan, event)) return 0.0;
    Millis earliest = event.times.start;
    while (nextEvent(scan, event))
        if (event.times.start < earliest) earliest = event.times.start;
    return secondsOf(earliest);
}
