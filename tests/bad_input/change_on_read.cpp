// Preloaded into marliva-convert by the bad-input matrix (LD_PRELOAD): the
// first time the program reads the file named in MARLIVA_CHANGED_FILE, the
// read stops halfway and the shell command in MARLIVA_CHANGE_COMMAND runs
// (a truncate, say) before the program reads on. Another program changes the
// input while it is read, at the same point on every run.
#include <dlfcn.h>
#include <unistd.h>

#include <atomic>
#include <climits>
#include <cstdio>
#include <cstdlib>
#include <cstring>

namespace {

bool isChangedFile(int descriptor) {
    const char* changed = std::getenv("MARLIVA_CHANGED_FILE");
    if (!changed) return false;
    char link[64];
    char path[PATH_MAX];
    std::snprintf(link, sizeof link, "/proc/self/fd/%d", descriptor);
    const ssize_t length = readlink(link, path, sizeof path - 1);
    if (length <= 0) return false;
    path[length] = '\0';
    return std::strcmp(path, changed) == 0;
}

}  // namespace

extern "C" ssize_t read(int descriptor, void* buffer, size_t count) {
    using Read = ssize_t (*)(int, void*, size_t);
    static const auto realRead = reinterpret_cast<Read>(dlsym(RTLD_NEXT, "read"));
    static std::atomic<bool> changed{false};
    if (count < 2 || changed.load() || !isChangedFile(descriptor) || changed.exchange(true))
        return realRead(descriptor, buffer, count);
    const ssize_t got = realRead(descriptor, buffer, count / 2);
    if (const char* command = std::getenv("MARLIVA_CHANGE_COMMAND")) {
        unsetenv("LD_PRELOAD");  // the command runs as itself
        if (std::system(command) != 0) std::fprintf(stderr, "change_on_read: '%s' failed\n", command);
    }
    return got;
}
