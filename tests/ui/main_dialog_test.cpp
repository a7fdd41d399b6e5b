// The main dialog's logic: creation defaults, the command table, the frame-rate
// text, the first-sub boxes, runs from Convert and Convert as, Enter, Escape, close.

#include "ui_test_support.h"

namespace {

constexpr int kIdOk = 1;      // what Enter sends when no push button has the focus
constexpr int kIdCancel = 2;  // what Escape sends

const char kOneEntrySrt[] = "1\r\n00:01:00,000 --> 00:01:02,000\r\nHello\r\n\r\n";
const char kTwoEntrySrt[] =
    "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\nWorld\r\n\r\n"
    "2\r\n00:00:03,000 --> 00:00:04,000\r\nBye\r\n\r\n";

std::size_t countOf(const std::string& text, const std::string& part) {
    std::size_t count = 0;
    for (std::size_t at = text.find(part); at != std::string::npos; at = text.find(part, at + 1))
        ++count;
    return count;
}

using MainDialogTest = DialogTest;

TEST_F(MainDialogTest, CreationShowsTheDefaults) {
    EXPECT_EQ(dialog.texts[kIdInputPath], "");
    EXPECT_EQ(dialog.texts[kIdOutputPath], "");
    for (int id : {kIdFirstSubHours, kIdFirstSubMinutes, kIdFirstSubSeconds, kIdFirstSubMillis})
        EXPECT_EQ(dialog.texts[id], "0") << id;
    EXPECT_EQ(dialog.comboItems,
              (std::vector<std::string>{"30", "29.97", "25", "24", "23.976", "15"}));
    EXPECT_EQ(dialog.comboSelection, 2);
    EXPECT_EQ(dialog.texts[kIdFrameRate], "25");
    EXPECT_TRUE(dialog.checked[kIdJoinWithNewline]);
    EXPECT_FALSE(dialog.checked[kIdShiftFirstSub]);
    // Setting the two path edits reported their change back to the logic.
    EXPECT_EQ(dialog.commands, (std::vector<int>{kIdInputPath, kIdOutputPath}));
    EXPECT_EQ(settings().frameRate, 25.0);
    EXPECT_EQ(logText(), "");
}

TEST_F(MainDialogTest, PathEditsKeepAtMost254Characters) {
    const std::string longPath = "C:\\" + std::string(300, 'p') + ".srt";
    struct Row { int id; std::array<char, kPathBufferSize> ConversionSettings::*field; };
    for (Row row : {Row{kIdInputPath, &ConversionSettings::inputPath},
                    Row{kIdOutputPath, &ConversionSettings::outputPath}}) {
        typeInto(dialog, row.id, "C:\\subs\\a.srt");
        EXPECT_STREQ((settings().*row.field).data(), "C:\\subs\\a.srt");
        typeInto(dialog, row.id, longPath);
        EXPECT_EQ(std::string((settings().*row.field).data()), longPath.substr(0, 254));
        typeInto(dialog, row.id, "");
        EXPECT_STREQ((settings().*row.field).data(), "");
    }
}

TEST_F(MainDialogTest, CheckBoxesFollowTheirState) {
    clickCheckBox(dialog, kIdJoinWithNewline);
    EXPECT_FALSE(settings().joinWithNewline);
    clickCheckBox(dialog, kIdShiftFirstSub);
    EXPECT_TRUE(settings().shiftFirstSub);
    // Any notification of a box reads its state again, a repeated one changes nothing.
    press(dialog, kIdShiftFirstSub);
    EXPECT_TRUE(settings().shiftFirstSub);
    clickCheckBox(dialog, kIdJoinWithNewline);
    EXPECT_TRUE(settings().joinWithNewline);
}

TEST_F(MainDialogTest, FrameRateBoxTakesTheLeadingNumber) {
    struct Row { const char* text; double rate; };
    const Row rows[] = {
        {"29.97", 29.97}, {"25 fps", 25}, {"abc", 0},     {"  24", 24},      {"\t+15", 15},
        {"-3", -3},       {".5", 0.5},    {"5.", 5},      {"1e1x", 10},      {"2E-1", 0.2},
        {"1e", 1},        {"1e+", 1},     {"7,5", 7},     {"", 0},           {".", 0},
        {"-", 0},         {"nan", 0},     {"inf", 0},     {"infinity", 0},   {"0x1A", 0},
        {"1e999", 0},     {"23.976", 23.976},
    };
    for (const Row& row : rows) {
        typeInto(dialog, kIdFrameRate, row.text);
        EXPECT_EQ(settings().frameRate, row.rate) << '"' << row.text << '"';
        EXPECT_EQ(frameRateOfText(row.text), row.rate) << '"' << row.text << '"';
    }
    chooseFromList(dialog, 4);
    EXPECT_EQ(settings().frameRate, 23.976);
}

TEST_F(MainDialogTest, FirstSubBoxesAreReadEvenForARefusedRun) {
    typeInto(dialog, kIdInputPath, "a.txt");
    typeInto(dialog, kIdOutputPath, "b.ssa");
    dialog.texts[kIdFirstSubHours] = "1";
    dialog.texts[kIdFirstSubMinutes] = "2";
    dialog.texts[kIdFirstSubSeconds] = "3";
    dialog.texts[kIdFirstSubMillis] = "456";
    EXPECT_EQ(settings().firstSubMillis, 0u);  // typing alone reads nothing
    press(dialog, kIdConvert);
    EXPECT_EQ(settings().firstSubHours, 1u);
    EXPECT_EQ(settings().firstSubMinutes, 2u);
    EXPECT_EQ(settings().firstSubSeconds, 3u);
    EXPECT_EQ(settings().firstSubMillis, 456u);
    EXPECT_DOUBLE_EQ(settings().firstSubTime, 3723.456);
    ASSERT_EQ(dialog.messageBoxes.size(), 1u);
    EXPECT_EQ(dialog.messageBoxes[0].text, kExtensionErrorMessage);
    EXPECT_EQ(dialog.messageBoxes[0].caption, "Debug Message");
    EXPECT_EQ(logText(), "");
    EXPECT_FALSE(std::filesystem::exists("b.ssa"));

    for (const char* text : {"", "12abc", "-1", "99999999999"}) {
        dialog.texts[kIdFirstSubHours] = text;
        readFirstSubBoxes(handleOf(dialog));
        EXPECT_EQ(settings().firstSubHours, 0u) << '"' << text << '"';
    }
}

TEST_F(MainDialogTest, ConvertUsesTheRateChosenOrTyped) {
    typeInto(dialog, kIdInputPath, write("in.srt", kOneEntrySrt));
    typeInto(dialog, kIdOutputPath, pathOf("out.srt"));
    struct Row { int listIndex; const char* typed; const char* frameLine; };
    const Row rows[] = {
        {-1, nullptr, "{001500}{001550}Hello\r\n"},   // the default, 25
        {4, nullptr, "{001439}{001487}Hello\r\n"},    // "23.976" from the list
        {-1, "29.97", "{001798}{001858}Hello\r\n"},
    };
    for (const Row& row : rows) {
        if (row.listIndex >= 0) chooseFromList(dialog, row.listIndex);
        if (row.typed) typeInto(dialog, kIdFrameRate, row.typed);
        press(dialog, kIdConvert);
        EXPECT_EQ(read("out.srt"), row.frameLine);
    }
    const std::string log = logText();
    EXPECT_EQ(log.rfind("SRT => SRT ... done.\r\n\r\ntime : ", 0), 0u) << log;
    EXPECT_EQ(countOf(log, "subs : 1\r\n"), 3u) << log;
    EXPECT_TRUE(dialog.messageBoxes.empty());
}

TEST_F(MainDialogTest, ClearingTheNewlineBoxWritesOneDialogueLinePerTextLine) {
    typeInto(dialog, kIdInputPath, write("in.srt", kTwoEntrySrt));
    typeInto(dialog, kIdOutputPath, pathOf("out.ssa"));
    press(dialog, kIdConvert);
    const std::string joined = read("out.ssa");
    EXPECT_EQ(countOf(joined, "\nDialogue: "), 2u);
    EXPECT_NE(joined.find(",Hello\\nWorld\r\n"), std::string::npos);

    clickCheckBox(dialog, kIdJoinWithNewline);
    press(dialog, kIdConvert);
    const std::string separate = read("out.ssa");
    EXPECT_GE(countOf(separate, "\nDialogue: "), 3u);
    EXPECT_NE(separate.find(",Hello\r\n"), std::string::npos);
    EXPECT_NE(separate.find(",World\r\n"), std::string::npos);
}

TEST_F(MainDialogTest, ShiftedRunUsesTheBoxes) {
    typeInto(dialog, kIdInputPath, write("in.srt", kOneEntrySrt));
    typeInto(dialog, kIdOutputPath, pathOf("out.srt"));
    clickCheckBox(dialog, kIdShiftFirstSub);
    dialog.texts[kIdFirstSubSeconds] = "2";
    press(dialog, kIdConvert);
    EXPECT_EQ(read("out.srt"), "{000050}{000100}Hello\r\n");
}

TEST_F(MainDialogTest, ConvertAsPicksTheOutputThenRuns) {
    typeInto(dialog, kIdInputPath, write("in.srt", kOneEntrySrt));
    dialog.texts[kIdFirstSubMillis] = "7";
    dialog.fileAnswers.push_back({false, ""});
    press(dialog, kIdConvertAs);
    EXPECT_EQ(logText(), "");  // a cancel starts no run
    EXPECT_EQ(settings().firstSubMillis, 0u);

    write("out.srt", "old contents that are overwritten without a question");
    dialog.fileAnswers.push_back({true, pathOf("out.srt")});
    press(dialog, kIdConvertAs);
    EXPECT_EQ(dialog.texts[kIdOutputPath], pathOf("out.srt"));
    EXPECT_STREQ(settings().outputPath.data(), pathOf("out.srt").c_str());
    EXPECT_EQ(settings().firstSubMillis, 7u);
    EXPECT_EQ(read("out.srt"), "{001500}{001550}Hello\r\n");
    EXPECT_EQ(logText().rfind("SRT => SRT ... done.", 0), 0u);
    ASSERT_EQ(dialog.chooserCalls.size(), 2u);
    EXPECT_EQ(dialog.chooserCalls[0].title, "Save Sub File");
    EXPECT_FALSE(dialog.chooserCalls[0].mustExist);
}

TEST_F(MainDialogTest, RunProblemsShowInTheMessageBox) {
    struct Row { const char* input; const char* output; const char* rate; const char* start; };
    const Row rows[] = {
        {"missing.srt", "out.ssa", nullptr, "Cannot read the input file:\r\n"},
        {"in.srt", "no-such-folder/out.srt", nullptr, "Cannot write the output file:\r\n"},
        {"in.srt", "out.srt", "abc", "Invalid frame rate: 0\r\n"},
        {"in.ssa", "out.ssa", nullptr, kExtensionErrorMessage},
    };
    write("in.srt", kOneEntrySrt);
    for (const Row& row : rows) {
        dialog.messageBoxes.clear();
        typeInto(dialog, kIdInputPath, pathOf(row.input));
        typeInto(dialog, kIdOutputPath, pathOf(row.output));
        typeInto(dialog, kIdFrameRate, row.rate ? row.rate : "25");
        press(dialog, kIdConvert);
        ASSERT_EQ(dialog.messageBoxes.size(), 1u) << row.input << " " << row.output;
        EXPECT_EQ(dialog.messageBoxes[0].caption, "Debug Message");
        EXPECT_EQ(dialog.messageBoxes[0].text.rfind(row.start, 0), 0u) << dialog.messageBoxes[0].text;
    }
}

TEST_F(MainDialogTest, EnterEscapeAndOtherIdsDoNothing) {
    typeInto(dialog, kIdInputPath, "in.srt");
    dialog.texts[kIdFirstSubHours] = "5";
    const ConversionSettings before = settings();
    for (int id : {kIdOk, kIdCancel, int{kIdLog}, int{kIdFirstSubHours}, 1024, 1028, 1030, 0, -1, 65535})
        press(dialog, id);
    const ConversionSettings& after = settings();
    EXPECT_EQ(before.inputPath, after.inputPath);
    EXPECT_EQ(before.outputPath, after.outputPath);
    EXPECT_EQ(before.frameRate, after.frameRate);
    EXPECT_EQ(before.joinWithNewline, after.joinWithNewline);
    EXPECT_EQ(before.shiftFirstSub, after.shiftFirstSub);
    EXPECT_EQ(before.firstSubHours, after.firstSubHours);
    EXPECT_EQ(logText(), "");
    EXPECT_TRUE(dialog.messageBoxes.empty());
    EXPECT_TRUE(dialog.chooserCalls.empty());
    EXPECT_EQ(fakeQuitPosts, 0);
}

TEST_F(MainDialogTest, ClosingPostsAQuitRequest) {
    mainDialogClose(handleOf(dialog));
    EXPECT_EQ(fakeQuitPosts, 1);
}

}  // namespace
