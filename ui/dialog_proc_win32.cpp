// The main dialog's Win32 procedure: hands the four messages it handles to the
// dialog logic and leaves every other one to the platform.
#include "dialog_proc_win32.h"

#include "main_dialog.h"

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        mainDialogInit(dialog);
        return TRUE;  // the platform puts the focus on the first tab stop, edit 1016
    case WM_COMMAND:
        mainDialogCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_CLOSE:
    case WM_DESTROY:
        mainDialogClose(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}
