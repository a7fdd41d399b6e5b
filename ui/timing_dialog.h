// The timing dialog's logic: a second, modal dialog over the main one, whose
// OK puts a speed change, a shift or a sync into the main dialog's settings.
// Whatever owns the dialog object calls these: the Win32 dialog procedure,
// the Qt window, the tests' double.
#pragma once

#include "../engine/conversion_settings.h"
#include "platform_dialog.h"

// One timing dialog's state: the settings it changes on OK (the main
// dialog's) and the platform's handle of its window, set before creation.
struct TimingDialog {
    ConversionSettings* settings = nullptr;
    DialogHandle handle = nullptr;
};

// Creation: fills the controls from the settings.
void timingDialogInit(TimingDialog& dialog);
// A command from control `id`: OK (or Enter) checks the values and, when
// they make sense, puts them into the settings and ends the dialog; Cancel
// (or Escape, or the close box) ends it with the settings as they were.
void timingDialogCommand(TimingDialog& dialog, int id);

// Opens the timing dialog over `parent` and returns when it has ended. The
// platform's owner of dialog objects implements it.
void runTimingDialog(DialogHandle parent, TimingDialog& dialog);
