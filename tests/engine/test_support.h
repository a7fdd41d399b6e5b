// Helpers of the engine tests: files in a scratch folder.
#pragma once

#include <gtest/gtest.h>

#include <fstream>
#include <string>
#include <iterator>

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

inline std::string readFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}
