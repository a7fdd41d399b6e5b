// Open and Convert as: what the file dialog is asked, what lands in the edits
// and the settings, and the output name Open proposes.
#include "file_choosers.h"
#include "ui_test_support.h"

namespace {

using FileChoosersTest = DialogTest;

const std::vector<std::string> kFilters = {"Sub Files (.ssa;.srt)|*.ssa;*.srt", "All Files|*.*"};

TEST_F(FileChoosersTest, OpenAsksForAnExistingSubFile) {
    typeInto(dialog, kIdInputPath, "C:\\old\\in.srt");
    chooseInput(handleOf(dialog));
    ASSERT_EQ(dialog.chooserCalls.size(), 1u);
    const FakeChooserCall& call = dialog.chooserCalls[0];
    EXPECT_EQ(call.title, "Open Sub File");
    EXPECT_TRUE(call.mustExist);
    EXPECT_EQ(call.defaultExtension, ".ssa;.srt");
    EXPECT_EQ(call.filters, kFilters);
    EXPECT_EQ(call.pathOnEntry, "C:\\old\\in.srt");
}

// A dropped file does what Open does with the path it picks; a path too long
// for the file dialog to hand over is Open's cancel.
TEST_F(FileChoosersTest, OpenAndADroppedFileShowThePathAndProposeTheOutput) {
    struct Row { bool confirm; const char* chosen; const char* input; const char* output; };
    const Row rows[] = {
        {true, "C:\\subs\\a.srt", "C:\\subs\\a.srt", "C:\\subs\\a.ssa"},
        {true, "x.SSA", "x.SSA", "x.srt"},
        {true, "C:\\subs\\movie.txt2", "C:\\subs\\movie.txt2", "typed.ssa"},  // no proposal
        {true, "C:\\subs\\movie.txt", "C:\\subs\\movie.txt", "C:\\subs\\movie.ssa"},
        {false, "", "C:\\subs\\b.ssa", "C:\\subs\\b.srt"},  // a cancel keeps the input
    };
    const std::string tooLong = "C:\\" + std::string(253, 'd') + ".srt";
    ASSERT_EQ(tooLong.size(), 260u);
    for (const bool drop : {false, true}) {
        for (const Row& row : rows) {
            typeInto(dialog, kIdInputPath, row.confirm ? "C:\\before.srt" : "C:\\subs\\b.ssa");
            typeInto(dialog, kIdOutputPath, "typed.ssa");
            if (drop) {
                dropInputFile(handleOf(dialog), row.confirm ? row.chosen : tooLong.c_str());
            } else {
                dialog.fileAnswers.push_back({row.confirm, row.chosen});
                chooseInput(handleOf(dialog));
            }
            EXPECT_EQ(dialog.texts[kIdInputPath], row.input) << drop;
            EXPECT_STREQ(settings().inputPath.data(), row.input);
            EXPECT_EQ(dialog.texts[kIdOutputPath], row.output) << row.chosen << drop;
            EXPECT_STREQ(settings().outputPath.data(), row.output);
        }
    }
    EXPECT_EQ(dialog.chooserCalls.size(), std::size(rows));  // a drop opens no file dialog
}

TEST_F(FileChoosersTest, LongChosenPathIsCutTo254BeforeTheProposal) {
    // 259 characters; its first 254 end in ".srt", so that is what the proposal sees.
    const std::string head = "C:\\" + std::string(247, 'd') + ".srt";
    const std::string chosen = head + "\\.srt";
    ASSERT_EQ(chosen.size(), 259u);
    dialog.fileAnswers.push_back({true, chosen});
    chooseInput(handleOf(dialog));
    EXPECT_EQ(dialog.texts[kIdInputPath], chosen);  // the edit shows it all
    EXPECT_EQ(std::string(settings().inputPath.data()), head);
    const std::string proposal = head.substr(0, head.size() - 3) + "ssa";
    EXPECT_EQ(dialog.texts[kIdOutputPath], proposal);
    EXPECT_EQ(std::string(settings().outputPath.data()), proposal);

    dialog.fileAnswers.push_back({true, "D:\\" + std::string(252, 'o') + ".ssa"});
    ASSERT_TRUE(chooseOutput(handleOf(dialog)));
    EXPECT_EQ(std::string(settings().outputPath.data()), "D:\\" + std::string(251, 'o'));
}

TEST_F(FileChoosersTest, ConvertAsAcceptsAnyNameAndKeepsThePathOnCancel) {
    typeInto(dialog, kIdOutputPath, "C:\\subs\\out.srt");
    dialog.fileAnswers.push_back({false, ""});
    EXPECT_FALSE(chooseOutput(handleOf(dialog)));
    EXPECT_STREQ(settings().outputPath.data(), "C:\\subs\\out.srt");
    EXPECT_EQ(dialog.texts[kIdOutputPath], "C:\\subs\\out.srt");

    dialog.fileAnswers.push_back({true, "C:\\subs\\new name.ssa"});
    EXPECT_TRUE(chooseOutput(handleOf(dialog)));
    EXPECT_STREQ(settings().outputPath.data(), "C:\\subs\\new name.ssa");
    EXPECT_EQ(dialog.texts[kIdOutputPath], "C:\\subs\\new name.ssa");

    ASSERT_EQ(dialog.chooserCalls.size(), 2u);
    const FakeChooserCall& call = dialog.chooserCalls[1];
    EXPECT_EQ(call.title, "Save Sub File");
    EXPECT_FALSE(call.mustExist);
    EXPECT_EQ(call.defaultExtension, ".ssa;.srt");
    EXPECT_EQ(call.filters, kFilters);
    EXPECT_EQ(call.pathOnEntry, "C:\\subs\\out.srt");
}

TEST(DeriveOutputName, ProposesTheOtherExtension) {
    struct Row { const char* path; const char* proposal; };
    const Row rows[] = {
        {"a.srt", "a.ssa"},     {"x.SSA", "x.srt"},   {"C:\\subs\\b.ssa", "C:\\subs\\b.srt"},
        {"movie.txt2", nullptr}, {".srt", nullptr},   {"srt", nullptr},
        {"", nullptr},          {"movie_srt", nullptr},
    };
    for (const Row& row : rows) {
        const auto proposal = deriveOutputName(row.path);
        if (row.proposal) {
            ASSERT_TRUE(proposal.has_value()) << row.path;
            EXPECT_EQ(*proposal, row.proposal);
        } else {
            EXPECT_FALSE(proposal.has_value()) << row.path;
        }
    }
    // Any other kind keeps the path up to its "." with some suffix after it.
    const auto other = deriveOutputName("movie.txt");
    ASSERT_TRUE(other.has_value());
    EXPECT_EQ(other->rfind("movie.", 0), 0u);
}

}  // namespace
