// The dialog logic tests' set-up: fresh settings, the created dialog and a
// scratch folder for the files of real runs.
#pragma once

#include <gtest/gtest.h>

#include "fake_dialog.h"
#include "scratch_folder.h"

class DialogTest : public ::testing::Test, protected ScratchFolder {
protected:
    void SetUp() override {
        programSettings() = ConversionSettings{};
        fakeQuitPosts = 0;
        mainDialogInit(handleOf(dialog));
    }

    ConversionSettings& settings() { return programSettings(); }
    std::string logText() { return dialog.texts[IDC_LOG]; }

    FakeDialog dialog;
};

// The identifiers under their earlier names, for the bad-input dialog tests.
constexpr int kIdInputPath = IDC_INPUT_PATH;
constexpr int kIdOutputPath = IDC_OUTPUT_PATH;
constexpr int kIdFrameRate = IDC_FRAME_RATE;
constexpr int kIdConvert = IDC_CONVERT;
constexpr int kIdLog = IDC_LOG;
