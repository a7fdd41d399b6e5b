// Open and a dropped file: what the file dialog is asked, the path shown and
// kept whole, and the output name proposed.
#include "ui_test_support.h"

namespace {

using FileChoosersTest = DialogTest;

// A dropped file does what Open does with the path it picks, whatever its
// length; Open's cancel keeps the input and proposes again over a typed name.
TEST_F(FileChoosersTest, OpenAndADroppedFileKeepThePathWholeAndProposeTheOutput) {
    const std::string folder = "/" + std::string(300, 'd') + "/";  // beyond any 260-byte buffer
    struct Row { std::string picked, input, output; bool drop; };
    const Row rows[] = {
        {folder + "a.ass", folder + "a.ass", folder + "a.srt", false},
        {"", "C:\\subs\\b.ssa", "C:\\subs\\b.srt", false},  // a cancel
        {folder + "c.srt", folder + "c.srt", folder + "c.ssa", true},
    };
    for (const Row& row : rows) {
        typeInto(dialog, IDC_INPUT_PATH, "C:\\subs\\b.ssa");
        typeInto(dialog, IDC_OUTPUT_PATH, "typed.ssa");
        if (row.drop) {
            mainDialogDropFile(mainDialog, row.picked);
        } else {
            dialog.fileAnswers.push_back(row.picked);
            press(dialog, IDC_OPEN);
        }
        EXPECT_EQ(dialog.texts[IDC_INPUT_PATH], row.input);
        EXPECT_EQ(settings().inputPath, row.input);
        EXPECT_EQ(dialog.texts[IDC_OUTPUT_PATH], row.output);
        EXPECT_EQ(settings().outputPath, row.output);
    }
    ASSERT_EQ(dialog.chooserCalls.size(), 2u);  // a drop opens no file dialog
    const FakeChooserCall& call = dialog.chooserCalls[1];
    EXPECT_EQ(call.title, "Open Sub File");
    EXPECT_TRUE(call.mustExist);
    EXPECT_EQ(call.firstFilter, "*.ssa;*.srt;*.ass");
    EXPECT_EQ(call.pathOnEntry, "C:\\subs\\b.ssa");
}

}  // namespace
