// The platform's dialog services that the dialog logic calls, as free functions.
// One implementation per platform is linked in: the Win32 one (platform_dialog_win32.cpp),
// the Qt one (platform_dialog_qt.cpp with qt_window.cpp) and the in-memory double of
// the tests. Nothing above this header knows which, and these services know
// nothing of the logic above them: whatever owns the dialog object (the Win32
// dialog procedure, the Qt window, the double) hands the user's actions to the
// logic itself (main_dialog.h).
#pragma once

#include <string>
#include <string_view>

#include "resource.h"

// The dialog window, as the platform linked in defines it: the Qt window on
// Linux, the in-memory record in the tests; on Win32 the handle's value is the
// dialog's HWND.
struct DialogWindow;
using DialogHandle = DialogWindow*;

// The line end of the texts the platform shows: the log pane's lines and a
// message box's end with it ("\r\n" on Win32, "\n" in Qt).
extern const char kDialogLineEnd[];

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
// Ends a second, modal dialog (the timing dialog): its window goes, and the
// call that opened it returns.
void dialogEndModal(DialogHandle dialog);

// A path that the system hands over in UTF-16 (a file dialog's, a dropped
// file's) as the program's bytes, whole: in the code page of the A calls on
// Win32, the file system's encoding elsewhere. A path that those bytes cannot
// hold (a character the code page lacks, a lone surrogate) is refused with a
// message box owned by `dialog` that names it; false then. The platform's own
// code calls it; the logic sees only the bytes.
bool programPathOf(DialogHandle dialog, std::u16string_view wide, std::string& path);
