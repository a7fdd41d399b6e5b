// The main dialog's Win32 procedure: hands the messages it handles to the
// dialog logic and leaves every other one to the platform.
#include "dialog_proc_win32.h"

#include <shellapi.h>

#include <string>

#include "main_dialog.h"

namespace {

// Files dropped from the shell: the first one's path goes to the logic.
void dropFirstFile(HWND dialog, HDROP drop) {
    std::string path;
    if (DragQueryFileA(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        path.resize(DragQueryFileA(drop, 0, nullptr, 0));
        DragQueryFileA(drop, 0, path.data(), static_cast<UINT>(path.size() + 1));
    }
    DragFinish(drop);
    if (!path.empty()) mainDialogDropFile(dialog, path.c_str());
}

}  // namespace

INT_PTR CALLBACK mainDialogProc(HWND dialog, UINT message, WPARAM wParam, LPARAM) {
    switch (message) {
    case WM_INITDIALOG:
        mainDialogInit(dialog);
        DragAcceptFiles(dialog, TRUE);  // files dropped on any control come here
        return TRUE;  // the platform puts the focus on the first tab stop, the input path
    case WM_COMMAND:
        mainDialogCommand(dialog, LOWORD(wParam));
        return TRUE;
    case WM_DROPFILES:
        dropFirstFile(dialog, reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_CLOSE:
    case WM_DESTROY:
        mainDialogClose(dialog);
        return TRUE;
    default:
        return FALSE;
    }
}
