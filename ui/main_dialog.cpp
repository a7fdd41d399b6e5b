// The main dialog's procedure logic: creation defaults, the command table and closing.
#include "main_dialog.h"

#include <array>

#include "file_choosers.h"
#include "frame_rate_text.h"
#include "log_pane.h"

namespace {

constexpr std::array<const char*, 6> kFrameRates = {"30", "29.97", "25", "24", "23.976", "15"};
constexpr int kDefaultFrameRateIndex = 2;  // "25", as the settings' default
constexpr int kPathTextCount = 255;

void copyPathEdit(DialogHandle dialog, int id, std::string& path) {
    std::array<char, kPathTextCount> text{};
    dialogGetItemText(dialog, id, text.data(), kPathTextCount);
    path = text.data();
}

void readFrameRate(DialogHandle dialog, ConversionSettings& settings) {
    std::array<char, kPathTextCount> text{};
    dialogGetItemText(dialog, IDC_FRAME_RATE, text.data(), kPathTextCount);
    settings.frameRate = frameRateOfText(text.data());
}

// The first-sub number boxes are read right before every run, not as they change.
void startRun(DialogHandle dialog, ConversionSettings& settings) {
    settings.firstSubHours = dialogGetItemInt(dialog, IDC_FIRST_SUB_HOURS);
    settings.firstSubMinutes = dialogGetItemInt(dialog, IDC_FIRST_SUB_MINUTES);
    settings.firstSubSeconds = dialogGetItemInt(dialog, IDC_FIRST_SUB_SECONDS);
    settings.firstSubMillis = dialogGetItemInt(dialog, IDC_FIRST_SUB_MILLIS);
    showRunReport(dialog, runConversion(settings));
}

}  // namespace

ConversionSettings& programSettings() {
    static ConversionSettings settings;
    return settings;
}

void mainDialogInit(DialogHandle dialog) {
    ConversionSettings& settings = programSettings();
    dialogSetItemText(dialog, IDC_INPUT_PATH, settings.inputPath.c_str());
    dialogSetItemText(dialog, IDC_OUTPUT_PATH, settings.outputPath.c_str());
    dialogSetItemInt(dialog, IDC_FIRST_SUB_HOURS, settings.firstSubHours);
    dialogSetItemInt(dialog, IDC_FIRST_SUB_MINUTES, settings.firstSubMinutes);
    dialogSetItemInt(dialog, IDC_FIRST_SUB_SECONDS, settings.firstSubSeconds);
    dialogSetItemInt(dialog, IDC_FIRST_SUB_MILLIS, settings.firstSubMillis);
    dialogComboReset(dialog, IDC_FRAME_RATE);
    for (const char* rate : kFrameRates) dialogComboAddString(dialog, IDC_FRAME_RATE, rate);
    dialogComboSetSelection(dialog, IDC_FRAME_RATE, kDefaultFrameRateIndex);
    dialogCheckButton(dialog, IDC_JOIN_WITH_NEWLINE, settings.joinWithNewline);
    dialogCheckButton(dialog, IDC_SHIFT_FIRST_SUB, settings.shiftFirstSub);
}

void mainDialogCommand(DialogHandle dialog, int id) {
    ConversionSettings& settings = programSettings();
    switch (id) {
    case IDC_INPUT_PATH: copyPathEdit(dialog, id, settings.inputPath); break;
    case IDC_CONVERT: startRun(dialog, settings); break;
    case IDC_OPEN: chooseInput(dialog, settings); break;
    case IDC_OUTPUT_PATH: copyPathEdit(dialog, id, settings.outputPath); break;
    case IDC_CONVERT_AS:
        if (chooseOutput(dialog, settings)) startRun(dialog, settings);
        break;
    case IDC_FRAME_RATE: readFrameRate(dialog, settings); break;
    case IDC_JOIN_WITH_NEWLINE: settings.joinWithNewline = dialogIsButtonChecked(dialog, id); break;
    case IDC_SHIFT_FIRST_SUB: settings.shiftFirstSub = dialogIsButtonChecked(dialog, id); break;
    default: break;  // OK and cancel from Enter and Escape among them: nothing
    }
}

void mainDialogDropFile(DialogHandle dialog, const char* path) {
    dropInputFile(dialog, programSettings(), path);
}

void mainDialogClose(DialogHandle) { dialogPostQuit(0); }
