// The main dialog's logic: creation, the command table and closing, on top of
// the platform's dialog services.
#pragma once

#include "../engine/conversion_run.h"
#include "platform_dialog.h"

// The one settings record of the program.
ConversionSettings& programSettings();

// The initialisation message: fills the controls from the settings.
void mainDialogInit(DialogHandle dialog);
// A command from control `id`, whatever its notification.
void mainDialogCommand(DialogHandle dialog, int id);
// A close request or the destroy message.
void mainDialogClose(DialogHandle dialog);

void readFirstSubBoxes(DialogHandle dialog);
