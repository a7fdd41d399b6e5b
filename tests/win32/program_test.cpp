// marliva.exe itself: its window comes up with the defaults, Enter and Escape
// leave it open, and closing it ends the program with exit status 1.
#include <gtest/gtest.h>

#include <string>

#include "dialog_driver.h"

namespace {

// The program, beside this test in the build tree (set by the build).
std::string programPath() {
    char self[MAX_PATH] = {};
    GetModuleFileNameA(nullptr, self, sizeof self);
    std::string path(self);
    path.resize(path.find_last_of('\\') + 1);
    path += MARLIVA_EXE_FROM_TESTS;
    for (char& c : path)
        if (c == '/') c = '\\';
    return path;
}

// The dialog once it is shown, which is after its initialisation.
HWND waitForWindow(const char* caption, HANDLE process) {
    for (int i = 0; i < 300; ++i) {
        HWND window = FindWindowA("#32770", caption);
        if (window && IsWindowVisible(window)) return window;
        if (WaitForSingleObject(process, 100) == WAIT_OBJECT_0) break;
    }
    return nullptr;
}

HWND focusOf(DWORD thread) {
    GUITHREADINFO info{};
    info.cbSize = sizeof info;
    for (int i = 0; i < 50 && (!GetGUIThreadInfo(thread, &info) || !info.hwndFocus); ++i) Sleep(100);
    return info.hwndFocus;
}

std::string textOf(HWND window) {
    char text[256] = {};
    SendMessageA(window, WM_GETTEXT, sizeof text, reinterpret_cast<LPARAM>(text));
    return text;
}

TEST(Program, ClosingEndsItWithStatus1) {
    STARTUPINFOA startup{};
    startup.cb = sizeof startup;
    PROCESS_INFORMATION process{};
    std::string commandLine = "\"" + programPath() + "\" ignored arguments";
    ASSERT_TRUE(CreateProcessA(nullptr, commandLine.data(), nullptr, nullptr, FALSE, 0, nullptr,
                               nullptr, &startup, &process))
        << programPath();
    HWND window = waitForWindow("Marliva 1.0 by the Marliva developers", process.hProcess);
    ASSERT_NE(window, nullptr);

    EXPECT_EQ(textOf(GetDlgItem(window, 1021)), "25");
    EXPECT_EQ(textOf(GetDlgItem(window, 1022)), "0");
    EXPECT_EQ(SendDlgItemMessageA(window, 1029, BM_GETCHECK, 0, 0), BST_CHECKED);
    EXPECT_EQ(focusOf(process.dwThreadId), GetDlgItem(window, 1016));

    // Escape and Enter in the path edit: the program goes on.
    for (UINT key : {VK_ESCAPE, VK_RETURN}) {
        PostMessageA(GetDlgItem(window, 1016), WM_KEYDOWN, key, 1);
        PostMessageA(GetDlgItem(window, 1016), WM_KEYUP, key, 1 | (3u << 30));
    }
    EXPECT_EQ(WaitForSingleObject(process.hProcess, 1500), static_cast<DWORD>(WAIT_TIMEOUT));
    EXPECT_TRUE(IsWindowVisible(window));

    // The system menu's Close (as Alt+F4 and the caption's close button).
    PostMessageA(window, WM_SYSCOMMAND, SC_CLOSE, 0);
    ASSERT_EQ(WaitForSingleObject(process.hProcess, 30000), WAIT_OBJECT_0);
    DWORD status = 0;
    GetExitCodeProcess(process.hProcess, &status);
    EXPECT_EQ(status, 1u);
    CloseHandle(process.hThread);
    CloseHandle(process.hProcess);
}

}  // namespace
