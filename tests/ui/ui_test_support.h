// Shared set-up of the dialog logic tests: fresh settings, a created dialog and
// a scratch folder for the files of real runs.
#pragma once

#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

#include "fake_dialog.h"
#include "main_dialog.h"

class DialogTest : public ::testing::Test {
protected:
    void SetUp() override {
        programSettings() = ConversionSettings{};
        fakeQuitPosts = 0;
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        // Named by test and by a random number: other builds may run these at once.
        folder = std::filesystem::temp_directory_path() /
                 (std::string("marliva-ui-") + info->test_suite_name() + "-" + info->name() + "-" +
                  std::to_string(std::random_device{}()));
        std::filesystem::remove_all(folder);
        std::filesystem::create_directories(folder);
        mainDialogInit(handleOf(dialog));
    }
    void TearDown() override { std::filesystem::remove_all(folder); }

    std::string pathOf(const std::string& name) const { return (folder / name).string(); }

    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(folder / name, std::ios::binary) << bytes;
        return pathOf(name);
    }

    std::string read(const std::string& name) const {
        std::ifstream in(folder / name, std::ios::binary);
        std::ostringstream bytes;
        bytes << in.rdbuf();
        return bytes.str();
    }

    ConversionSettings& settings() { return programSettings(); }
    std::string logText() { return dialog.texts[kIdLog]; }

    FakeDialog dialog;
    std::filesystem::path folder;
};
