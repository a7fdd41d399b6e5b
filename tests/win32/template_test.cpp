// The dialog template 107 as designed, and the window the dialog manager makes
// of it: caption, frame, font, centring, and every control in tab order at its
// rectangle.
#include "real_dialog.h"

namespace {

struct ControlRow {
    int id;  // 0xFFFF for the labels
    const char* kind;
    const char* text;
    short x, y, cx, cy;  // dialog units
    DWORD style;         // besides WS_CHILD | WS_VISIBLE
};

// The template's controls in template order, which is the tab order.
const ControlRow kControls[] = {
    {1016, "Edit", "", 68, 10, 154, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {1017, "Button", "Convert", 9, 25, 49, 19, BS_PUSHBUTTON | WS_TABSTOP},
    {1018, "Button", "Open", 9, 6, 49, 19, BS_PUSHBUTTON | WS_TABSTOP},
    {1019, "Edit", "", 68, 28, 154, 12, ES_AUTOHSCROLL | WS_BORDER | WS_TABSTOP},
    {1021, "ComboBox", "", 51, 94, 48, 55, CBS_DROPDOWN | WS_VSCROLL | WS_TABSTOP},
    {0xFFFF, "Static", "frame rate", 13, 95, 32, 8, SS_LEFT | WS_GROUP},
    {1023, "Edit", "", 110, 63, 112, 45,
     ES_MULTILINE | ES_READONLY | WS_VSCROLL | WS_BORDER | WS_TABSTOP},
    {0xFFFF, "Static", "supports srt=>ssa, srt=>srt and ssa=>srt", 70, 48, 124, 8, SS_LEFT | WS_GROUP},
    {1029, "Button", "srt=>ssa newline use \\n", 13, 78, 88, 8, BS_AUTOCHECKBOX | WS_TABSTOP},
    {1022, "Edit", "", 89, 113, 14, 12, ES_NUMBER | WS_BORDER | WS_TABSTOP},
    {1025, "Edit", "", 114, 113, 14, 12, ES_NUMBER | WS_BORDER | WS_TABSTOP},
    {1026, "Edit", "", 138, 113, 14, 12, ES_NUMBER | WS_BORDER | WS_TABSTOP},
    {1027, "Edit", "", 162, 113, 18, 12, ES_NUMBER | WS_BORDER | WS_TABSTOP},
    {0xFFFF, "Static", ":", 106, 114, 8, 8, SS_LEFT | WS_GROUP},
    {0xFFFF, "Static", ":", 130, 114, 8, 8, SS_LEFT | WS_GROUP},
    {0xFFFF, "Static", ".", 154, 114, 8, 8, SS_LEFT | WS_GROUP},
    {1020, "Button", "Convert as", 9, 44, 49, 19, BS_PUSHBUTTON | WS_TABSTOP},
    {1031, "Button", "first sub (h:m:s.ms)", 13, 114, 73, 10, BS_AUTOCHECKBOX | WS_TABSTOP},
};

std::string classOf(HWND window) {
    char name[64] = {};
    GetClassNameA(window, name, sizeof name);
    return name;
}

// Reads the template's words: a text is an ordinal (0xFFFF, n) or a UTF-16 string.
struct TemplateReader {
    const WORD* at;
    WORD word() { return *at++; }
    DWORD dword() { DWORD low = word(); return low | (DWORD{word()} << 16); }
    std::string text() {
        if (*at == 0xFFFF) { ++at; return "#" + std::to_string(word()); }
        std::string out;
        while (WORD c = word()) out += static_cast<char>(c);
        return out;
    }
    void alignToDword(const void* base) {
        if ((reinterpret_cast<const char*>(at) - static_cast<const char*>(base)) % 4) ++at;
    }
};

const char* atomClass(const std::string& name) {
    if (name == "#128") return "Button";
    if (name == "#129") return "Edit";
    if (name == "#130") return "Static";
    if (name == "#133") return "ComboBox";
    return nullptr;
}

TEST(DialogTemplate, Is107AsDesigned) {
    HRSRC found = FindResourceA(nullptr, MAKEINTRESOURCEA(107), MAKEINTRESOURCEA(5));  // RT_DIALOG
    ASSERT_NE(found, nullptr);
    const void* base = LockResource(LoadResource(nullptr, found));
    TemplateReader in{static_cast<const WORD*>(base)};
    const DWORD style = in.dword();
    EXPECT_EQ(style, DWORD{DS_MODALFRAME | DS_CENTER | DS_SETFONT | WS_POPUP | WS_CAPTION |
                           WS_SYSMENU | WS_MINIMIZEBOX});
    in.dword();  // extended style
    const WORD count = in.word();
    const short frame[4] = {static_cast<short>(in.word()), static_cast<short>(in.word()),
                            static_cast<short>(in.word()), static_cast<short>(in.word())};
    EXPECT_EQ(frame[2], 232);
    EXPECT_EQ(frame[3], 133);
    EXPECT_EQ(in.text(), "");  // no menu
    EXPECT_EQ(in.text(), "");  // the standard dialog class
    EXPECT_EQ(in.text(), kCaption);
    EXPECT_EQ(in.word(), 8);
    EXPECT_EQ(in.text(), "MS Sans Serif");
    ASSERT_EQ(count, std::size(kControls));
    for (const ControlRow& row : kControls) {
        SCOPED_TRACE(std::to_string(row.id) + " " + row.text);
        in.alignToDword(base);
        EXPECT_EQ(in.dword(), row.style | WS_CHILD | WS_VISIBLE);
        in.dword();
        const short x = in.word(), y = in.word(), cx = in.word(), cy = in.word();
        EXPECT_EQ(x, row.x);
        EXPECT_EQ(y, row.y);
        EXPECT_EQ(cx, row.cx);
        EXPECT_EQ(cy, row.cy);
        EXPECT_EQ(in.word(), row.id);
        const std::string kind = in.text();  // an atom, or the class name in any case
        EXPECT_EQ(lstrcmpiA(atomClass(kind) ? atomClass(kind) : kind.c_str(), row.kind), 0) << kind;
        EXPECT_EQ(in.text(), row.text);
        const WORD extraBytes = in.word();
        in.at = reinterpret_cast<const WORD*>(reinterpret_cast<const char*>(in.at) + extraBytes);
    }
}

TEST_F(RealDialog, WindowIsTheTemplate) {
    EXPECT_EQ(windowText(driver.dialog), kCaption);
    const LONG style = GetWindowLongA(driver.dialog, GWL_STYLE);
    EXPECT_EQ(style & (WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX), WS_CAPTION | WS_SYSMENU | WS_MINIMIZEBOX);
    EXPECT_EQ(style & (WS_MAXIMIZEBOX | WS_THICKFRAME), 0);

    RECT client{0, 0, 232, 133};
    MapDialogRect(driver.dialog, &client);
    RECT actual;
    GetClientRect(driver.dialog, &actual);
    EXPECT_EQ(actual.right, client.right);
    EXPECT_EQ(actual.bottom, client.bottom);

    // Centred on the screen's work area.
    RECT window, work;
    GetWindowRect(driver.dialog, &window);
    SystemParametersInfoA(SPI_GETWORKAREA, 0, &work, 0);
    EXPECT_NEAR((window.left + window.right) / 2, (work.left + work.right) / 2, 2);
    EXPECT_NEAR((window.top + window.bottom) / 2, (work.top + work.bottom) / 2, 2);

    LOGFONTA font{};
    GetObjectA(reinterpret_cast<HFONT>(SendMessageA(driver.dialog, WM_GETFONT, 0, 0)), sizeof font, &font);
    EXPECT_STREQ(font.lfFaceName, "MS Sans Serif");
    HDC screen = GetDC(nullptr);
    EXPECT_EQ(font.lfHeight, -MulDiv(8, GetDeviceCaps(screen, LOGPIXELSY), 72));
    ReleaseDC(nullptr, screen);
    EXPECT_EQ(SendMessageA(driver.dialog, WM_GETICON, ICON_BIG, 0), 0);
}

TEST_F(RealDialog, ControlsInTabOrderAtTheirRectangles) {
    HWND child = GetWindow(driver.dialog, GW_CHILD);
    for (const ControlRow& row : kControls) {
        ASSERT_NE(child, nullptr) << "missing control " << row.id << " " << row.text;
        SCOPED_TRACE(std::to_string(row.id) + " " + row.text);
        EXPECT_EQ(GetDlgCtrlID(child), row.id);
        EXPECT_EQ(classOf(child), row.kind);
        if (row.id == 0xFFFF || row.id == kIdJoinWithNewline || row.id == kIdShiftFirstSub ||
            row.id == kIdConvert || row.id == kIdOpen || row.id == kIdConvertAs) {
            EXPECT_EQ(windowText(child), row.text);
        }
        // Not a default push button, and only the labels are no tab stops.
        EXPECT_NE(GetWindowLongA(child, GWL_STYLE) & BS_TYPEMASK, BS_DEFPUSHBUTTON);
        EXPECT_EQ((GetWindowLongA(child, GWL_STYLE) & WS_TABSTOP) != 0, row.id != 0xFFFF);

        // The dialog manager converts the position and the size, each on its own.
        RECT expected{row.x, row.y, row.cx, row.cy};
        MapDialogRect(driver.dialog, &expected);
        RECT actual;
        GetWindowRect(child, &actual);
        MapWindowPoints(nullptr, driver.dialog, reinterpret_cast<POINT*>(&actual), 2);
        EXPECT_EQ(actual.left, expected.left);
        EXPECT_EQ(actual.top, expected.top);
        EXPECT_EQ(actual.right - actual.left, expected.right);
        // A drop-down combo box is as high as its field; the list drops below it.
        if (row.id != kIdFrameRate) {
            EXPECT_EQ(actual.bottom - actual.top, expected.bottom);
        }
        child = GetWindow(child, GW_HWNDNEXT);
    }
    EXPECT_EQ(child, nullptr) << "a control beyond the table";
    // The dialog's default command is that of a missing button (IDOK): Enter
    // in an edit reaches the procedure as a command it ignores.
    EXPECT_EQ(GetDlgItem(driver.dialog, LOWORD(SendMessageA(driver.dialog, DM_GETDEFID, 0, 0))), nullptr);
}

}  // namespace
