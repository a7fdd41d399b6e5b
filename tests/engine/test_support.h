// Helpers of the engine tests: files in a scratch folder and a sink that records.
#pragma once

#include <gtest/gtest.h>

#include <chrono>
#include <cstdarg>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

#include "conversion_run.h"

// A folder of this test process's own, so that processes running at the same
// time never share a file; removed when the process ends.
inline const std::string& scratchFolder() {
    static const struct Folder {
        std::string path = ::testing::TempDir() + "marliva_engine_" +
                           std::to_string(std::chrono::steady_clock::now().time_since_epoch().count());
        Folder() { std::filesystem::create_directories(path); }
        ~Folder() {
            std::error_code ignored;
            std::filesystem::remove_all(path, ignored);
        }
    } folder;
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
