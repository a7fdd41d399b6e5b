// The main dialog's logic: creation defaults, the frame-rate text, runs from
// Convert and Convert as with what the controls hold, a run that fails, the
// keys and closing.
#include "frame_rate_text.h"
#include "ui_test_support.h"

namespace {

constexpr int kIdOk = 1;      // what Enter sends when no push button has the focus
constexpr int kIdCancel = 2;  // what Escape sends

const char kOneEntrySrt[] = "1\r\n00:01:00,000 --> 00:01:02,000\r\nHello\r\n\r\n";
const char kTwoLineSrt[] = "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\nWorld\r\n\r\n";

using MainDialogTest = DialogTest;

TEST_F(MainDialogTest, CreationShowsTheDefaults) {
    for (int id : {IDC_INPUT_PATH, IDC_OUTPUT_PATH, IDC_LOG}) EXPECT_EQ(dialog.texts[id], "");
    for (int id : {IDC_FIRST_SUB_HOURS, IDC_FIRST_SUB_MINUTES, IDC_FIRST_SUB_SECONDS,
                   IDC_FIRST_SUB_MILLIS})
        EXPECT_EQ(dialog.texts[id], "0") << id;
    EXPECT_EQ(dialog.comboItems[IDC_FRAME_RATE],
              (std::vector<std::string>{"30", "29.97", "25", "24", "23.976", "15"}));
    EXPECT_EQ(dialog.comboSelection[IDC_FRAME_RATE], 2);
    EXPECT_EQ(dialog.texts[IDC_FRAME_RATE], "25");
    EXPECT_TRUE(dialog.checked[IDC_JOIN_WITH_NEWLINE]);
    EXPECT_FALSE(dialog.checked[IDC_SHIFT_FIRST_SUB]);
    EXPECT_FALSE(dialog.checked[IDC_TRANSLATE_TAGS]);
}

TEST(FrameRateOfText, TakesTheLeadingDecimalNumber) {
    struct Row { const char* text; double rate; };
    const Row rows[] = {
        {"29.97", 29.97}, {"25 fps", 25}, {"  24", 24}, {"\t+15", 15}, {"-3", -3}, {".5", 0.5},
        {"5.", 5},        {"1e1x", 10},   {"2E-1", 0.2}, {"1e+", 1},   {"7,5", 7}, {"", 0},
        {".", 0},         {"-", 0},       {"abc", 0},   {"nan", 0},   {"inf", 0}, {"0x1A", 0},
        {"1e999", 0},
    };
    for (const Row& row : rows)
        EXPECT_EQ(frameRateOfText(row.text), row.rate) << '"' << row.text << '"';
}

TEST_F(MainDialogTest, ConvertRunsWithWhatTheControlsHold) {
    typeInto(dialog, IDC_INPUT_PATH, write("in.srt", kOneEntrySrt));
    typeInto(dialog, IDC_OUTPUT_PATH, pathOf("out.srt"));
    chooseFromList(dialog, 4);
    press(dialog, IDC_CONVERT);
    EXPECT_EQ(read("out.srt"), "{001439}{001487}Hello\r\n");
    EXPECT_EQ(logText().rfind("SRT => SRT ... done.\r\n\r\ntime : ", 0), 0u) << logText();

    // The first-sub boxes are read when a run starts, as typed since.
    typeInto(dialog, IDC_INPUT_PATH, write("two.srt", kTwoLineSrt));
    typeInto(dialog, IDC_OUTPUT_PATH, pathOf("out.ssa"));
    clickCheckBox(dialog, IDC_JOIN_WITH_NEWLINE);
    clickCheckBox(dialog, IDC_SHIFT_FIRST_SUB);
    dialog.texts[IDC_FIRST_SUB_HOURS] = "1";
    dialog.texts[IDC_FIRST_SUB_MINUTES] = "2";
    dialog.texts[IDC_FIRST_SUB_SECONDS] = "3";
    dialog.texts[IDC_FIRST_SUB_MILLIS] = "40";
    press(dialog, IDC_CONVERT);
    const char dialogue[] = "Dialogue: Marked=0,1:02:03.04,1:02:04.04,*Default,1,0000,0000,0000,,";
    const std::string both = std::string(dialogue) + "Hello\r\n" + dialogue + "World\r\n";
    EXPECT_NE(read("out.ssa").find(both), std::string::npos) << read("out.ssa");
    EXPECT_TRUE(dialog.messageBoxes.empty());
}

// "translate tags" translates the markup of the next runs, and their logs say so.
TEST_F(MainDialogTest, TranslateTagsTranslatesTheNextRuns) {
    typeInto(dialog, IDC_INPUT_PATH, write("tags.srt", "1\r\n00:00:01,000 --> 00:00:02,000\r\n<i>Hi</i>\r\n\r\n"));
    typeInto(dialog, IDC_OUTPUT_PATH, pathOf("tags.ssa"));
    clickCheckBox(dialog, IDC_TRANSLATE_TAGS);
    press(dialog, IDC_CONVERT);
    EXPECT_NE(read("tags.ssa").find(",,{\\i1}Hi{\\i0}\r\n"), std::string::npos) << read("tags.ssa");
    EXPECT_NE(logText().find("\r\nmarkup: translate\r\n"), std::string::npos) << logText();
    clickCheckBox(dialog, IDC_TRANSLATE_TAGS);
    dialog.texts[IDC_LOG].clear();
    press(dialog, IDC_CONVERT);
    EXPECT_NE(read("tags.ssa").find(",,<i>Hi</i>\r\n"), std::string::npos) << read("tags.ssa");
    EXPECT_EQ(logText().find("markup"), std::string::npos) << logText();
}

TEST_F(MainDialogTest, ConvertAsPicksTheOutputThenRuns) {
    typeInto(dialog, IDC_INPUT_PATH, write("in.srt", kOneEntrySrt));
    typeInto(dialog, IDC_OUTPUT_PATH, pathOf("typed.srt"));
    dialog.fileAnswers.push_back("");
    press(dialog, IDC_CONVERT_AS);
    EXPECT_FALSE(std::filesystem::exists(pathOf("typed.srt")));  // a cancel starts no run
    EXPECT_EQ(logText(), "");
    EXPECT_EQ(dialog.texts[IDC_OUTPUT_PATH], pathOf("typed.srt"));

    write("out.srt", "old contents, overwritten without a question");
    dialog.fileAnswers.push_back(pathOf("out.srt"));
    press(dialog, IDC_CONVERT_AS);
    EXPECT_EQ(dialog.texts[IDC_OUTPUT_PATH], pathOf("out.srt"));
    EXPECT_EQ(read("out.srt"), "{001500}{001550}Hello\r\n");
    ASSERT_EQ(dialog.chooserCalls.size(), 2u);
    const FakeChooserCall& call = dialog.chooserCalls[1];
    EXPECT_EQ(call.title, "Save Sub File");
    EXPECT_FALSE(call.mustExist);
    EXPECT_EQ(call.firstFilter, "*.ssa;*.srt");  // no ASS: a run never writes one
    EXPECT_EQ(call.pathOnEntry, pathOf("typed.srt"));
}

// A failed run shows its message, path on a line of its own, and writes nothing.
TEST_F(MainDialogTest, InputWithoutSubtitlesWritesNothingAndSaysSo) {
    typeInto(dialog, IDC_INPUT_PATH, write("notes.srt", "Some notes\r\nbut no subtitle\r\n"));
    typeInto(dialog, IDC_OUTPUT_PATH, write("out.ssa", "kept"));
    press(dialog, IDC_CONVERT);
    EXPECT_EQ(read("out.ssa"), "kept");
    EXPECT_EQ(logText(), "");
    ASSERT_EQ(dialog.messageBoxes.size(), 1u);
    EXPECT_EQ(dialog.messageBoxes[0].text,
              "No subtitles found in the input file:\r\n" + pathOf("notes.srt"));
    EXPECT_EQ(dialog.messageBoxes[0].caption, "Debug Message");
}

TEST_F(MainDialogTest, EnterEscapeAndOtherCommandsDoNothing) {
    typeInto(dialog, IDC_INPUT_PATH, write("in.srt", kOneEntrySrt));
    typeInto(dialog, IDC_OUTPUT_PATH, pathOf("out.srt"));
    for (int id : {kIdOk, kIdCancel, IDC_LOG, IDC_FIRST_SUB_HOURS, IDC_STATIC, 0, 1024, 1030})
        press(dialog, id);
    EXPECT_FALSE(std::filesystem::exists(pathOf("out.srt")));
    EXPECT_EQ(logText(), "");
    EXPECT_TRUE(dialog.messageBoxes.empty());
    EXPECT_TRUE(dialog.chooserCalls.empty());
    EXPECT_EQ(dialog.quitPosts, 0);
    mainDialogClose(mainDialog);
    EXPECT_EQ(dialog.quitPosts, 1);
}

}  // namespace
