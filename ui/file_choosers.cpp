// The Open and Convert as file choosers: the platform's open-file dialog writing
// straight into the settings' path buffers, then the path edits set from them.
// A dropped file takes Open's way without the dialog.
#include "file_choosers.h"

#include <array>
#include <cstring>
#include <string>
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
    dialogSetItemText(dialog, IDC_INPUT_PATH, settings.inputPath.c_str());
    if (auto proposal = deriveOutputName(settings.inputPath.c_str())) {
        settings.outputPath = *proposal;
        dialogSetItemText(dialog, IDC_OUTPUT_PATH, settings.outputPath.c_str());
    }
}

}  // namespace

// The platform's file dialog over a copy of the path.
bool choosePath(DialogHandle dialog, const FileChooserRequest& request, std::string& path) {
    std::array<char, 260> buffer{};
    if (path.size() < buffer.size()) path.copy(buffer.data(), path.size());
    if (!dialogChooseFile(dialog, request, buffer.data(), buffer.size())) return false;
    path = buffer.data();
    return true;
}

void chooseInput(DialogHandle dialog, ConversionSettings& settings) {
    choosePath(dialog, subFileRequest("Open Sub File", true), settings.inputPath);
    showInputAndProposeOutput(dialog, settings);
}

void dropInputFile(DialogHandle dialog, ConversionSettings& settings, const char* path) {
    if (std::strlen(path) < 260) settings.inputPath = path;
    showInputAndProposeOutput(dialog, settings);
}

bool chooseOutput(DialogHandle dialog, ConversionSettings& settings) {
    if (!choosePath(dialog, subFileRequest("Save Sub File", false), settings.outputPath)) {
        return false;
    }
    dialogSetItemText(dialog, IDC_OUTPUT_PATH, settings.outputPath.c_str());
    return true;
}
