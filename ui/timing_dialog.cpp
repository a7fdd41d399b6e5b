// The timing dialog's logic: the controls from the settings, and back after
// the values have been checked.
#include "timing_dialog.h"

#include <array>
#include <string>

#include "../engine/time_change.h"
#include "../engine/run_report.h"

namespace {

constexpr std::array<const char*, 7> kRates = {"23.976", "24", "25", "29.97", "30", "50", "59.94"};
constexpr std::array<const char*, 2> kSigns = {"+", "-"};
constexpr int kShiftBoxes[] = {IDC_SHIFT_HOURS, IDC_SHIFT_MINUTES, IDC_SHIFT_SECONDS, IDC_SHIFT_MILLIS};

void fillCombo(DialogHandle handle, int id, const auto& items, const std::string& shown) {
    dialogComboReset(handle, id);
    int selected = -1;
    for (std::size_t i = 0; i < items.size(); ++i) {
        dialogComboAddString(handle, id, items[i]);
        if (shown == items[i]) selected = static_cast<int>(i);
    }
    if (selected >= 0) dialogComboSetSelection(handle, id, selected);
    else dialogSetItemText(handle, id, shown);
}

std::string boundText(Millis bound) {
    return bound == kNoTimeBound || bound == -kNoTimeBound ? std::string() : clockText(bound);
}

// "#2" or "0:01:05.000": the left side of a point.
std::string pointFromText(const SyncPoint& point) {
    return point.entry > 0 ? formatText("#%d", static_cast<int>(point.entry)) : clockText(point.from);
}

// The message of a value that makes no sense, in the main dialog's words.
bool refuse(DialogHandle handle, const std::string& what, const char* rule) {
    dialogMessageBox(handle, what + kDialogLineEnd + rule, "Debug Message");
    return false;
}

bool readRetime(DialogHandle handle, ConversionSettings& settings) {
    const std::string from = dialogGetItemText(handle, IDC_RETIME_FROM), to = dialogGetItemText(handle, IDC_RETIME_TO);
    if (readRateRatio(from, settings.retimeFrom) && readRateRatio(to, settings.retimeTo)) return true;
    return refuse(handle, "Invalid speed change: " + from + " => " + to,
                  "The frame rates must be numbers above 0, as 25, 23.976 or 24000/1001.");
}

// An empty box is no bound.
bool readBound(DialogHandle handle, int id, Millis none, Millis& bound) {
    const std::string text = dialogGetItemText(handle, id);
    if (text.empty()) return (bound = none), true;
    if (readClockTime(text, false, bound)) return true;
    return refuse(handle, "Invalid time: " + text, "A time is h:m:s.ms, below 1000 hours.");
}

bool readShift(DialogHandle handle, ConversionSettings& settings) {
    const std::string sign = dialogGetItemText(handle, IDC_SHIFT_SIGN);
    if (sign != "+" && sign != "-") return refuse(handle, "Invalid sign: " + sign, "The sign is + or -.");
    const Millis by = ((dialogGetItemInt(handle, IDC_SHIFT_HOURS) * Millis{60} + dialogGetItemInt(handle, IDC_SHIFT_MINUTES)) * 60 +
                       dialogGetItemInt(handle, IDC_SHIFT_SECONDS)) * 1000 + dialogGetItemInt(handle, IDC_SHIFT_MILLIS);
    if (by >= Millis{1000} * 3600000)
        return refuse(handle, "Invalid shift: " + clockText(by), "A time is h:m:s.ms, below 1000 hours.");
    settings.shiftBy = sign == "-" ? -by : by;
    if (!readBound(handle, IDC_SHIFT_FROM, -kNoTimeBound, settings.shiftFrom) ||
        !readBound(handle, IDC_SHIFT_UNTIL, kNoTimeBound, settings.shiftUntil))
        return false;
    if (settings.shiftUntil > settings.shiftFrom) return true;
    return refuse(handle, "Invalid shift: until " + clockText(settings.shiftUntil) + " is not after from " +
                              clockText(settings.shiftFrom), "Only the subtitles that start from 'from' to before 'until' move.");
}

bool readSync(DialogHandle handle, ConversionSettings& settings) {
    const std::string a = dialogGetItemText(handle, IDC_SYNC_A), b = dialogGetItemText(handle, IDC_SYNC_B);
    const std::string c = dialogGetItemText(handle, IDC_SYNC_C), d = dialogGetItemText(handle, IDC_SYNC_D);
    const char* rule = "A point is h:m:s.ms, or #n for the start of subtitle n, and the time it goes to.";
    if (!readSyncPoint(a + "=" + b, settings.sync[0])) return refuse(handle, "Invalid point: " + a + " => " + b, rule);
    settings.syncPoints = 1;
    if (c.empty() && d.empty()) return true;
    if (!readSyncPoint(c + "=" + d, settings.sync[1])) return refuse(handle, "Invalid point: " + c + " => " + d, rule);
    settings.syncPoints = 2;
    if (settings.sync[0].entry > 0 || settings.sync[1].entry > 0 || syncPointsFit(settings.sync[0], settings.sync[1]))
        return true;
    return refuse(handle, "Invalid points: " + a + " => " + b + " and " + c + " => " + d,
                  "The two points must be two different times, the later one going to the later time.");
}

// The controls into a copy of the settings; false, after a message, when a
// value makes no sense.
bool readTiming(DialogHandle handle, ConversionSettings& settings) {
    settings.retime = dialogIsButtonChecked(handle, IDC_RETIME);
    settings.shiftTimes = dialogIsButtonChecked(handle, IDC_SHIFT);
    const bool sync = dialogIsButtonChecked(handle, IDC_SYNC);
    if (settings.shiftTimes && sync)
        return refuse(handle, "Invalid timing: shift by and two points", "A shift and a sync exclude each other.");
    if (settings.retime && !readRetime(handle, settings)) return false;
    if (settings.shiftTimes && !readShift(handle, settings)) return false;
    settings.syncPoints = 0;
    if (sync && !readSync(handle, settings)) return false;
    // A file's time change keeps its kind of lines from SRT to SRT.
    settings.keepLineKind = settings.retime || settings.shiftTimes || settings.syncPoints > 0;
    return true;
}

}  // namespace

void timingDialogInit(TimingDialog& dialog) {
    const DialogHandle handle = dialog.handle;
    const ConversionSettings& settings = *dialog.settings;
    dialogCheckButton(handle, IDC_RETIME, settings.retime);
    fillCombo(handle, IDC_RETIME_FROM, kRates, settings.retime ? rateText(settings.retimeFrom) : "23.976");
    fillCombo(handle, IDC_RETIME_TO, kRates, settings.retime ? rateText(settings.retimeTo) : "25");
    dialogCheckButton(handle, IDC_SHIFT, settings.shiftTimes);
    fillCombo(handle, IDC_SHIFT_SIGN, kSigns, settings.shiftBy < 0 ? "-" : "+");
    const Millis by = settings.shiftBy < 0 ? -settings.shiftBy : settings.shiftBy;
    const Millis parts[] = {by / 3600000, by / 60000 % 60, by / 1000 % 60, by % 1000};
    for (int i = 0; i < 4; ++i) dialogSetItemInt(handle, kShiftBoxes[i], static_cast<unsigned>(parts[i]));
    dialogSetItemText(handle, IDC_SHIFT_FROM, boundText(settings.shiftFrom));
    dialogSetItemText(handle, IDC_SHIFT_UNTIL, boundText(settings.shiftUntil));
    dialogCheckButton(handle, IDC_SYNC, settings.syncPoints > 0);
    const int ids[2][2] = {{IDC_SYNC_A, IDC_SYNC_B}, {IDC_SYNC_C, IDC_SYNC_D}};
    for (int i = 0; i < 2; ++i) {
        const bool given = settings.syncPoints > i;
        dialogSetItemText(handle, ids[i][0], given ? pointFromText(settings.sync[i]) : "");
        dialogSetItemText(handle, ids[i][1], given ? clockText(settings.sync[i].to) : "");
    }
}

void timingDialogCommand(TimingDialog& dialog, int id) {
    if (id == IDC_TIMING_CANCEL) {
        dialogEndModal(dialog.handle);
    } else if (id == IDC_TIMING_OK) {
        ConversionSettings settings = *dialog.settings;
        if (!readTiming(dialog.handle, settings)) return;
        *dialog.settings = settings;
        dialogEndModal(dialog.handle);
    }
}
