// The Open and Convert as file choosers, the output name Open proposes, and a
// file dropped onto the dialog.
#pragma once

#include "platform_dialog.h"

// Open: picks the input file (a cancel keeps the old path), shows it in edit 1016
// and proposes the output name in edit 1019.
void chooseInput(DialogHandle dialog);
// A file dropped onto the dialog (the first, when several are): what Open does
// when it picks `path`. A path that the open-file dialog could not hand over
// (260 bytes or more) counts as a cancel: Open's cancel, which keeps the input.
void dropInputFile(DialogHandle dialog, const char* path);
// Convert as: picks the output file and shows it in edit 1019; false on a cancel.
bool chooseOutput(DialogHandle dialog);

// What both choosers pass to the platform's file dialog.
extern const FileFilter kSubFileFilters[2];
extern const char kSubFileDefaultExtension[];
