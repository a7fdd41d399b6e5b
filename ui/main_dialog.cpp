// The main dialog's procedure logic: creation defaults, the command table and closing.
#include "main_dialog.h"

#include <array>

#include "file_choosers.h"
#include "frame_rate_text.h"
#include "log_pane.h"
#include "timing_dialog.h"

namespace {

constexpr std::array<const char*, 6> kFrameRates = {"30", "29.97", "25", "24", "23.976", "15"};
constexpr int kDefaultFrameRateIndex = 2;  // "25", as the settings' default

// The first-sub number boxes are read right before every run, not as they change.
void startRun(DialogHandle dialog, ConversionSettings& settings) {
    settings.firstSubHours = dialogGetItemInt(dialog, IDC_FIRST_SUB_HOURS);
    settings.firstSubMinutes = dialogGetItemInt(dialog, IDC_FIRST_SUB_MINUTES);
    settings.firstSubSeconds = dialogGetItemInt(dialog, IDC_FIRST_SUB_SECONDS);
    settings.firstSubMillis = dialogGetItemInt(dialog, IDC_FIRST_SUB_MILLIS);
    if (settings.shiftFirstSub && (settings.shiftTimes || settings.syncPoints > 0)) {
        dialogMessageBox(dialog,
                         std::string("Invalid timing: first sub and the timing's shift or points") + kDialogLineEnd +
                             "The first sub move, a shift and a sync exclude each other.",
                         "Debug Message");
        return;
    }
    showRunReport(dialog, runConversion(settings));
}

}  // namespace

void mainDialogInit(MainDialog& dialog) {
    const DialogHandle handle = dialog.handle;
    const ConversionSettings& settings = dialog.settings;
    dialogSetItemText(handle, IDC_INPUT_PATH, settings.inputPath);
    dialogSetItemText(handle, IDC_OUTPUT_PATH, settings.outputPath);
    dialogSetItemInt(handle, IDC_FIRST_SUB_HOURS, settings.firstSubHours);
    dialogSetItemInt(handle, IDC_FIRST_SUB_MINUTES, settings.firstSubMinutes);
    dialogSetItemInt(handle, IDC_FIRST_SUB_SECONDS, settings.firstSubSeconds);
    dialogSetItemInt(handle, IDC_FIRST_SUB_MILLIS, settings.firstSubMillis);
    dialogComboReset(handle, IDC_FRAME_RATE);
    for (const char* rate : kFrameRates) dialogComboAddString(handle, IDC_FRAME_RATE, rate);
    dialogComboSetSelection(handle, IDC_FRAME_RATE, kDefaultFrameRateIndex);
    dialogCheckButton(handle, IDC_JOIN_WITH_NEWLINE, settings.joinWithNewline);
    dialogCheckButton(handle, IDC_SHIFT_FIRST_SUB, settings.shiftFirstSub);
    dialogCheckButton(handle, IDC_TRANSLATE_TAGS, settings.markup == MarkupMode::translate);
}

void mainDialogCommand(MainDialog& dialog, int id) {
    const DialogHandle handle = dialog.handle;
    ConversionSettings& settings = dialog.settings;
    switch (id) {
    case IDC_INPUT_PATH: settings.inputPath = dialogGetItemText(handle, id); break;
    case IDC_CONVERT: startRun(handle, settings); break;
    case IDC_OPEN: chooseInput(handle, settings); break;
    case IDC_OUTPUT_PATH: settings.outputPath = dialogGetItemText(handle, id); break;
    case IDC_CONVERT_AS:
        if (chooseOutput(handle, settings)) startRun(handle, settings);
        break;
    case IDC_FRAME_RATE: settings.frameRate = frameRateOfText(dialogGetItemText(handle, id)); break;
    case IDC_JOIN_WITH_NEWLINE: settings.joinWithNewline = dialogIsButtonChecked(handle, id); break;
    case IDC_SHIFT_FIRST_SUB: settings.shiftFirstSub = dialogIsButtonChecked(handle, id); break;
    case IDC_TRANSLATE_TAGS:
        settings.markup = dialogIsButtonChecked(handle, id) ? MarkupMode::translate : MarkupMode::keep;
        break;
    case IDC_TIMING: {
        TimingDialog timing{&settings, nullptr};
        runTimingDialog(handle, timing);
        break;
    }
    default: break;  // OK and cancel from Enter and Escape among them: nothing
    }
}

void mainDialogDropFile(MainDialog& dialog, const std::string& path) {
    dropInputFile(dialog.handle, dialog.settings, path);
}

void mainDialogClose(MainDialog& dialog) { dialogPostQuit(dialog.handle); }
