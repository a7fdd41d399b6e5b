// The Open and Convert as file choosers: the platform's open-file dialog
// changing the settings' path, then the path edits set from it. A dropped file
// takes Open's way without the dialog. Paths pass whole, whatever their length.
#include "file_choosers.h"

#include <cstddef>

namespace {

// An ASS script is read as SSA, so Open lists it; Convert as writes only the
// two kinds that a run writes.
const FileFilter kInputFilters[] = {
    {"Sub Files (.ssa;.srt;.ass)", "*.ssa;*.srt;*.ass"},
    {"All Files", "*.*"},
};
const FileFilter kOutputFilters[] = {
    {"Sub Files (.ssa;.srt)", "*.ssa;*.srt"},
    {"All Files", "*.*"},
};

template <std::size_t count>
FileChooserRequest subFileRequest(const char* title, bool mustExist,
                                  const FileFilter (&filters)[count]) {
    return FileChooserRequest{title, mustExist, ".ssa;.srt", filters, static_cast<int>(count)};
}

// After Open's file dialog, confirmed or not: the input shown in its edit and
// the output name proposed from it. Each edit reports its change, which copies
// the path back into the settings unchanged.
void showInputAndProposeOutput(DialogHandle dialog, ConversionSettings& settings) {
    dialogSetItemText(dialog, IDC_INPUT_PATH, settings.inputPath);
    if (auto proposal = deriveOutputName(settings.inputPath)) {
        settings.outputPath = *proposal;
        dialogSetItemText(dialog, IDC_OUTPUT_PATH, settings.outputPath);
    }
}

}  // namespace

void chooseInput(DialogHandle dialog, ConversionSettings& settings) {
    dialogChooseFile(dialog, subFileRequest("Open Sub File", true, kInputFilters),
                     settings.inputPath);
    showInputAndProposeOutput(dialog, settings);
}

void dropInputFile(DialogHandle dialog, ConversionSettings& settings, const std::string& path) {
    settings.inputPath = path;
    showInputAndProposeOutput(dialog, settings);
}

bool chooseOutput(DialogHandle dialog, ConversionSettings& settings) {
    if (!dialogChooseFile(dialog, subFileRequest("Save Sub File", false, kOutputFilters),
                          settings.outputPath)) {
        return false;
    }
    dialogSetItemText(dialog, IDC_OUTPUT_PATH, settings.outputPath);
    return true;
}
