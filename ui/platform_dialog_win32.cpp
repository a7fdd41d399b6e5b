// The dialog services on Win32: the user library's dialog item calls, the
// message box and the common dialogs' open-file dialog.
#include <windows.h>

#include <commdlg.h>

#include <array>
#include <cstring>

#include "platform_dialog.h"

namespace {

HWND hwndOf(DialogHandle dialog) { return static_cast<HWND>(dialog); }

// The filter list of the file dialog: name, NUL, pattern, NUL, ..., NUL.
constexpr std::size_t kFilterBufferSize = 256;

void buildFilter(const FileChooserRequest& request, std::array<char, kFilterBufferSize>& out) {
    std::size_t at = 0;
    for (int i = 0; i < request.filterCount; ++i) {
        for (const char* part : {request.filters[i].name, request.filters[i].pattern}) {
            std::size_t length = std::strlen(part);
            if (at + length + 2 > out.size()) break;
            std::memcpy(out.data() + at, part, length + 1);
            at += length + 1;
        }
    }
    out[at] = '\0';
}

// Blanks around nothing but decimal digits.
bool holdsUnsignedDecimal(const char* text) {
    while (*text == ' ') ++text;
    const char* digits = text;
    while (*text >= '0' && *text <= '9') ++text;
    if (text == digits) return false;
    while (*text == ' ') ++text;
    return *text == '\0';
}

}  // namespace

void dialogSetItemText(DialogHandle dialog, int id, const char* text) {
    SetDlgItemTextA(hwndOf(dialog), id, text);
    if (id == IDC_LOG) {
        // The log pane shows its newest lines: the caret at the end, scrolled into view.
        const WPARAM end = static_cast<WPARAM>(std::strlen(text));
        SendDlgItemMessageA(hwndOf(dialog), id, EM_SETSEL, end, static_cast<LPARAM>(end));
        SendDlgItemMessageA(hwndOf(dialog), id, EM_SCROLLCARET, 0, 0);
    }
}

unsigned dialogGetItemText(DialogHandle dialog, int id, char* buffer, int count) {
    return GetDlgItemTextA(hwndOf(dialog), id, buffer, count);
}

void dialogSetItemInt(DialogHandle dialog, int id, unsigned value) {
    SetDlgItemInt(hwndOf(dialog), id, value, FALSE);
}

unsigned dialogGetItemInt(DialogHandle dialog, int id) {
    // Some GetDlgItemInt implementations take the leading digits of "12abc" or
    // wrap "-1"; a box that holds anything but an unsigned number counts as 0.
    std::array<char, 256> text{};
    GetDlgItemTextA(hwndOf(dialog), id, text.data(), static_cast<int>(text.size()));
    if (!holdsUnsignedDecimal(text.data())) return 0;
    return GetDlgItemInt(hwndOf(dialog), id, nullptr, FALSE);
}

void dialogCheckButton(DialogHandle dialog, int id, bool checked) {
    CheckDlgButton(hwndOf(dialog), id, checked ? BST_CHECKED : BST_UNCHECKED);
}

bool dialogIsButtonChecked(DialogHandle dialog, int id) {
    return SendDlgItemMessageA(hwndOf(dialog), id, BM_GETCHECK, 0, 0) != 0;
}

void dialogComboReset(DialogHandle dialog, int id) {
    SendDlgItemMessageA(hwndOf(dialog), id, CB_RESETCONTENT, 0, 0);
}

void dialogComboAddString(DialogHandle dialog, int id, const char* text) {
    SendDlgItemMessageA(hwndOf(dialog), id, CB_ADDSTRING, 0, reinterpret_cast<LPARAM>(text));
}

void dialogComboSetSelection(DialogHandle dialog, int id, int index) {
    SendDlgItemMessageA(hwndOf(dialog), id, CB_SETCURSEL, static_cast<WPARAM>(index), 0);
}

void dialogMessageBox(DialogHandle dialog, const char* text, const char* caption) {
    MessageBoxA(hwndOf(dialog), text, caption, MB_OK);
}

bool dialogChooseFile(DialogHandle dialog, const FileChooserRequest& request, char* buffer,
                      std::size_t bufferSize) {
    std::array<char, kFilterBufferSize> filter{};
    buildFilter(request, filter);
    // The dialog may write into the buffer even when it fails (a chosen path too
    // long for it leaves the needed size there), so a failure restores it.
    std::array<char, 1024> saved{};
    std::size_t savedSize = bufferSize < saved.size() ? bufferSize : saved.size();
    std::memcpy(saved.data(), buffer, savedSize);

    OPENFILENAMEA record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = hwndOf(dialog);
    record.lpstrFilter = filter.data();
    record.nFilterIndex = 1;
    record.lpstrFile = buffer;
    record.nMaxFile = static_cast<DWORD>(bufferSize);
    record.lpstrTitle = request.title;
    record.Flags = request.mustExist ? OFN_FILEMUSTEXIST : 0;
    record.lpstrDefExt = request.defaultExtension;
    if (GetOpenFileNameA(&record)) return true;
    std::memcpy(buffer, saved.data(), savedSize);
    return false;
}

void dialogPostQuit(int code) { PostQuitMessage(code); }
