// The main dialog's logic: creation, the command table and closing, on top of
// the platform's dialog services.
#pragma once

#include <string_view>

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

// Reads the four first-sub number boxes into the settings; right before every run.
void readFirstSubBoxes(DialogHandle dialog);

// The frame-rate box's value: white space skipped, then the longest prefix that
// is a decimal number ("29.97", "25 fps" -> 25, "1e1x" -> 10); 0 when the text
// does not begin with one. The decimal point is always ".", whatever the locale.
double frameRateOfText(std::string_view text);
