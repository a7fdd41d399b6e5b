// Helpers of the engine tests: files in a scratch folder and a sink that records.
#pragma once

#include <gtest/gtest.h>

#include <cstdarg>
#include <cstdio>
#include <fstream>
#include <string>
#include <vector>

#include "../scratch_folder.h"
#include "conversion_run.h"

inline const ScratchFolder& scratch() {
    static const ScratchFolder folder;
    return folder;
}

inline std::string scratchPath(const std::string& name) { return scratch().pathOf(name); }

inline void writeFile(const std::string& path, const std::string& bytes) {
    std::ofstream(path, std::ios::binary) << bytes;
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
