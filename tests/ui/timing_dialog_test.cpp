// The timing dialog's logic over the in-memory dialog: what it shows, what
// its OK puts into the settings and a run then does, what Cancel keeps, and
// the messages of values that make no sense.
#include "ui_test_support.h"

namespace {

using TimingDialogTest = DialogTest;

const char kHourSrt[] = "1\r\n00:00:01,000 --> 00:00:02,000\r\nA\r\n\r\n2\r\n01:00:00,000 --> 01:00:01,000\r\nB\r\n\r\n";

TEST_F(TimingDialogTest, OpensWithTheSettingsAndCancelKeepsThem) {
    dialog.timingUser = [](FakeDialog& timing) {
        EXPECT_FALSE(timing.checked[IDC_RETIME]);
        EXPECT_EQ(timing.comboItems[IDC_RETIME_FROM],
                  (std::vector<std::string>{"23.976", "24", "25", "29.97", "30", "50", "59.94"}));
        EXPECT_EQ(timing.texts[IDC_RETIME_FROM] + " " + timing.texts[IDC_RETIME_TO], "23.976 25");
        EXPECT_EQ(timing.texts[IDC_SHIFT_SIGN] + timing.texts[IDC_SHIFT_HOURS] + timing.texts[IDC_SHIFT_MILLIS], "+00");
        for (int id : {IDC_SHIFT_FROM, IDC_SHIFT_UNTIL, IDC_SYNC_A, IDC_SYNC_B, IDC_SYNC_C, IDC_SYNC_D})
            EXPECT_EQ(timing.texts[id], "") << id;
        clickCheckBox(timing, IDC_RETIME);
        clickCheckBox(timing, IDC_SHIFT);
        typeInto(timing, IDC_SHIFT_SECONDS, "5");
        press(timing, IDC_TIMING_CANCEL);
        EXPECT_TRUE(timing.ended);
    };
    press(dialog, IDC_TIMING);
    EXPECT_EQ(dialog.timingDialogsOpened, 1);
    EXPECT_FALSE(settings().retime);
    EXPECT_FALSE(settings().shiftTimes);
}

TEST_F(TimingDialogTest, OkPutsTheSpeedChangeAndTheShiftIntoTheRun) {
    dialog.timingUser = [](FakeDialog& timing) {
        clickCheckBox(timing, IDC_RETIME);
        clickCheckBox(timing, IDC_SHIFT);
        typeInto(timing, IDC_SHIFT_SECONDS, "1");
        press(timing, IDC_TIMING_OK);
        EXPECT_TRUE(timing.messageBoxes.empty());
        EXPECT_TRUE(timing.ended);
    };
    press(dialog, IDC_TIMING);
    EXPECT_TRUE(settings().retime && settings().shiftTimes);
    typeInto(dialog, IDC_INPUT_PATH, write("in.srt", kHourSrt));
    typeInto(dialog, IDC_OUTPUT_PATH, pathOf("out.srt"));
    press(dialog, IDC_CONVERT);
    // Timing lines stay timing lines; the shift is given in the new timeline.
    EXPECT_EQ(read("out.srt"), "1\r\n00:00:01,959 --> 00:00:02,918\r\nA\r\n\r\n"
                               "2\r\n00:57:33,547 --> 00:57:34,506\r\nB\r\n\r\n");
    EXPECT_NE(logText().find("\r\nretime: 23.976 => 25 (x 0.959041)\r\nshift: +1.000 s\r\n"), std::string::npos)
        << logText();

    // Opened again, it shows what the settings hold; a two-point sync in place of the shift.
    dialog.timingUser = [](FakeDialog& timing) {
        EXPECT_TRUE(timing.checked[IDC_SHIFT]);
        EXPECT_EQ(timing.texts[IDC_SHIFT_SECONDS], "1");
        clickCheckBox(timing, IDC_RETIME);
        clickCheckBox(timing, IDC_SHIFT);
        clickCheckBox(timing, IDC_SYNC);
        typeInto(timing, IDC_SYNC_A, "#1");
        typeInto(timing, IDC_SYNC_B, "0:00:02");
        typeInto(timing, IDC_SYNC_C, "#2");
        typeInto(timing, IDC_SYNC_D, "1:00:01");
        press(timing, IDC_TIMING_OK);
    };
    press(dialog, IDC_TIMING);
    press(dialog, IDC_CONVERT);
    EXPECT_EQ(read("out.srt").substr(0, 36), "1\r\n00:00:02,000 --> 00:00:03,000\r\nA\r");
    EXPECT_NE(logText().find("\r\nsync: 2 points, x 1.000000, +1.000 s\r\n"), std::string::npos) << logText();
}

TEST_F(TimingDialogTest, ValuesThatMakeNoSenseAreRefusedAsTheMainDialogRefusesThem) {
    struct Row {
        std::function<void(FakeDialog&)> enter;
        const char* message;
    };
    const Row rows[] = {
        {[](FakeDialog& t) { clickCheckBox(t, IDC_RETIME); typeInto(t, IDC_RETIME_TO, "0"); },
         "Invalid speed change: 23.976 => 0\r\nThe frame rates must be numbers above 0, as 25, 23.976 or 24000/1001."},
        {[](FakeDialog& t) { clickCheckBox(t, IDC_SHIFT); typeInto(t, IDC_SHIFT_SIGN, "x"); },
         "Invalid sign: x\r\nThe sign is + or -."},
        {[](FakeDialog& t) { clickCheckBox(t, IDC_SHIFT); typeInto(t, IDC_SHIFT_HOURS, "1000"); },
         "Invalid shift: 1000:00:00.000\r\nA time is h:m:s.ms, below 1000 hours."},
        {[](FakeDialog& t) { clickCheckBox(t, IDC_SHIFT); typeInto(t, IDC_SHIFT_FROM, "1:2:3:4"); },
         "Invalid time: 1:2:3:4\r\nA time is h:m:s.ms, below 1000 hours."},
        {[](FakeDialog& t) {
             clickCheckBox(t, IDC_SHIFT);
             typeInto(t, IDC_SHIFT_FROM, "0:30");
             typeInto(t, IDC_SHIFT_UNTIL, "0:10");
         },
         "Invalid shift: until 0:00:10.000 is not after from 0:00:30.000\r\n"
         "Only the subtitles that start from 'from' to before 'until' move."},
        {[](FakeDialog& t) { clickCheckBox(t, IDC_SYNC); typeInto(t, IDC_SYNC_A, "1:00"); },
         "Invalid point: 1:00 => \r\nA point is h:m:s.ms, or #n for the start of subtitle n, and the time it goes to."},
        {[](FakeDialog& t) {
             clickCheckBox(t, IDC_SYNC);
             for (int id : {IDC_SYNC_A, IDC_SYNC_B, IDC_SYNC_C}) typeInto(t, id, "1:00");
             typeInto(t, IDC_SYNC_D, "2:00");
         },
         "Invalid points: 1:00 => 1:00 and 1:00 => 2:00\r\n"
         "The two points must be two different times, the later one going to the later time."},
        {[](FakeDialog& t) { clickCheckBox(t, IDC_SHIFT); clickCheckBox(t, IDC_SYNC); },
         "Invalid timing: shift by and two points\r\nA shift and a sync exclude each other."},
    };
    for (const Row& row : rows) {
        dialog.timingUser = [&row](FakeDialog& timing) {
            row.enter(timing);
            press(timing, IDC_TIMING_OK);
            EXPECT_FALSE(timing.ended);  // still open, for the value to be corrected
            ASSERT_EQ(timing.messageBoxes.size(), 1u);
            EXPECT_EQ(timing.messageBoxes[0].text, row.message);
            EXPECT_EQ(timing.messageBoxes[0].caption, "Debug Message");
        };
        press(dialog, IDC_TIMING);
        EXPECT_FALSE(settings().retime || settings().shiftTimes || settings().syncPoints > 0) << row.message;
    }
}

TEST_F(TimingDialogTest, TheFirstSubMoveExcludesAShift) {
    dialog.timingUser = [](FakeDialog& timing) {
        clickCheckBox(timing, IDC_SHIFT);
        press(timing, IDC_TIMING_OK);
    };
    press(dialog, IDC_TIMING);
    clickCheckBox(dialog, IDC_SHIFT_FIRST_SUB);
    typeInto(dialog, IDC_INPUT_PATH, write("in.srt", kHourSrt));
    typeInto(dialog, IDC_OUTPUT_PATH, pathOf("out.ssa"));
    press(dialog, IDC_CONVERT);
    ASSERT_EQ(dialog.messageBoxes.size(), 1u);
    EXPECT_EQ(dialog.messageBoxes[0].text,
              "Invalid timing: first sub and the timing's shift or points\r\n"
              "The first sub move, a shift and a sync exclude each other.");
    EXPECT_EQ(read("out.ssa"), "");
}

}  // namespace
