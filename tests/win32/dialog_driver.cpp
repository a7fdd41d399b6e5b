// The test driver of the real dialog: message loop, user actions, and the
// timer that answers modal windows.
#include "dialog_driver.h"

#include <fstream>
#include <sstream>

#include "dialog_proc_win32.h"

namespace {

DialogDriver* watched = nullptr;
UINT_PTR watchTimer = 0;
struct Answered {
    HWND window;
    DWORD tick;  // when it was answered
};
std::vector<Answered> answered;  // modal windows already read and answered
// A modal window still open this long after its answer (a file dialog that
// refused the name, say) is cancelled, so that a test fails instead of hanging.
constexpr DWORD kStuckMs = 3000;

constexpr int kFileNameBox = 0x480;     // edt1 of the open-file dialog
constexpr int kFileNameCombo = 0x47c;   // cmb13, the name box of newer dialogs
constexpr int kFileTypeList = 0x470;    // cmb1

std::string className(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

HWND fileNameBox(HWND fileDialog) {
    if (HWND box = GetDlgItem(fileDialog, kFileNameCombo)) return box;
    return GetDlgItem(fileDialog, kFileNameBox);
}

void answerFileDialog(HWND window) {
    SeenFileDialog seen;
    seen.title = windowText(window);
    HWND types = GetDlgItem(window, kFileTypeList);
    const LRESULT count = SendMessageA(types, CB_GETCOUNT, 0, 0);
    for (LRESULT i = 0; i < count; ++i) {
        char name[256] = {};
        SendMessageA(types, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(name));
        seen.filters.emplace_back(name);
    }
    seen.filterIndex = static_cast<int>(SendMessageA(types, CB_GETCURSEL, 0, 0));
    seen.fileName = windowText(fileNameBox(window));
    watched->fileDialogs.push_back(seen);

    FileDialogAnswer answer;
    if (!watched->answers.empty()) {
        answer = watched->answers.front();
        watched->answers.pop_front();
    }
    if (answer.path.empty()) {
        PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED),
                     reinterpret_cast<LPARAM>(GetDlgItem(window, IDCANCEL)));
        return;
    }
    SetWindowTextA(fileNameBox(window), answer.path.c_str());
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
}

BOOL CALLBACK collectText(HWND child, LPARAM into) {
    if (className(child) == "Static") {
        std::string text = windowText(child);
        auto& longest = *reinterpret_cast<std::string*>(into);
        if (text.size() > longest.size()) longest = text;
    }
    return TRUE;
}

void answerMessageBox(HWND window) {
    SeenMessageBox seen;
    seen.caption = windowText(window);
    EnumChildWindows(window, collectText, reinterpret_cast<LPARAM>(&seen.text));
    watched->messageBoxes.push_back(seen);
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDOK, BN_CLICKED),
                 reinterpret_cast<LPARAM>(GetDlgItem(window, IDOK)));
}

BOOL CALLBACK answerModal(HWND window, LPARAM) {
    if (window == watched->dialog || !IsWindowVisible(window) || !IsWindowEnabled(window) ||
        className(window) != "#32770") {
        return TRUE;
    }
    for (const Answered& done : answered) {
        if (done.window != window) continue;
        if (GetTickCount() - done.tick > kStuckMs) {
            PostMessageA(window, WM_COMMAND, MAKEWPARAM(IDCANCEL, BN_CLICKED), 0);
            PostMessageA(window, WM_CLOSE, 0, 0);
        }
        return TRUE;
    }
    answered.push_back({window, GetTickCount()});
    if (GetDlgItem(window, kFileTypeList)) {
        answerFileDialog(window);
    } else {
        answerMessageBox(window);
    }
    return TRUE;
}

void CALLBACK watchModalWindows(HWND, UINT, UINT_PTR, DWORD) {
    if (watched) EnumThreadWindows(GetCurrentThreadId(), answerModal, 0);
}

}  // namespace

void openDialog(DialogDriver& driver) {
    watched = &driver;
    answered.clear();
    driver.dialog = CreateDialogParamA(GetModuleHandleA(nullptr),
                                       MAKEINTRESOURCEA(kMainDialogTemplate), nullptr,
                                       mainDialogProc, 0);
    ShowWindow(driver.dialog, SW_SHOW);
    SetForegroundWindow(driver.dialog);
    watchTimer = SetTimer(nullptr, 0, 150, watchModalWindows);
    pump(driver);
}

void closeDialog(DialogDriver& driver) {
    KillTimer(nullptr, watchTimer);
    if (IsWindow(driver.dialog)) DestroyWindow(driver.dialog);
    pump(driver);
    watched = nullptr;
}

void pump(DialogDriver& driver) {
    MSG message;
    while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
        if (message.message == WM_QUIT) {
            driver.quitPosted = true;
            continue;
        }
        if (!IsWindow(driver.dialog) || !IsDialogMessageA(driver.dialog, &message)) {
            TranslateMessage(&message);
            DispatchMessageA(&message);
        }
    }
}

HWND itemOf(const DialogDriver& driver, int id) { return GetDlgItem(driver.dialog, id); }

std::string windowText(HWND window) {
    std::string text(static_cast<std::size_t>(GetWindowTextLengthA(window)) + 1, '\0');
    text.resize(static_cast<std::size_t>(GetWindowTextA(window, text.data(), static_cast<int>(text.size()))));
    return text;
}

std::string itemText(const DialogDriver& driver, int id) { return windowText(itemOf(driver, id)); }

void focusOn(DialogDriver& driver, int id) {
    SendMessageA(driver.dialog, WM_NEXTDLGCTL, reinterpret_cast<WPARAM>(itemOf(driver, id)), TRUE);
    pump(driver);
}

void typeInto(DialogDriver& driver, int id, const std::string& text) {
    focusOn(driver, id);
    HWND focus = GetFocus();
    SendMessageA(focus, EM_SETSEL, 0, -1);
    if (text.empty()) PostMessageA(focus, WM_CHAR, VK_BACK, 1);
    for (char c : text) PostMessageA(focus, WM_CHAR, static_cast<unsigned char>(c), 1);
    pump(driver);
}

void pressKey(DialogDriver& driver, UINT virtualKey) {
    HWND focus = GetFocus();
    const LPARAM scan = static_cast<LPARAM>(MapVirtualKeyA(virtualKey, MAPVK_VK_TO_VSC)) << 16;
    PostMessageA(focus, WM_KEYDOWN, virtualKey, scan | 1);
    PostMessageA(focus, WM_KEYUP, virtualKey, scan | 1 | (3u << 30));
    pump(driver);
}

void click(DialogDriver& driver, int id) {
    SendMessageA(itemOf(driver, id), BM_CLICK, 0, 0);
    pump(driver);
}

std::string scratchFolder(const std::string& name) {
    char temp[MAX_PATH] = {};
    GetTempPathA(sizeof temp, temp);
    std::string folder = std::string(temp) + name + "\\";
    CreateDirectoryA(folder.c_str(), nullptr);
    WIN32_FIND_DATAA entry;
    HANDLE search = FindFirstFileA((folder + "*").c_str(), &entry);
    if (search != INVALID_HANDLE_VALUE) {
        do {
            if (!(entry.dwFileAttributes & FILE_ATTRIBUTE_DIRECTORY))
                DeleteFileA((folder + entry.cFileName).c_str());
        } while (FindNextFileA(search, &entry));
        FindClose(search);
    }
    return folder;
}

void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

bool fileExists(const std::string& path) {
    return GetFileAttributesA(path.c_str()) != INVALID_FILE_ATTRIBUTES;
}
