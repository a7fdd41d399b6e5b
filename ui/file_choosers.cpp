// The Open and Convert as file choosers: the platform's open-file dialog writing
// straight into the settings' path buffers, then the path edits set from them.
// A dropped file takes Open's way without the dialog.
#include "file_choosers.h"

#include <cstring>
#include <iterator>

namespace {

const FileFilter kSubFileFilters[] = {
    {"Sub Files (.ssa;.srt)", "*.ssa;*.srt"},
    {"All Files", "*.*"},
};

FileChooserRequest subFileRequest(const char* title, bool mustExist) {
    return FileChooserRequest{title, mustExist, ".ssa;.srt", kSubFileFilters,
                              static_cast<int>(std::size(kSubFileFilters))};
}

// After Open's file dialog, confirmed or not: the input buffer shown in its
// edit and the output name proposed from it.
void showInputAndProposeOutput(DialogHandle dialog, ConversionSettings& settings) {
    // The edit reports the change at once, so inputPath becomes the edit's text,
    // at most 254 characters, before the name is derived from it.
    dialogSetItemText(dialog, IDC_INPUT_PATH, settings.inputPath.data());
    if (auto proposal = deriveOutputName(settings.inputPath.data())) {
        setPath(settings.outputPath, *proposal);
        dialogSetItemText(dialog, IDC_OUTPUT_PATH, settings.outputPath.data());
    }
}

}  // namespace

void chooseInput(DialogHandle dialog, ConversionSettings& settings) {
    dialogChooseFile(dialog, subFileRequest("Open Sub File", true), settings.inputPath.data(),
                     settings.inputPath.size());
    showInputAndProposeOutput(dialog, settings);
}

void dropInputFile(DialogHandle dialog, ConversionSettings& settings, const char* path) {
    const std::size_t length = std::strlen(path);
    if (length < settings.inputPath.size()) {
        std::memcpy(settings.inputPath.data(), path, length + 1);
    }
    showInputAndProposeOutput(dialog, settings);
}

bool chooseOutput(DialogHandle dialog, ConversionSettings& settings) {
    if (!dialogChooseFile(dialog, subFileRequest("Save Sub File", false),
                          settings.outputPath.data(), settings.outputPath.size())) {
        return false;
    }
    dialogSetItemText(dialog, IDC_OUTPUT_PATH, settings.outputPath.data());
    return true;
}
