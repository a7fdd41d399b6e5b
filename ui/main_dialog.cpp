// The main dialog's procedure logic: creation defaults, the command table and closing.
#include "main_dialog.h"

#include <array>

#include "file_choosers.h"
#include "log_pane.h"

namespace {

constexpr std::array<const char*, 6> kFrameRates = {"30", "29.97", "25", "24", "23.976", "15"};
constexpr int kDefaultFrameRateIndex = 2;  // "25", as the settings' default
constexpr int kPathTextCount = static_cast<int>(kMaxPathChars) + 1;

void copyPathEdit(DialogHandle dialog, int id, std::array<char, kPathBufferSize>& path) {
    dialogGetItemText(dialog, id, path.data(), kPathTextCount);
}

void readFrameRate(DialogHandle dialog) {
    std::array<char, kPathTextCount> text{};
    dialogGetItemText(dialog, kIdFrameRate, text.data(), kPathTextCount);
    programSettings().frameRate = frameRateOfText(text.data());
}

void startRun(DialogHandle dialog) {
    readFirstSubBoxes(dialog);
    runConversion(programSettings(), dialogReportSink(dialog));
}

}  // namespace

ConversionSettings& programSettings() {
    static ConversionSettings settings;
    return settings;
}

void readFirstSubBoxes(DialogHandle dialog) {
    ConversionSettings& settings = programSettings();
    settings.firstSubHours = dialogGetItemInt(dialog, kIdFirstSubHours);
    settings.firstSubMinutes = dialogGetItemInt(dialog, kIdFirstSubMinutes);
    settings.firstSubSeconds = dialogGetItemInt(dialog, kIdFirstSubSeconds);
    settings.firstSubMillis = dialogGetItemInt(dialog, kIdFirstSubMillis);
}

void mainDialogInit(DialogHandle dialog) {
    ConversionSettings& settings = programSettings();
    dialogSetItemText(dialog, kIdInputPath, settings.inputPath.data());
    dialogSetItemText(dialog, kIdOutputPath, settings.outputPath.data());
    dialogSetItemInt(dialog, kIdFirstSubHours, settings.firstSubHours);
    dialogSetItemInt(dialog, kIdFirstSubMinutes, settings.firstSubMinutes);
    dialogSetItemInt(dialog, kIdFirstSubSeconds, settings.firstSubSeconds);
    dialogSetItemInt(dialog, kIdFirstSubMillis, settings.firstSubMillis);
    dialogComboReset(dialog, kIdFrameRate);
    for (const char* rate : kFrameRates) dialogComboAddString(dialog, kIdFrameRate, rate);
    dialogComboSetSelection(dialog, kIdFrameRate, kDefaultFrameRateIndex);
    dialogCheckButton(dialog, kIdJoinWithNewline, settings.joinWithNewline);
    dialogCheckButton(dialog, kIdShiftFirstSub, settings.shiftFirstSub);
}

void mainDialogCommand(DialogHandle dialog, int id) {
    ConversionSettings& settings = programSettings();
    switch (id) {
    case kIdInputPath: copyPathEdit(dialog, id, settings.inputPath); break;
    case kIdConvert: startRun(dialog); break;
    case kIdOpen: chooseInput(dialog); break;
    case kIdOutputPath: copyPathEdit(dialog, id, settings.outputPath); break;
    case kIdConvertAs:
        if (chooseOutput(dialog)) startRun(dialog);
        break;
    case kIdFrameRate: readFrameRate(dialog); break;
    case kIdJoinWithNewline: settings.joinWithNewline = dialogIsButtonChecked(dialog, id); break;
    case kIdShiftFirstSub: settings.shiftFirstSub = dialogIsButtonChecked(dialog, id); break;
    default: break;  // OK and cancel from Enter and Escape among them: nothing
    }
}

void mainDialogClose(DialogHandle) { dialogPostQuit(0); }
