// The dialog logic tests' set-up: a dialog object of each test's own over the
// in-memory dialog, created, and a scratch folder for the files of real runs.
#pragma once

#include <gtest/gtest.h>

#include "fake_dialog.h"
#include "main_dialog.h"
#include "../scratch_folder.h"

class DialogTest : public ::testing::Test, protected ScratchFolder {
protected:
    void SetUp() override { mainDialogInit(mainDialog); }

    const ConversionSettings& settings() const { return mainDialog.settings; }
    std::string logText() { return dialog.texts[IDC_LOG]; }

    FakeDialog dialog;
    MainDialog& mainDialog = dialog.mainDialog;
};
