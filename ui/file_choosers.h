// The Open and Convert as file choosers and the output name Open proposes.
#pragma once

#include "platform_dialog.h"

// Open: picks the input file (a cancel keeps the old path), shows it in edit 1016
// and proposes the output name in edit 1019.
void chooseInput(DialogHandle dialog);
// Convert as: picks the output file and shows it in edit 1019; false on a cancel.
bool chooseOutput(DialogHandle dialog);

// What both choosers pass to the platform's file dialog.
extern const FileFilter kSubFileFilters[2];
extern const char kSubFileDefaultExtension[];
