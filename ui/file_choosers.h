// The Open and Convert as file choosers, the output name Open proposes, and a
// file dropped onto the dialog; each changes the paths of the settings given.
#pragma once

#include <string>

#include "../engine/conversion_run.h"
#include "platform_dialog.h"

// Open: picks the input file (a cancel keeps the old path), shows it in the
// input edit and proposes the output name in the output edit.
void chooseInput(DialogHandle dialog, ConversionSettings& settings);
// A file dropped onto the dialog: what Open does when it picks `path`.
void dropInputFile(DialogHandle dialog, ConversionSettings& settings, const std::string& path);
// Convert as: picks the output file and shows it in the output edit; false on a cancel.
bool chooseOutput(DialogHandle dialog, ConversionSettings& settings);
