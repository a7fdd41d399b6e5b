// The Open and Convert as file choosers: the platform's open-file dialog writing
// straight into the settings' path buffers, then the path edits set from them.
// A dropped file takes Open's way without the dialog.
#include "file_choosers.h"

#include <cstring>

#include "main_dialog.h"

const FileFilter kSubFileFilters[2] = {
    {"Sub Files (.ssa;.srt)", "*.ssa;*.srt"},
    {"All Files", "*.*"},
};
const char kSubFileDefaultExtension[] = ".ssa;.srt";

namespace {

FileChooserRequest subFileRequest(const char* title, bool mustExist) {
    return FileChooserRequest{title, mustExist, kSubFileDefaultExtension, kSubFileFilters, 2};
}

// After Open's file dialog, confirmed or not: the input buffer shown in edit
// 1016 and the output name proposed from it.
void showInputAndProposeOutput(DialogHandle dialog) {
    ConversionSettings& settings = programSettings();
    // The edit reports the change at once, so inputPath becomes the edit's text,
    // at most 254 characters, before the name is derived from it.
    dialogSetItemText(dialog, kIdInputPath, settings.inputPath.data());
    if (auto proposal = deriveOutputName(settings.inputPath.data())) {
        setPath(settings.outputPath, *proposal);
        dialogSetItemText(dialog, kIdOutputPath, settings.outputPath.data());
    }
}

}  // namespace

void chooseInput(DialogHandle dialog) {
    ConversionSettings& settings = programSettings();
    dialogChooseFile(dialog, subFileRequest("Open Sub File", true), settings.inputPath.data(),
                     settings.inputPath.size());
    showInputAndProposeOutput(dialog);
}

void dropInputFile(DialogHandle dialog, const char* path) {
    std::array<char, kPathBufferSize>& buffer = programSettings().inputPath;
    const std::size_t length = std::strlen(path);
    if (length < buffer.size()) std::memcpy(buffer.data(), path, length + 1);
    showInputAndProposeOutput(dialog);
}

bool chooseOutput(DialogHandle dialog) {
    ConversionSettings& settings = programSettings();
    if (!dialogChooseFile(dialog, subFileRequest("Save Sub File", false),
                          settings.outputPath.data(), settings.outputPath.size())) {
        return false;
    }
    dialogSetItemText(dialog, kIdOutputPath, settings.outputPath.data());
    return true;
}
