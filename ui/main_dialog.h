// The main dialog's logic: creation, the command table, a dropped file and
// closing, on top of the platform's dialog services. The platforms call these
// and nothing else of the logic.
#pragma once

#include "../engine/conversion_run.h"
#include "platform_dialog.h"

// The one settings record of the program.
ConversionSettings& programSettings();

// The initialisation message: fills the controls from the settings.
void mainDialogInit(DialogHandle dialog);
// A command from control `id`, whatever its notification.
void mainDialogCommand(DialogHandle dialog, int id);
// A file dropped onto the dialog (the first, when several are).
void mainDialogDropFile(DialogHandle dialog, const char* path);
// A close request or the destroy message.
void mainDialogClose(DialogHandle dialog);
