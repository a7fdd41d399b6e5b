// The scratch folder of the fuzz harnesses.
#include "fuzz_support.h"

#include <filesystem>
#include <unistd.h>

namespace {

std::string makeScratch() {
    // The fuzz script names a folder of its own; /dev/shm keeps the many small
    // files of a fuzz run off the disk.
    const char* named = std::getenv("MARLIVA_FUZZ_SCRATCH");
    std::string base = named && *named ? named : "/dev/shm";
    if (!std::filesystem::is_directory(base)) base = std::filesystem::temp_directory_path();
    std::string pattern = base + "/marliva-fuzz-XXXXXX";
    FUZZ_CHECK(mkdtemp(pattern.data()) != nullptr);
    return pattern;
}

void removeScratch() {
    std::error_code ignored;
    std::filesystem::remove_all(scratchFolder(), ignored);
}

}  // namespace

const std::string& scratchFolder() {
    static const std::string folder = [] {
        std::string made = makeScratch();
        return made;
    }();
    static const bool registered = std::atexit(removeScratch) == 0;
    (void)registered;
    return folder;
}

bool fileExists(const std::string& path) { return access(path.c_str(), F_OK) == 0; }

bool noTemporaryLeft(const std::string& outputPath) {
    std::string prefix = std::filesystem::path(outputPath).filename().string() + ".marliva-";
    for (const auto& entry : std::filesystem::directory_iterator(scratchFolder()))
        if (entry.path().filename().string().rfind(prefix, 0) == 0) return false;
    return true;
}
