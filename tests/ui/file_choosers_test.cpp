// Open and a dropped file: what the file dialog is asked, the path shown and
// kept, and the output name proposed.
#include "ui_test_support.h"

namespace {

using FileChoosersTest = DialogTest;

// A dropped file does what Open does with the path it picks; a path too long
// for the file dialog to hand over is Open's cancel, which keeps the input and
// proposes again.
TEST_F(FileChoosersTest, OpenAndADroppedFileShowThePathAndProposeTheOutput) {
    struct Row { const char* picked; const char* input; const char* output; };
    const Row rows[] = {
        {"C:\\subs\\a.srt", "C:\\subs\\a.srt", "C:\\subs\\a.ssa"},
        {"x.SSA", "x.SSA", "x.srt"},
        {"C:\\subs\\movie.txt2", "C:\\subs\\movie.txt2", "typed.ssa"},  // no proposal
        {"", "C:\\subs\\b.ssa", "C:\\subs\\b.srt"},                      // a cancel
    };
    const std::string tooLong = "C:\\" + std::string(253, 'd') + ".srt";
    for (const bool drop : {false, true}) {
        for (const Row& row : rows) {
            typeInto(dialog, IDC_INPUT_PATH, "C:\\subs\\b.ssa");
            typeInto(dialog, IDC_OUTPUT_PATH, "typed.ssa");
            if (drop) {
                mainDialogDropFile(handleOf(dialog), *row.picked ? row.picked : tooLong.c_str());
            } else {
                dialog.fileAnswers.push_back(row.picked);
                press(dialog, IDC_OPEN);
            }
            EXPECT_EQ(dialog.texts[IDC_INPUT_PATH], row.input) << drop;
            EXPECT_STREQ(settings().inputPath.data(), row.input);
            EXPECT_EQ(dialog.texts[IDC_OUTPUT_PATH], row.output) << row.picked << drop;
            EXPECT_STREQ(settings().outputPath.data(), row.output);
        }
    }
    ASSERT_EQ(dialog.chooserCalls.size(), std::size(rows));  // a drop opens no file dialog
    const FakeChooserCall& call = dialog.chooserCalls[0];
    EXPECT_EQ(call.title, "Open Sub File");
    EXPECT_TRUE(call.mustExist);
    EXPECT_EQ(call.pathOnEntry, "C:\\subs\\b.ssa");
}

TEST_F(FileChoosersTest, APickedPathIsKeptTo254CharactersBeforeTheProposal) {
    // 259 characters; its first 254 end in ".srt", so that is what the proposal sees.
    const std::string head = "C:\\" + std::string(247, 'd') + ".srt";
    dialog.fileAnswers.push_back(head + "\\.srt");
    press(dialog, IDC_OPEN);
    EXPECT_EQ(dialog.texts[IDC_INPUT_PATH], head + "\\.srt");  // the edit shows it all
    EXPECT_EQ(settings().inputPath.data(), head);
    EXPECT_EQ(settings().outputPath.data(), head.substr(0, 251) + "ssa");
}

}  // namespace
