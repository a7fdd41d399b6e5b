// The platform's dialog services that the dialog logic calls, as free functions.
// One implementation per platform is linked in: the Win32 one (platform_dialog_win32.cpp),
// the Qt one (platform_dialog_qt.cpp with qt_window.cpp) and the in-memory double of
// the tests. Nothing above this header knows which, and these services know
// nothing of the logic above them.
#pragma once

#include <string>

#include "resource.h"

// The dialog window: an HWND on Windows, the Qt window on Linux, a record in the tests.
using DialogHandle = void*;

// The line end of the texts the platform shows: the log pane's lines and a
// message box's end with it ("\r\n" on Win32, "\n" in Qt).
extern const char kDialogLineEnd[];

// The logic's handler of the dialog's commands: each notification of control
// `id` (a click, a change of text or of the list's selection, a focus change),
// with the context the logic registered.
using DialogCommandHandler = void (*)(void* context, int id);
// Registers the handler; the logic does so when the dialog is created, before
// it sets any control. Win32 needs none: its dialog procedure hands the
// commands to the dialog object that it keeps (dialog_proc_win32.cpp).
void dialogSetCommandHandler(DialogHandle dialog, DialogCommandHandler handler, void* context);

// Sets a control's text, whole. The two path edits (IDC_INPUT_PATH,
// IDC_OUTPUT_PATH) report the change as a command before this returns, also
// when the text stays the same; the text is a copy, as the command may change
// the string it came from.
void dialogSetItemText(DialogHandle dialog, int id, std::string text);
// A control's text, whole.
std::string dialogGetItemText(DialogHandle dialog, int id);
void dialogSetItemInt(DialogHandle dialog, int id, unsigned value);
// The box's unsigned decimal value; 0 when it is empty or holds no such number.
unsigned dialogGetItemInt(DialogHandle dialog, int id);
void dialogCheckButton(DialogHandle dialog, int id, bool checked);
bool dialogIsButtonChecked(DialogHandle dialog, int id);
void dialogComboReset(DialogHandle dialog, int id);
void dialogComboAddString(DialogHandle dialog, int id, const char* text);
void dialogComboSetSelection(DialogHandle dialog, int id, int index);
// A modal box with one OK button and no icon; returns when it is closed.
void dialogMessageBox(DialogHandle dialog, const std::string& text, const char* caption);

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
// Starts from `path` and puts the chosen file's full path there, whole, on a
// confirm; returns true then. A cancel, or a path that the platform cannot
// hand over (refused with a message box that names it), leaves `path` as it
// was and returns false.
bool dialogChooseFile(DialogHandle dialog, const FileChooserRequest& request, std::string& path);

// Ends the dialog loop.
void dialogPostQuit(DialogHandle dialog);
