// The stop flag and the registry of temporary files. Each recorded path is a
// copy that a signal's handler can reach without allocating. A slot is
// emptied before its path is freed, and freed only once no handler is
// reading the slots.
#include "stop_state.h"

#include <atomic>
#include <cstdlib>
#include <cstring>
#include <thread>

#include "system_calls.h"

namespace {

std::atomic<char*> temporaries[kMostJobs];
std::atomic<int> handlersReading{0};
std::atomic<int> firstSignal{0};
std::atomic<bool> finishStoppedCleanly{false};
static_assert(std::atomic<char*>::is_always_lock_free && std::atomic<int>::is_always_lock_free &&
              std::atomic<bool>::is_always_lock_free);

void onStop(int signal) {
    if (!requestStop(signal) || !finishStoppedCleanly.load()) std::_Exit(128 + signal);
}

}  // namespace

void catchStops(bool finishCleanly) {
    finishStoppedCleanly.store(finishCleanly);
    catchStopSignals(onStop);
}

bool requestStop(int signal) {
    int none = 0;
    const bool first = firstSignal.compare_exchange_strong(none, signal);
    handlersReading.fetch_add(1);
    for (std::atomic<char*>& slot : temporaries)
        if (const char* path = slot.load()) removeFileInHandler(path);
    handlersReading.fetch_sub(1);
    return first;
}

int stopSignal() { return firstSignal.load(); }

int recordTemporary(const std::string& path) {
    char* copy = static_cast<char*>(std::malloc(path.size() + 1));
    if (!copy) return -1;
    std::memcpy(copy, path.c_str(), path.size() + 1);
    for (int slot = 0; slot < kMostJobs; ++slot) {
        char* empty = nullptr;
        if (temporaries[slot].compare_exchange_strong(empty, copy)) return slot;
    }
    std::free(copy);
    return -1;
}

void forgetTemporary(int& slot) {
    if (slot < 0) return;
    char* path = temporaries[slot].exchange(nullptr);
    slot = -1;
    while (handlersReading.load() != 0) std::this_thread::yield();
    std::free(path);
}
