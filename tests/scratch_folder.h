// A folder of a test's own under the system's temporary folder, empty at the
// start and removed at the end, and whole files written and read in it.
#pragma once

#include <filesystem>
#include <fstream>
#include <random>
#include <sstream>
#include <string>

struct ScratchFolder {
    // Named by a random number: other builds may run the same tests at once.
    std::filesystem::path folder = std::filesystem::temp_directory_path() /
                                   ("marliva-test-" + std::to_string(std::random_device{}()));
    ScratchFolder() { std::filesystem::create_directories(folder); }
    ~ScratchFolder() {
        std::error_code ignored;
        std::filesystem::remove_all(folder, ignored);
    }
    // The name is appended as bytes (UTF-8 on every platform of the tests).
    std::string pathOf(const std::string& name) const { return (folder / "").string() + name; }
    std::string write(const std::string& name, const std::string& bytes) const {
        std::ofstream(pathOf(name), std::ios::binary) << bytes;
        return pathOf(name);
    }
    std::string read(const std::string& name) const {
        std::ostringstream bytes;
        bytes << std::ifstream(pathOf(name), std::ios::binary).rdbuf();
        return bytes.str();
    }
};
