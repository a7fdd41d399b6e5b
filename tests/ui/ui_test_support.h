// The dialog logic tests' set-up: fresh settings, the created dialog and a
// scratch folder for the files of real runs.
#pragma once

#include <gtest/gtest.h>

#include "fake_dialog.h"
#include "../scratch_folder.h"

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
