// Helpers of the engine tests: files in a scratch folder and a sink that records.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdarg>
#include <filesystem>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "conversion_run.h"

// A folder of this test process's own, so that tests running at the same time
// (ctest -j, several builds) never share a file; removed when the process ends.
struct ScratchFolder {
    std::string path;
    ScratchFolder() {
        const auto* info = ::testing::UnitTest::GetInstance()->current_test_info();
        const auto stamp = std::chrono::steady_clock::now().time_since_epoch().count();
        path = ::testing::TempDir() + "marliva_" +
               (info ? std::string(info->test_suite_name()) + "." + info->name() : "tests") + "_" +
               std::to_string(stamp);
        std::filesystem::create_directories(path);
    }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(path, ignored);
    }
};

inline const std::string& scratchFolder() {
    static const ScratchFolder folder;
    return folder.path;
}

inline std::string scratchPath(const std::string& name) { return scratchFolder() + "/" + name; }

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
}

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream bytes;
    bytes << in.rdbuf();
    return bytes.str();
}

inline bool fileExists(const std::string& path) { return std::ifstream(path).good(); }

// Lines joined with CR LF, each followed by one, as the writers write them.
inline std::string crlf(const std::vector<std::string>& lines) {
    std::string text;
    for (const std::string& l : lines) text += l + "\r\n";
    return text;
}

struct RecordingSink {
    std::string log;
    std::vector<std::string> messages;

    static void append(void* context, const char* format, std::va_list args) {
        char text[1024];
        std::vsnprintf(text, sizeof text, format, args);
        static_cast<RecordingSink*>(context)->log += text;
    }
    static void message(void* context, const char* format, std::va_list args) {
        char text[1024];
        std::vsnprintf(text, sizeof text, format, args);
        static_cast<RecordingSink*>(context)->messages.push_back(text);
    }
    ReportSink sink() { return {append, message, this}; }
};
