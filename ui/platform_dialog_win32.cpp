// The dialog services on Win32: the user library's dialog item calls, the
// message box and the common dialogs' open-file dialog.
#include <windows.h>

#include <commdlg.h>

#include <array>

#include "platform_dialog.h"

const char kDialogLineEnd[] = "\r\n";

namespace {

HWND hwndOf(DialogHandle dialog) { return reinterpret_cast<HWND>(dialog); }

// The system's UTF-16 is its wide characters.
static_assert(sizeof(wchar_t) == sizeof(char16_t));
const wchar_t* wideOf(std::u16string_view text) {
    return reinterpret_cast<const wchar_t*>(text.data());
}

// The program's bytes (the A calls' code page) as UTF-16.
std::wstring wideOf(const std::string& text) {
    std::wstring wide(text.size(), L'\0');  // never more characters than bytes
    wide.resize(static_cast<std::size_t>(MultiByteToWideChar(
        CP_ACP, 0, text.data(), static_cast<int>(text.size()), wide.data(),
        static_cast<int>(wide.size()))));
    return wide;
}

// The filter list of the file dialog: name, NUL, pattern, NUL, ..., NUL.
std::wstring filterOf(const FileChooserRequest& request) {
    std::wstring filter;
    for (int i = 0; i < request.filterCount; ++i) {
        for (const char* part : {request.filters[i].name, request.filters[i].pattern}) {
            filter += wideOf(part);
            filter += L'\0';
        }
    }
    return filter + L'\0';
}

// Blanks around nothing but decimal digits.
bool holdsUnsignedDecimal(const std::string& text) {
    const std::size_t first = text.find_first_not_of(' ');
    if (first == std::string::npos) return false;
    const std::size_t last = text.find_last_not_of(' ');
    return text.find_first_not_of("0123456789", first) > last;
}

}  // namespace

bool programPathOf(DialogHandle dialog, std::u16string_view wide, std::string& path) {
    // Without a replacement character or a best fit, so that a character the
    // code page lacks is found out; UTF-8 lacks none but a lone surrogate.
    const UINT codePage = GetACP();
    const bool utf8 = codePage == CP_UTF8;
    const DWORD flags = utf8 ? WC_ERR_INVALID_CHARS : WC_NO_BEST_FIT_CHARS;
    const int length = static_cast<int>(wide.size());
    BOOL lost = FALSE;
    const int size = WideCharToMultiByte(codePage, flags, wideOf(wide), length, nullptr, 0,
                                         nullptr, utf8 ? nullptr : &lost);
    if ((size > 0 || wide.empty()) && !lost) {
        path.assign(static_cast<std::size_t>(size), '\0');
        WideCharToMultiByte(codePage, flags, wideOf(wide), length, path.data(), size, nullptr,
                            nullptr);
        return true;
    }
    const std::wstring message =
        L"The path has characters that this system's code page cannot hold:\r\n" +
        std::wstring(wideOf(wide), wide.size());
    MessageBoxW(hwndOf(dialog), message.c_str(), L"Debug Message", MB_OK);
    return false;
}

void dialogSetItemText(DialogHandle dialog, int id, std::string text) {
    SetDlgItemTextA(hwndOf(dialog), id, text.c_str());
    if (id == IDC_LOG) {
        // The log pane shows its newest lines: the caret at the end, scrolled into view.
        const WPARAM end = text.size();
        SendDlgItemMessageA(hwndOf(dialog), id, EM_SETSEL, end, static_cast<LPARAM>(end));
        SendDlgItemMessageA(hwndOf(dialog), id, EM_SCROLLCARET, 0, 0);
    }
}

std::string dialogGetItemText(DialogHandle dialog, int id) {
    HWND control = GetDlgItem(hwndOf(dialog), id);
    // The length the system tells, and room for the longest character of any
    // code page beyond it; grown until the text is seen to end before the room.
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(control)) + 5, '\0');
    for (;;) {
        const auto copied = static_cast<std::size_t>(
            GetWindowTextA(control, text.data(), static_cast<int>(text.size())));
        if (copied + 4 < text.size()) {
            text.resize(copied);
            return text;
        }
        text.resize(text.size() * 2);
    }
}

void dialogSetItemInt(DialogHandle dialog, int id, unsigned value) {
    SetDlgItemInt(hwndOf(dialog), id, value, FALSE);
}

unsigned dialogGetItemInt(DialogHandle dialog, int id) {
    // Some GetDlgItemInt implementations take the leading digits of "12abc" or
    // wrap "-1"; a box that holds anything but an unsigned number counts as 0.
    if (!holdsUnsignedDecimal(dialogGetItemText(dialog, id))) return 0;
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

void dialogMessageBox(DialogHandle dialog, const std::string& text, const char* caption) {
    MessageBoxA(hwndOf(dialog), text.c_str(), caption, MB_OK);
}

// The dialog works in UTF-16 with a buffer of MAX_PATH characters, as the
// system's paths; the chosen path is then converted whole. A starting path too
// long for the buffer is left out: the dialog starts without a name.
bool dialogChooseFile(DialogHandle dialog, const FileChooserRequest& request, std::string& path) {
    std::array<wchar_t, MAX_PATH> buffer{};
    if (const std::wstring start = wideOf(path); start.size() < buffer.size())
        start.copy(buffer.data(), start.size());
    const std::wstring filter = filterOf(request);
    const std::wstring title = wideOf(request.title);
    const std::wstring extension = wideOf(request.defaultExtension);
    OPENFILENAMEW record{};
    record.lStructSize = sizeof record;
    record.hwndOwner = hwndOf(dialog);
    record.lpstrFilter = filter.c_str();
    record.nFilterIndex = 1;
    record.lpstrFile = buffer.data();
    record.nMaxFile = static_cast<DWORD>(buffer.size());
    record.lpstrTitle = title.c_str();
    record.Flags = request.mustExist ? OFN_FILEMUSTEXIST : 0;
    record.lpstrDefExt = extension.c_str();
    if (!GetOpenFileNameW(&record)) return false;
    return programPathOf(dialog, reinterpret_cast<const char16_t*>(buffer.data()), path);
}

void dialogPostQuit(DialogHandle) { PostQuitMessage(0); }

void dialogEndModal(DialogHandle dialog) { EndDialog(hwndOf(dialog), 0); }
