// The Windows program's entry point: the main dialog, modal, with its dialog
// object, and exit status 1.
#include <windows.h>

#include "dialog_proc_win32.h"
#include "main_dialog.h"
#include "resource.h"

int WINAPI WinMain(HINSTANCE instance, HINSTANCE, LPSTR, int) {
    MainDialog dialog;
    DialogBoxParamA(instance, MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainDialogProc,
                    reinterpret_cast<LPARAM>(&dialog));
    return 1;
}
