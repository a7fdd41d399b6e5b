// The platform's dialog services that the dialog logic calls, as free functions.
// One implementation per platform is linked in: the Win32 one (platform_dialog_win32.cpp),
// the Qt one (platform_dialog_qt.cpp) and the in-memory double of the tests.
// Nothing above this header knows which.
#pragma once

#include <cstddef>

#include "resource.h"

// The dialog window: an HWND on Windows, the Qt window on Linux, a record in the tests.
using DialogHandle = void*;

// Sets a control's text. The two path edits (IDC_INPUT_PATH, IDC_OUTPUT_PATH)
// report the change to the dialog logic (mainDialogCommand) before this returns.
void dialogSetItemText(DialogHandle dialog, int id, const char* text);
// Copies at most count - 1 characters and terminates; returns the characters copied.
unsigned dialogGetItemText(DialogHandle dialog, int id, char* buffer, int count);
void dialogSetItemInt(DialogHandle dialog, int id, unsigned value);
// The box's unsigned decimal value; 0 when it is empty or holds no such number.
unsigned dialogGetItemInt(DialogHandle dialog, int id);
void dialogCheckButton(DialogHandle dialog, int id, bool checked);
bool dialogIsButtonChecked(DialogHandle dialog, int id);
void dialogComboReset(DialogHandle dialog, int id);
void dialogComboAddString(DialogHandle dialog, int id, const char* text);
void dialogComboSetSelection(DialogHandle dialog, int id, int index);
// A modal box with one OK button and no icon; returns when it is closed.
void dialogMessageBox(DialogHandle dialog, const char* text, const char* caption);

// One entry of a file chooser's type list: the name shown and its patterns.
struct FileFilter {
    const char* name;     // "Sub Files (.ssa;.srt)"
    const char* pattern;  // "*.ssa;*.srt"
};

// The open-file dialog of both file choosers. The first filter is selected.
struct FileChooserRequest {
    const char* title;             // "Open Sub File" or "Save Sub File"
    bool mustExist;                // Open: the file must exist; Convert as: any name
    const char* defaultExtension;  // ".ssa;.srt"
    const FileFilter* filters;
    int filterCount;
};
// The buffer holds the current path on entry and the chosen full path on a
// confirm; it is left as it was on a cancel. Returns true when confirmed.
bool dialogChooseFile(DialogHandle dialog, const FileChooserRequest& request, char* buffer,
                      std::size_t bufferSize);

// Ends the dialog loop.
void dialogPostQuit(int code);
