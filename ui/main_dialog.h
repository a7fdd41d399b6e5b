// The main dialog's logic: creation, the command table, a dropped file and
// closing, on top of the platform's dialog services. Whatever owns the dialog
// object calls these, and nothing else of the logic: the Win32 dialog
// procedure, the Qt window, the tests' double.
#pragma once

#include <string>

#include "../engine/conversion_run.h"
#include "platform_dialog.h"

// One dialog's state: the settings that its controls edit and the platform's
// handle of its window. The platform keeps it for the dialog's life (Win32
// through DialogBoxParam's lParam in GWLP_USERDATA; the Qt window and the
// tests' double own it) and sets the handle before the creation below.
struct MainDialog {
    ConversionSettings settings;
    DialogHandle handle = nullptr;
};

// Creation: fills the controls from the settings.
void mainDialogInit(MainDialog& dialog);
// A command from control `id`, whatever its notification (a click, a change of
// text or of the list's selection, a focus change).
void mainDialogCommand(MainDialog& dialog, int id);
// A file dropped onto the dialog (the first, when several are).
void mainDialogDropFile(MainDialog& dialog, const std::string& path);
// A close request or the destroy message.
void mainDialogClose(MainDialog& dialog);
