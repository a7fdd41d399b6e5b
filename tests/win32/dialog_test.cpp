// What Win32 adds to the dialog logic, and only that (the logic's suite over
// its double proves the behaviour): template IDD_MAIN against the layout
// table, and the real dialog with the real procedure driven by window messages
// as keys and clicks would drive it, the file dialogs
// and the message box with paths of any letters through the UTF-8 code page,
// dropped files, and the close request.
#include <windows.h>

#include <dlgs.h>
#include <shellapi.h>
#include <shlobj.h>

#include <algorithm>
#include <cstring>
#include <deque>

#include <gtest/gtest.h>

#include "dialog_layout.h"
#include "dialog_proc_win32.h"
#include "main_dialog.h"
#include "../scratch_folder.h"

namespace {

const char kOneEntrySrt[] = "1\r\n00:01:00,000 --> 00:01:02,000\r\nHello\r\n\r\n";

std::string windowText(HWND window) {
    char text[1100] = {};
    GetWindowTextA(window, text, sizeof text);
    return text;
}

// What a control of each kind is in a Win32 template: its class and style.
struct Win32Control {
    const char* className;
    DWORD style;
};

Win32Control win32ControlOf(ControlKind kind) {
    switch (kind) {
    case ControlKind::PathEdit:
    case ControlKind::TextEdit: return {"Edit", ES_LEFT | ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP};
    case ControlKind::NumberBox: return {"Edit", ES_LEFT | ES_NUMBER | WS_BORDER | WS_TABSTOP};
    case ControlKind::PushButton: return {"Button", BS_PUSHBUTTON | WS_TABSTOP};
    case ControlKind::CheckBox: return {"Button", BS_AUTOCHECKBOX | WS_TABSTOP};
    case ControlKind::Combo: return {"ComboBox", CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP};
    case ControlKind::Label: return {"Static", SS_LEFT | WS_GROUP};
    case ControlKind::LogPane:
        return {"Edit", ES_LEFT | ES_MULTILINE | ES_READONLY | WS_BORDER | WS_VSCROLL | WS_TABSTOP};
    }
    return {"", 0};
}

// Reads a DIALOG template's words; its texts are UTF-16, its class names upper case.
struct TemplateReader {
    const WORD* base;
    const WORD* at = base;
    WORD word() { return *at++; }
    DWORD dword() { DWORD low = word(); return low | (DWORD{word()} << 16); }
    std::string text() {
        std::string out;
        while (WORD c = word()) out += static_cast<char>(c);
        return out;
    }
};

// A compiled template against its layout table.
template <std::size_t N>
void checkTemplate(int id, DWORD style, DialogUnits units, const char* caption, const ControlLayout (&controls)[N]) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(id), RT_DIALOG);
    ASSERT_NE(found, nullptr);
    TemplateReader in{static_cast<const WORD*>(LockResource(LoadResource(nullptr, found)))};
    EXPECT_EQ(in.dword(), style | DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION | WS_SYSMENU);
    in.dword();  // extended style
    const WORD count = in.word();
    const DialogUnits frame{short(in.word()), short(in.word()), short(in.word()), short(in.word())};
    EXPECT_EQ(frame.width, units.width);
    EXPECT_EQ(frame.height, units.height);
    EXPECT_EQ(in.text() + in.text(), "");  // no menu, the standard dialog class
    EXPECT_EQ(in.text(), caption);
    EXPECT_EQ(in.word(), kMainDialogFontPoints);
    EXPECT_EQ(in.text(), kMainDialogFont);
    ASSERT_EQ(count, N);
    // In the table's order, which is the tab order.
    for (const ControlLayout& layout : controls) {
        SCOPED_TRACE(std::to_string(layout.id) + " " + layout.text);
        if ((in.at - in.base) % 2) ++in.at;  // each item starts on a DWORD
        EXPECT_EQ(in.dword(), win32ControlOf(layout.kind).style | WS_CHILD | WS_VISIBLE);
        in.dword();
        const short x = in.word(), y = in.word(), width = in.word(), height = in.word();
        EXPECT_EQ(std::tie(x, y, width, height), std::tie(layout.units.x, layout.units.y,
                                                          layout.units.width, layout.units.height));
        EXPECT_EQ(in.word(), static_cast<WORD>(layout.id));
        EXPECT_EQ(lstrcmpiA(in.text().c_str(), win32ControlOf(layout.kind).className), 0);
        EXPECT_EQ(in.text(), layout.text);
        in.at += (in.word() + 1) / 2;  // creation data
    }
}

TEST(DialogTemplate, IsTheLayoutTable) {
    checkTemplate(IDD_MAIN, WS_MINIMIZEBOX, kMainDialogUnits, kMainDialogCaption, kMainDialogControls);
    checkTemplate(IDD_TIMING, 0, kTimingDialogUnits, kTimingDialogCaption, kTimingDialogControls);
}

// Modal windows that open over the dialog are read and answered by a timer, as
// a user would: a file dialog gets the next answer typed into its name box and
// confirmed ("" cancels), a message box its OK.
HWND testedDialog = nullptr;
std::deque<std::string> fileAnswers;
std::vector<std::pair<std::string, std::string>> modalsSeen;  // caption, a message box's text
std::vector<HWND> answered;

BOOL CALLBACK answerModal(HWND window, LPARAM) {
    char className[16] = {};
    GetClassNameA(window, className, sizeof className);
    if (window == testedDialog || !IsWindowVisible(window) || std::strcmp(className, "#32770") != 0)
        return TRUE;
    if (std::find(answered.begin(), answered.end(), window) != answered.end()) return TRUE;
    answered.push_back(window);
    // The timing dialog: the speed change checked, then its OK.
    if (windowText(window) == kTimingDialogCaption)
        SendMessageA(GetDlgItem(window, IDC_RETIME), BM_CLICK, 0, 0);
    HWND nameBox = GetDlgItem(window, cmb13) ? GetDlgItem(window, cmb13) : GetDlgItem(window, edt1);
    modalsSeen.emplace_back(windowText(window),
                            nameBox ? "" : windowText(GetDlgItem(window, 0xFFFF)));
    int button = IDOK;
    if (nameBox) {
        const std::string answer = fileAnswers.empty() ? "" : fileAnswers.front();
        if (!fileAnswers.empty()) fileAnswers.pop_front();
        if (answer.empty()) button = IDCANCEL;
        SetWindowTextA(nameBox, answer.c_str());
    }
    PostMessageA(window, WM_COMMAND, MAKEWPARAM(button, BN_CLICKED),
                 LPARAM(GetDlgItem(window, button)));
    return TRUE;
}

void CALLBACK watchModals(HWND, UINT, UINT_PTR, DWORD) {
    EnumThreadWindows(GetCurrentThreadId(), answerModal, 0);
}

class Win32Dialog : public ::testing::Test, protected ScratchFolder {
protected:
    void SetUp() override {
        fileAnswers.clear();
        modalsSeen.clear();
        answered.clear();
        dialog = testedDialog = CreateDialogParamA(
            GetModuleHandleA(nullptr), MAKEINTRESOURCEA(IDD_MAIN), nullptr, mainDialogProc,
            reinterpret_cast<LPARAM>(&mainDialog));
        ShowWindow(dialog, SW_SHOW);
        SetForegroundWindow(dialog);
        timer = SetTimer(nullptr, 0, 150, watchModals);
        pump();
    }
    void TearDown() override {
        KillTimer(nullptr, timer);
        DestroyWindow(dialog);
        pump();
    }

    // Every queued message, as the modal dialog's loop handles it.
    void pump() {
        MSG message;
        while (PeekMessageA(&message, nullptr, 0, 0, PM_REMOVE)) {
            quitPosted = quitPosted || message.message == WM_QUIT;
            if (message.message != WM_QUIT &&
                (!IsWindow(dialog) || !IsDialogMessageA(dialog, &message))) {
                TranslateMessage(&message);
                DispatchMessageA(&message);
            }
        }
    }
    std::string text(int id) { return windowText(GetDlgItem(dialog, id)); }
    void focusOn(int id) {
        SendMessageA(dialog, WM_NEXTDLGCTL, WPARAM(GetDlgItem(dialog, id)), TRUE);
        pump();
    }
    void typeInto(int id, const std::string& text) {
        focusOn(id);
        SendMessageA(GetFocus(), EM_SETSEL, 0, -1);
        PostMessageA(GetFocus(), WM_CHAR, VK_BACK, 1);
        for (char c : text) PostMessageA(GetFocus(), WM_CHAR, static_cast<unsigned char>(c), 1);
        pump();
    }
    void pressKey(UINT key) {
        PostMessageA(GetFocus(), WM_KEYDOWN, key, 1);
        PostMessageA(GetFocus(), WM_KEYUP, key, 1 | (3u << 30));
        pump();
    }
    void click(int id) {
        SendMessageA(GetDlgItem(dialog, id), BM_CLICK, 0, 0);
        pump();
    }

    MainDialog mainDialog;
    HWND dialog = nullptr;
    UINT_PTR timer = 0;
    bool quitPosted = false;
};

TEST_F(Win32Dialog, TypingPickingAndClicksReachTheLogic) {
    EXPECT_EQ(GetFocus(), GetDlgItem(dialog, IDC_INPUT_PATH));
    typeInto(IDC_INPUT_PATH, write("in.srt", kOneEntrySrt));
    EXPECT_EQ(mainDialog.settings.inputPath, pathOf("in.srt"));
    typeInto(IDC_OUTPUT_PATH, pathOf("out.srt"));
    // Open the list, two down from "25" to "23.976", Enter takes it.
    focusOn(IDC_FRAME_RATE);
    for (UINT key : {VK_F4, VK_DOWN, VK_DOWN, VK_RETURN}) pressKey(key);
    EXPECT_EQ(mainDialog.settings.frameRate, 23.976);
    click(IDC_JOIN_WITH_NEWLINE);
    click(IDC_SHIFT_FIRST_SUB);
    click(IDC_TRANSLATE_TAGS);
    EXPECT_FALSE(mainDialog.settings.joinWithNewline);
    EXPECT_TRUE(mainDialog.settings.shiftFirstSub);
    EXPECT_EQ(mainDialog.settings.markup, MarkupMode::translate);
    // Enter on a focused push button presses it.
    focusOn(IDC_CONVERT);
    pressKey(VK_RETURN);
    EXPECT_EQ(text(IDC_LOG).rfind("SRT => SRT ... done.\r\n\r\ntime : ", 0), 0u);
    EXPECT_NE(text(IDC_LOG).find("\r\nmarkup: translate\r\n"), std::string::npos) << text(IDC_LOG);
}

// The manifest makes UTF-8 the code page of the A functions, so paths of any
// letters pass, and whole: this one is longer in bytes than the file dialog's
// MAX_PATH characters (its name alone within the 255 bytes of a Linux name).
TEST_F(Win32Dialog, FileDialogsAndTheMessageBoxPassPathsWhole) {
    ASSERT_EQ(GetACP(), 65001u);
    std::string name = "\xCE\xA9mega \xC3\xBC ";  // Greek, German, then 70 Chinese letters
    for (int i = 0; i < 70; ++i) name += "\xE5\xAD\x97";
    ASSERT_GT(pathOf(name + ".ssa").size(), std::size_t{MAX_PATH});
    fileAnswers = {write(name + ".srt", kOneEntrySrt), pathOf(name + ".out.ssa")};
    click(IDC_OPEN);
    EXPECT_EQ(mainDialog.settings.inputPath, pathOf(name + ".srt"));
    EXPECT_EQ(text(IDC_INPUT_PATH), pathOf(name + ".srt"));
    click(IDC_CONVERT_AS);
    EXPECT_EQ(text(IDC_OUTPUT_PATH), pathOf(name + ".out.ssa"));
    std::wstring output(MAX_PATH, L'\0');
    output.resize(MultiByteToWideChar(CP_UTF8, 0, pathOf(name + ".out.ssa").c_str(), -1,
                                      output.data(), MAX_PATH) - 1);
    EXPECT_NE(GetFileAttributesW(output.c_str()), INVALID_FILE_ATTRIBUTES);
    dialogMessageBox(mainDialog.handle, "first\r\n" + name, "Debug Message");
    const std::vector<std::pair<std::string, std::string>> expected = {
        {"Open Sub File", ""}, {"Save Sub File", ""}, {"Debug Message", "first\r\n" + name}};
    EXPECT_EQ(modalsSeen, expected);
}

// The block of names that the shell hands over with WM_DROPFILES: a DROPFILES
// header, then each name and a terminator, then one more terminator.
TEST_F(Win32Dialog, ADroppedFileReachesTheLogic) {
    const std::string names =
        std::string("C:\\subs\\dropped.ssa") + '\0' + "C:\\subs\\second.srt" + '\0' + '\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    std::memcpy(header + 1, names.data(), names.size());
    GlobalUnlock(block);
    EXPECT_TRUE(GetWindowLongA(dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    PostMessageA(dialog, WM_DROPFILES, WPARAM(block), 0);
    pump();
    EXPECT_EQ(mainDialog.settings.inputPath, "C:\\subs\\dropped.ssa");
}

// The timing dialog is modal: the main dialog waits, then holds its values.
TEST_F(Win32Dialog, TimingOpensAModalDialogWhoseOkReachesTheSettings) {
    click(IDC_TIMING);  // returns when the modal dialog has ended
    ASSERT_EQ(modalsSeen.size(), 1u);
    EXPECT_EQ(modalsSeen[0].first, kTimingDialogCaption);
    EXPECT_TRUE(mainDialog.settings.retime);
    EXPECT_EQ(mainDialog.settings.retimeFrom.num, 24000);
    EXPECT_EQ(mainDialog.settings.retimeTo.num, 25);
    EXPECT_TRUE(IsWindowEnabled(dialog));
}

// Escape and Enter reach the procedure as commands that leave the dialog
// open; the close request posts the quit that ends the program's loop.
TEST_F(Win32Dialog, OnlyTheCloseRequestEndsTheLoop) {
    for (UINT key : {VK_ESCAPE, VK_RETURN}) pressKey(key);
    EXPECT_TRUE(IsWindowVisible(dialog));
    EXPECT_FALSE(quitPosted);
    SendMessageA(dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    pump();
    EXPECT_TRUE(quitPosted);
}

}  // namespace
