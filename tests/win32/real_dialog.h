// The real main dialog made afresh for each test, with fresh settings and a
// scratch folder of its own.
#pragma once

#include <gtest/gtest.h>

#include <string>

#include "dialog_driver.h"
#include "main_dialog.h"

inline const char kCaption[] = "Marliva 1.0 by the Marliva developers";

class RealDialog : public ::testing::Test {
protected:
    void SetUp() override {
        programSettings() = ConversionSettings{};
        folder = scratchFolder(std::string("marliva-") +
                               ::testing::UnitTest::GetInstance()->current_test_info()->name());
        openDialog(driver);
        ASSERT_NE(driver.dialog, nullptr);
    }
    void TearDown() override { closeDialog(driver); }

    std::string text(int id) const { return itemText(driver, id); }
    bool checked(int id) const { return IsDlgButtonChecked(driver.dialog, id) == BST_CHECKED; }
    ConversionSettings& settings() { return programSettings(); }

    DialogDriver driver;
    std::string folder;
};
