// The real main dialog under Win32: its defaults, and the user's typing, list
// picks, clicks, keys, file dialogs, dropped files and message boxes.
#include "real_dialog.h"

#include <shlobj.h>

#include <cstring>

namespace {

const char kOneEntrySrt[] = "1\r\n00:01:00,000 --> 00:01:02,000\r\nHello\r\n\r\n";
const char kTwoEntrySrt[] =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\nWorld\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nBye\r\n\r\n";

TEST_F(RealDialog, CreationDefaults) {
    EXPECT_EQ(GetFocus(), itemOf(driver, kIdInputPath));
    HWND rates = itemOf(driver, kIdFrameRate);
    std::vector<std::string> items;
    for (LRESULT i = 0; i < SendMessageA(rates, CB_GETCOUNT, 0, 0); ++i) {
        char item[32] = {};
        SendMessageA(rates, CB_GETLBTEXT, static_cast<WPARAM>(i), reinterpret_cast<LPARAM>(item));
        items.emplace_back(item);
    }
    EXPECT_EQ(items, (std::vector<std::string>{"30", "29.97", "25", "24", "23.976", "15"}));
    EXPECT_EQ(SendMessageA(rates, CB_GETCURSEL, 0, 0), 2);
    EXPECT_EQ(text(kIdFrameRate), "25");
    EXPECT_TRUE(checked(kIdJoinWithNewline));
    EXPECT_FALSE(checked(kIdShiftFirstSub));
    for (int id : {kIdFirstSubHours, kIdFirstSubMinutes, kIdFirstSubSeconds, kIdFirstSubMillis})
        EXPECT_EQ(text(id), "0") << id;
    EXPECT_EQ(text(kIdInputPath), "");
    EXPECT_EQ(text(kIdOutputPath), "");
    EXPECT_EQ(text(kIdLog), "");
    EXPECT_EQ(settings().frameRate, 25.0);
    EXPECT_TRUE(settings().joinWithNewline);
}

TEST_F(RealDialog, TabVisitsTheControlsInTemplateOrder) {
    const int order[] = {1017, 1018, 1019, 1021, 1023, 1029, 1022, 1025, 1026, 1027, 1020, 1031, 1016};
    focusOn(driver, kIdInputPath);
    for (int id : order) {
        pressKey(driver, VK_TAB);
        HWND focus = GetFocus();
        if (GetParent(focus) != driver.dialog) focus = GetParent(focus);  // the combo's field
        EXPECT_EQ(GetDlgCtrlID(focus), id);
    }
}

TEST_F(RealDialog, TypingFollowsIntoTheSettings) {
    typeInto(driver, kIdInputPath, "C:\\subs\\a.srt");
    typeInto(driver, kIdOutputPath, "C:\\subs\\b.ssa");
    EXPECT_STREQ(settings().inputPath.data(), "C:\\subs\\a.srt");
    EXPECT_STREQ(settings().outputPath.data(), "C:\\subs\\b.ssa");

    const std::string longPath(300, 'p');
    typeInto(driver, kIdInputPath, longPath);
    EXPECT_EQ(text(kIdInputPath), longPath);
    EXPECT_EQ(std::string(settings().inputPath.data()), longPath.substr(0, 254));

    struct Row { const char* typed; double rate; };
    for (Row row : {Row{"29.97", 29.97}, Row{"25 fps", 25}, Row{"abc", 0}, Row{"1e1", 10}}) {
        typeInto(driver, kIdFrameRate, row.typed);
        EXPECT_EQ(text(kIdFrameRate), row.typed);
        EXPECT_EQ(settings().frameRate, row.rate) << row.typed;
    }

    click(driver, kIdJoinWithNewline);
    EXPECT_FALSE(checked(kIdJoinWithNewline));
    EXPECT_FALSE(settings().joinWithNewline);
    click(driver, kIdShiftFirstSub);
    EXPECT_TRUE(settings().shiftFirstSub);
    click(driver, kIdShiftFirstSub);
    EXPECT_FALSE(settings().shiftFirstSub);
}

TEST_F(RealDialog, PlatformCallsBehaveAsTheLogicRelies) {
    // Setting a path edit from the program reports the change before the call returns.
    const std::string longPath = "C:\\" + std::string(290, 'q') + ".srt";
    for (int id : {int{kIdInputPath}, int{kIdOutputPath}}) {
        setPath(settings().inputPath, "before");
        setPath(settings().outputPath, "before");
        SetDlgItemTextA(driver.dialog, id, longPath.c_str());
        const auto& path = id == kIdInputPath ? settings().inputPath : settings().outputPath;
        EXPECT_EQ(std::string(path.data()), longPath.substr(0, 254)) << id;
    }
    // The count of GetDlgItemTextA includes the terminator.
    char buffer[8];
    EXPECT_EQ(GetDlgItemTextA(driver.dialog, kIdInputPath, buffer, sizeof buffer), 7u);
    EXPECT_STREQ(buffer, "C:\\qqqq");
    // A number box's value: 0 unless it holds an unsigned decimal number (pasted
    // text can hold anything).
    struct Row { const char* text; unsigned value; };
    const Row rows[] = {{"", 0},    {"0", 0},   {"42", 42},  {" 7 ", 7},   {"4294967295", 4294967295u},
                        {"12abc", 0}, {"-1", 0}, {"abc", 0}, {"4294967296", 0}};
    for (Row row : rows) {
        SetDlgItemTextA(driver.dialog, kIdFirstSubHours, row.text);
        readFirstSubBoxes(driver.dialog);
        EXPECT_EQ(settings().firstSubHours, row.value) << '"' << row.text << '"';
    }
}

TEST_F(RealDialog, NarrowBoxesStopTypingAtTheirEdge) {
    typeInto(driver, kIdFirstSubHours, "a1b2");
    EXPECT_EQ(text(kIdFirstSubHours), "12");  // digits only
    typeInto(driver, kIdFirstSubMillis, "123456789");
    EXPECT_LT(text(kIdFirstSubMillis).size(), 9u);
    EXPECT_GE(text(kIdFirstSubMillis).size(), 3u);
    const std::string longRate(60, '2');
    typeInto(driver, kIdFrameRate, longRate);
    EXPECT_LT(text(kIdFrameRate).size(), longRate.size());
}

TEST_F(RealDialog, PickingFromTheListThenConvert) {
    const std::string input = folder + "in.srt";
    writeFile(input, kOneEntrySrt);
    typeInto(driver, kIdInputPath, input);
    typeInto(driver, kIdOutputPath, folder + "out.srt");
    // Open the list, two down from "25" to "23.976", Enter takes it.
    focusOn(driver, kIdFrameRate);
    pressKey(driver, VK_F4);
    pressKey(driver, VK_DOWN);
    pressKey(driver, VK_DOWN);
    pressKey(driver, VK_RETURN);
    EXPECT_EQ(text(kIdFrameRate), "23.976");
    EXPECT_EQ(SendMessageA(itemOf(driver, kIdFrameRate), CB_GETCURSEL, 0, 0), 4);
    click(driver, kIdConvert);
    EXPECT_EQ(settings().frameRate, 23.976);
    EXPECT_EQ(readFile(folder + "out.srt"), "{001439}{001487}Hello\r\n");

    typeInto(driver, kIdFrameRate, "29.97");
    click(driver, kIdConvert);
    EXPECT_EQ(readFile(folder + "out.srt"), "{001798}{001858}Hello\r\n");

    const std::string log = text(kIdLog);
    EXPECT_EQ(log.rfind("SRT => SRT ... done.\r\n\r\ntime : ", 0), 0u) << log;
    EXPECT_NE(log.find("subs : 1\r\n", 20), log.rfind("subs : 1\r\n")) << "two runs logged: " << log;
    EXPECT_TRUE(driver.messageBoxes.empty());
}

TEST_F(RealDialog, ConvertWithBoxesAndOptions) {
    const std::string input = folder + "in.srt";
    writeFile(input, kTwoEntrySrt);
    typeInto(driver, kIdInputPath, input);
    typeInto(driver, kIdOutputPath, folder + "out.ssa");
    click(driver, kIdConvert);
    const std::string joined = readFile(folder + "out.ssa");
    EXPECT_NE(joined.find("\r\nDialogue: Marked=0,0:00:01.00,0:00:02.00,*Default,1,0000,0000,0000,,"
                          "Hello\\nWorld\r\n"),
              std::string::npos)
        << joined;

    click(driver, kIdJoinWithNewline);
    click(driver, kIdShiftFirstSub);
    typeInto(driver, kIdFirstSubMinutes, "1");
    typeInto(driver, kIdFirstSubMillis, "500");
    click(driver, kIdConvert);
    EXPECT_EQ(settings().firstSubMinutes, 1u);
    EXPECT_EQ(settings().firstSubMillis, 500u);
    const std::string shifted = readFile(folder + "out.ssa");
    EXPECT_NE(shifted.find("\r\nDialogue: Marked=0,0:01:00.50,0:01:01.50,*Default,1,0000,0000,0000,,Hello\r\n"
                           "Dialogue: Marked=0,0:01:00.50,0:01:01.50,*Default,1,0000,0000,0000,,World\r\n"),
              std::string::npos)
        << shifted;
    EXPECT_EQ(text(kIdLog).rfind("SRT => SSA ... done.", 0), 0u);
}

TEST_F(RealDialog, RefusedRunReadsTheBoxesAndShowsTheMessage) {
    typeInto(driver, kIdInputPath, folder + "a.txt");
    typeInto(driver, kIdOutputPath, folder + "b.ssa");
    typeInto(driver, kIdFirstSubHours, "1");
    typeInto(driver, kIdFirstSubMinutes, "2");
    typeInto(driver, kIdFirstSubSeconds, "3");
    typeInto(driver, kIdFirstSubMillis, "456");
    typeInto(driver, kIdFirstSubSeconds, "");  // an empty box counts as 0
    click(driver, kIdConvert);
    EXPECT_EQ(settings().firstSubHours, 1u);
    EXPECT_EQ(settings().firstSubSeconds, 0u);
    EXPECT_DOUBLE_EQ(settings().firstSubTime, 3720.456);
    ASSERT_EQ(driver.messageBoxes.size(), 1u);
    EXPECT_EQ(driver.messageBoxes[0].caption, "Debug Message");
    EXPECT_EQ(driver.messageBoxes[0].text,
              "Error with file extensions:\r\nonly srt=>ssa, srt=>srt and ssa=>srt supported.");
    EXPECT_EQ(text(kIdLog), "");
    EXPECT_FALSE(fileExists(folder + "b.ssa"));
}

TEST_F(RealDialog, RunProblemsShowInTheMessageBox) {
    writeFile(folder + "in.srt", kOneEntrySrt);
    struct Row { std::string input, output, rate, start; };
    const Row rows[] = {
        {"missing.srt", "out.ssa", "25", "Cannot read the input file:\r\n"},
        {"in.srt", "no folder\\out.srt", "25", "Cannot write the output file:\r\n"},
        {"in.srt", "out.srt", "abc", "Invalid frame rate: 0\r\n"},
    };
    for (const Row& row : rows) {
        driver.messageBoxes.clear();
        typeInto(driver, kIdInputPath, folder + row.input);
        typeInto(driver, kIdOutputPath, folder + row.output);
        typeInto(driver, kIdFrameRate, row.rate);
        click(driver, kIdConvert);
        ASSERT_EQ(driver.messageBoxes.size(), 1u) << row.input;
        EXPECT_EQ(driver.messageBoxes[0].caption, "Debug Message");
        EXPECT_EQ(driver.messageBoxes[0].text.rfind(row.start, 0), 0u) << driver.messageBoxes[0].text;
    }
}

TEST_F(RealDialog, OpenChoosesTheInputAndProposesTheOutput) {
    writeFile(folder + "a.srt", kOneEntrySrt);
    writeFile(folder + "x.SSA", "");
    driver.answers.push_back({folder + "a.srt"});
    click(driver, kIdOpen);
    ASSERT_EQ(driver.fileDialogs.size(), 1u);
    EXPECT_EQ(driver.fileDialogs[0].title, "Open Sub File");
    EXPECT_EQ(driver.fileDialogs[0].filters,
              (std::vector<std::string>{"Sub Files (.ssa;.srt)", "All Files"}));
    EXPECT_EQ(driver.fileDialogs[0].filterIndex, 0);
    EXPECT_EQ(text(kIdInputPath), folder + "a.srt");
    EXPECT_EQ(text(kIdOutputPath), folder + "a.ssa");
    EXPECT_STREQ(settings().outputPath.data(), (folder + "a.ssa").c_str());

    // Convert converts to the proposal at once.
    click(driver, kIdConvert);
    EXPECT_TRUE(fileExists(folder + "a.ssa"));

    driver.answers.push_back({folder + "x.SSA"});
    click(driver, kIdOpen);
    EXPECT_EQ(driver.fileDialogs[1].fileName, "a.srt");  // the dialog starts at the current path
    EXPECT_EQ(text(kIdOutputPath), folder + "x.srt");

    // A cancel keeps the input and proposes again over a typed output.
    typeInto(driver, kIdOutputPath, "typed.srt");
    driver.answers.push_back({""});
    click(driver, kIdOpen);
    EXPECT_EQ(text(kIdInputPath), folder + "x.SSA");
    EXPECT_EQ(text(kIdOutputPath), folder + "x.srt");
    EXPECT_TRUE(driver.messageBoxes.empty());
}

// The block of names that the shell hands over with WM_DROPFILES: a DROPFILES
// header, then each name and a terminator, then one more terminator.
HGLOBAL dropOf(const std::vector<std::string>& files) {
    std::string names;
    for (const std::string& file : files) names += file + '\0';
    names += '\0';
    HGLOBAL block = GlobalAlloc(GMEM_MOVEABLE | GMEM_ZEROINIT, sizeof(DROPFILES) + names.size());
    auto* header = static_cast<DROPFILES*>(GlobalLock(block));
    header->pFiles = sizeof(DROPFILES);
    std::memcpy(reinterpret_cast<char*>(header) + sizeof(DROPFILES), names.data(), names.size());
    GlobalUnlock(block);
    return block;
}

TEST_F(RealDialog, DroppedFilesActAsOpenOnTheFirst) {
    // DragAcceptFiles: the shell drops onto the dialog, also over its controls.
    EXPECT_TRUE(GetWindowLongA(driver.dialog, GWL_EXSTYLE) & WS_EX_ACCEPTFILES);
    typeInto(driver, kIdOutputPath, "typed.srt");
    PostMessageA(driver.dialog, WM_DROPFILES,
                 reinterpret_cast<WPARAM>(dropOf({folder + "dropped.ssa", folder + "second.srt"})), 0);
    pump(driver);
    EXPECT_EQ(text(kIdInputPath), folder + "dropped.ssa");
    EXPECT_EQ(text(kIdOutputPath), folder + "dropped.srt");
    EXPECT_STREQ(settings().inputPath.data(), (folder + "dropped.ssa").c_str());
    EXPECT_TRUE(driver.fileDialogs.empty());
}

TEST_F(RealDialog, PathsWithAnyCharactersThroughTheUtf8CodePage) {
    // The manifest makes UTF-8 the code page of the A functions.
    ASSERT_EQ(GetACP(), 65001u);
    const std::string name = "\xCE\xA9mega \xC3\xBC \xE5\xAD\x97";  // Greek, German, Chinese
    writeFile(folder + name + ".srt", kOneEntrySrt);
    driver.answers.push_back({folder + name + ".srt"});
    click(driver, kIdOpen);
    EXPECT_EQ(text(kIdOutputPath), folder + name + ".ssa");
    click(driver, kIdConvert);
    EXPECT_TRUE(driver.messageBoxes.empty());
    std::wstring wide(MAX_PATH, L'\0');
    const std::string output = folder + name + ".ssa";
    wide.resize(static_cast<std::size_t>(
        MultiByteToWideChar(CP_UTF8, 0, output.c_str(), -1, wide.data(), MAX_PATH) - 1));
    EXPECT_NE(GetFileAttributesW(wide.c_str()), INVALID_FILE_ATTRIBUTES);
}

TEST_F(RealDialog, ConvertAsChoosesTheOutputAndRuns) {
    writeFile(folder + "in.srt", kOneEntrySrt);
    typeInto(driver, kIdInputPath, folder + "in.srt");
    driver.answers.push_back({""});
    click(driver, kIdConvertAs);
    ASSERT_EQ(driver.fileDialogs.size(), 1u);
    EXPECT_EQ(driver.fileDialogs[0].title, "Save Sub File");
    EXPECT_EQ(driver.fileDialogs[0].filters,
              (std::vector<std::string>{"Sub Files (.ssa;.srt)", "All Files"}));
    EXPECT_EQ(text(kIdLog), "");  // a cancel starts no run

    // A new name is accepted, an existing file is overwritten without a question.
    driver.answers.push_back({folder + "new.srt"});
    click(driver, kIdConvertAs);
    EXPECT_EQ(text(kIdOutputPath), folder + "new.srt");
    EXPECT_EQ(readFile(folder + "new.srt"), "{001500}{001550}Hello\r\n");
    writeFile(folder + "old.ssa", "old contents");
    driver.answers.push_back({folder + "old.ssa"});
    click(driver, kIdConvertAs);
    EXPECT_EQ(readFile(folder + "old.ssa").rfind("[Script Info]\r\n", 0), 0u);
    EXPECT_TRUE(driver.messageBoxes.empty());
    EXPECT_EQ(driver.fileDialogs.size(), 3u);
}

TEST_F(RealDialog, EnterAndEscapeDoNothingUnlessAButtonHasTheFocus) {
    writeFile(folder + "in.srt", kOneEntrySrt);
    typeInto(driver, kIdInputPath, folder + "in.srt");
    typeInto(driver, kIdOutputPath, folder + "out.srt");
    for (int id : {int{kIdInputPath}, int{kIdFrameRate}, int{kIdFirstSubHours}}) {
        focusOn(driver, id);
        pressKey(driver, VK_RETURN);
        pressKey(driver, VK_ESCAPE);
    }
    EXPECT_TRUE(IsWindow(driver.dialog) && IsWindowVisible(driver.dialog));
    EXPECT_FALSE(driver.quitPosted);
    EXPECT_EQ(text(kIdLog), "");
    EXPECT_FALSE(fileExists(folder + "out.srt"));

    focusOn(driver, kIdConvert);
    pressKey(driver, VK_RETURN);
    EXPECT_TRUE(fileExists(folder + "out.srt"));
    EXPECT_EQ(text(kIdLog).rfind("SRT => SRT ... done.", 0), 0u);
}

TEST_F(RealDialog, LogPaneKeepsItsNewestWholeLines) {
    writeFile(folder + "in.srt", kOneEntrySrt);
    typeInto(driver, kIdInputPath, folder + "in.srt");
    typeInto(driver, kIdOutputPath, folder + "out.srt");
    for (int run = 0; run < 20; ++run) click(driver, kIdConvert);
    // The pane is scrolled to its newest line.
    HWND pane = itemOf(driver, kIdLog);
    const LRESULT lines = SendMessageA(pane, EM_GETLINECOUNT, 0, 0);
    EXPECT_GT(SendMessageA(pane, EM_GETFIRSTVISIBLELINE, 0, 0), 0);
    RECT area;
    SendMessageA(pane, EM_GETRECT, 0, reinterpret_cast<LPARAM>(&area));
    // The text ends with a line end: its last line with text is the one before.
    const LRESULT lastLineStart = SendMessageA(pane, EM_LINEINDEX, static_cast<WPARAM>(lines - 2), 0);
    const LRESULT where = SendMessageA(pane, EM_POSFROMCHAR, static_cast<WPARAM>(lastLineStart), 0);
    EXPECT_LT(static_cast<short>(HIWORD(where)), area.bottom);
    EXPECT_GE(static_cast<short>(HIWORD(where)), area.top);

    const std::string log = text(kIdLog);
    EXPECT_LE(log.size(), 1022u);
    EXPECT_GT(log.size(), 900u);
    EXPECT_EQ(log.substr(log.size() - 2), "\r\n");
    // Whole lines only: the pane starts where a line started.
    const std::string firstLine = log.substr(0, log.find("\r\n"));
    EXPECT_TRUE(firstLine.empty() || firstLine.rfind("SRT => SRT", 0) == 0 ||
                firstLine.rfind("time : ", 0) == 0 || firstLine.rfind("subs : ", 0) == 0 ||
                firstLine.rfind("speed: ", 0) == 0)
        << firstLine;
}

TEST_F(RealDialog, ClosingPostsAQuitRequest) {
    SendMessageA(driver.dialog, WM_SYSCOMMAND, SC_CLOSE, 0);
    pump(driver);
    EXPECT_TRUE(driver.quitPosted);
}

}  // namespace
