// Frame rates that are no number above 0, typed into the dialog's box or set
// on the settings directly: the run shows a message and loses nothing.
#include <cmath>
#include <limits>

#include "ui_test_support.h"

namespace {

const char kEntry[] = "1\r\n00:00:01,000 --> 00:00:02,000\r\nHello\r\n\r\n";
const char kKept[] = "an earlier output, to be kept\r\n";

bool temporaryLeft(const std::filesystem::path& folder) {
    for (const auto& entry : std::filesystem::directory_iterator(folder))
        if (entry.path().filename().string().find(".marliva-") != std::string::npos) return true;
    return false;
}

using FrameRateBoxTest = DialogTest;

TEST_F(FrameRateBoxTest, TextThatIsNoRateAboveZeroStopsTheRun) {
    write("in.srt", kEntry);
    write("out.srt", kKept);
    typeInto(dialog, kIdInputPath, pathOf("in.srt"));
    typeInto(dialog, kIdOutputPath, pathOf("out.srt"));
    for (const char* typed : {"NaN", "nan", "-nan", "inf", "1e309", "0", "-1", "-0", "", "fps"}) {
        dialog.messageBoxes.clear();
        dialog.texts[kIdLog].clear();
        typeInto(dialog, kIdFrameRate, typed);
        EXPECT_FALSE(std::isnan(settings().frameRate)) << typed;
        press(dialog, kIdConvert);
        ASSERT_EQ(dialog.messageBoxes.size(), 1u) << typed;
        const std::string& text = dialog.messageBoxes[0].text;
        EXPECT_EQ(text.rfind("Invalid frame rate: ", 0), 0u) << typed << ": " << text;
        EXPECT_NE(text.find("\r\nThe frame rate must be a number above 0."), std::string::npos);
        EXPECT_EQ(logText().find("done."), std::string::npos) << typed;
        EXPECT_EQ(read("out.srt"), kKept) << typed;
        EXPECT_EQ(read("in.srt"), kEntry) << typed;
        EXPECT_FALSE(temporaryLeft(folder)) << typed;
    }
    // A rate typed afterwards converts again.
    typeInto(dialog, kIdFrameRate, "25");
    press(dialog, kIdConvert);
    EXPECT_EQ(read("out.srt"), "{000025}{000050}Hello\r\n");
}

// The engine refuses such a rate however it got into the settings.
TEST_F(FrameRateBoxTest, RunRefusesRatesThatAreNoNumberAboveZero) {
    write("in.srt", kEntry);
    write("out.srt", kKept);
    const double rates[] = {std::numeric_limits<double>::quiet_NaN(),
                            -std::numeric_limits<double>::quiet_NaN(),
                            std::numeric_limits<double>::infinity(),
                            -std::numeric_limits<double>::infinity(), 0.0, -0.0, -1.0};
    for (double rate : rates) {
        dialog.messageBoxes.clear();
        typeInto(dialog, kIdInputPath, pathOf("in.srt"));
        typeInto(dialog, kIdOutputPath, pathOf("out.srt"));
        settings().frameRate = rate;
        press(dialog, kIdConvert);
        ASSERT_EQ(dialog.messageBoxes.size(), 1u) << rate;
        EXPECT_EQ(dialog.messageBoxes[0].text.rfind("Invalid frame rate: ", 0), 0u) << rate;
        EXPECT_EQ(read("out.srt"), kKept) << rate;
        EXPECT_FALSE(temporaryLeft(folder)) << rate;
    }
}

}  // namespace
