// The Windows program's entry point: the main dialog, modal, and exit status 1.
#include <windows.h>

#include "dialog_proc_win32.h"
#include "resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainDialogProc, 0);
    return 1;
}
