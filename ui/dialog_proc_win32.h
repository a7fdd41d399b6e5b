// The Win32 procedure of the main dialog (template IDD_MAIN), and the paths
// that the system hands over in UTF-16.
#pragma once

#include <windows.h>

#include <string>

// The dialog's procedure. DialogBoxParam's (or CreateDialogParam's) last
// argument is the MainDialog that the window keeps for its life: its address,
// which the procedure keeps in GWLP_USERDATA and hands every message to.
INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);

// A path that the system hands over in UTF-16 (a file dialog's, a dropped
// file's) as the program's bytes, in the code page of the A calls, whole. A
// path with a character that the code page lacks is refused with a message box
// owned by `dialog` that names it; false then.
bool programPathOf(HWND dialog, const std::wstring& wide, std::string& path);
