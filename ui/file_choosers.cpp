// The Open and Convert as file choosers: the platform's open-file dialog writing
// straight into the settings' path buffers, then the path edits set from them.
#include "file_choosers.h"

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

}  // namespace

void chooseInput(DialogHandle dialog) {
    ConversionSettings& settings = programSettings();
    dialogChooseFile(dialog, subFileRequest("Open Sub File", true), settings.inputPath.data(),
                     settings.inputPath.size());
    // The edit reports the change at once, so inputPath becomes the edit's text,
    // at most 254 characters, before the name is derived from it.
    dialogSetItemText(dialog, kIdInputPath, settings.inputPath.data());
    if (auto proposal = deriveOutputName(settings.inputPath.data())) {
        setPath(settings.outputPath, *proposal);
        dialogSetItemText(dialog, kIdOutputPath, settings.outputPath.data());
    }
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
