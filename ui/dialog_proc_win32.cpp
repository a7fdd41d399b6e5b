// The main dialog's Win32 procedure: keeps the dialog object that it is
// created with and hands the messages it handles to the dialog logic; every
// other message is left to the platform.
#include "dialog_proc_win32.h"

#include <shellapi.h>

#include <string>

#include "main_dialog.h"
#include "timing_dialog.h"

namespace {

MainDialog* dialogOf(HWND window) {
    return reinterpret_cast<MainDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
}

// Files dropped from the shell: the first one's path goes to the logic.
void dropFirstFile(MainDialog& dialog, HDROP drop) {
    std::u16string wide;
    if (DragQueryFileW(drop, 0xFFFFFFFF, nullptr, 0) > 0) {
        wide.resize(DragQueryFileW(drop, 0, nullptr, 0));
        DragQueryFileW(drop, 0, reinterpret_cast<LPWSTR>(wide.data()),
                       static_cast<UINT>(wide.size() + 1));
    }
    DragFinish(drop);
    std::string path;
    if (!wide.empty() && programPathOf(dialog.handle, wide, path)) mainDialogDropFile(dialog, path);
}

// The timing dialog's procedure: its commands to the logic; the close box and
// Escape send IDCANCEL, which the logic takes for Cancel.
INT_PTR CALLBACK timingDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<TimingDialog*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        dialog->handle = reinterpret_cast<DialogHandle>(window);
        timingDialogInit(*dialog);
        return TRUE;
    }
    auto* dialog = reinterpret_cast<TimingDialog*>(GetWindowLongPtrA(window, GWLP_USERDATA));
    if (dialog == nullptr || message != WM_COMMAND) return FALSE;
    timingDialogCommand(*dialog, LOWORD(wParam));
    return TRUE;
}

}  // namespace

void runTimingDialog(DialogHandle parent, TimingDialog& dialog) {
    DialogBoxParamA(GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_TIMING), reinterpret_cast<HWND>(parent),
                    timingDialogProc, reinterpret_cast<LPARAM>(&dialog));
}

INT_PTR CALLBACK mainDialogProc(HWND window, UINT message, WPARAM wParam, LPARAM lParam) {
    if (message == WM_INITDIALOG) {
        auto* dialog = reinterpret_cast<MainDialog*>(lParam);
        SetWindowLongPtrA(window, GWLP_USERDATA, lParam);
        dialog->handle = reinterpret_cast<DialogHandle>(window);
        mainDialogInit(*dialog);
        DragAcceptFiles(window, TRUE);  // files dropped on any control come here
        return TRUE;  // the platform puts the focus on the first tab stop, the input path
    }
    MainDialog* dialog = dialogOf(window);
    if (dialog == nullptr) return FALSE;  // a message before WM_INITDIALOG
    switch (message) {
    case WM_COMMAND:
        mainDialogCommand(*dialog, LOWORD(wParam));
        return TRUE;
    case WM_DROPFILES:
        dropFirstFile(*dialog, reinterpret_cast<HDROP>(wParam));
        return TRUE;
    case WM_CLOSE:
    case WM_DESTROY:
        mainDialogClose(*dialog);
        return TRUE;
    default:
        return FALSE;
    }
}
