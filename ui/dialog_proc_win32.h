// The Win32 procedure of the main dialog (template IDD_MAIN).
#pragma once

#include <windows.h>

// The dialog's procedure. DialogBoxParam's (or CreateDialogParam's) last
// argument is the MainDialog that the window keeps for its life: its address,
// which the procedure keeps in GWLP_USERDATA and hands every message to.
INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam);
