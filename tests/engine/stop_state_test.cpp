// The stop state: a stop removes the temporary files being written and
// fails every output from then on; the registry has a slot for every job.
#include <gtest/gtest.h>

#include <cerrno>
#include <cstdlib>
#include <filesystem>
#include <memory>
#include <vector>

#include "../scratch_folder.h"
#include "output_file.h"
#include "stop_state.h"

namespace {

std::size_t filesIn(const ScratchFolder& scratch) {
    std::size_t n = 0;
    for ([[maybe_unused]] const auto& entry : std::filesystem::directory_iterator(scratch.folder)) ++n;
    return n;
}

// Every job writes one output at once; one output more than that could not
// be found by a stop, and is not written.
TEST(StopState, RegistryHoldsEveryJob) {
    const ScratchFolder scratch;
    std::vector<std::unique_ptr<OutputFile>> outputs;
    for (int i = 0; i < kMostJobs; ++i) {
        outputs.push_back(std::make_unique<OutputFile>());
        ASSERT_TRUE(openOutput(*outputs.back(), scratch.pathOf(std::to_string(i) + ".srt").c_str())) << i;
    }
    OutputFile beyond;
    EXPECT_FALSE(openOutput(beyond, scratch.pathOf("beyond.srt").c_str()));
    EXPECT_EQ(beyond.failure.kind, RunFailure::cannotWrite);
    EXPECT_EQ(beyond.failure.error, EMFILE);
    EXPECT_EQ(filesIn(scratch), static_cast<std::size_t>(kMostJobs));
    outputs.clear();
    EXPECT_EQ(filesIn(scratch), 0u);
}

#if GTEST_HAS_DEATH_TEST
// Where the stop's checks went wrong, or 0.
int stopFailsOutputs() {
    const ScratchFolder scratch;
    OutputFile out;
    if (!openOutput(out, scratch.pathOf("a.srt").c_str()) || filesIn(scratch) != 1) return 1;
    put(out, "text");
    if (!requestStop(15) || requestStop(2) || stopSignal() != 15) return 2;
#ifndef _WIN32
    // On Windows the file goes once its handle is closed.
    if (filesIn(scratch) != 0) return 3;
#endif
    if (commitOutput(out) || out.failure.error != EINTR || filesIn(scratch) != 0) return 4;
    OutputFile later;
    if (openOutput(later, scratch.pathOf("b.srt").c_str()) || later.failure.error != EINTR) return 5;
    return filesIn(scratch) == 0 ? 0 : 6;
}

// In a process of its own: the stop is for good.
TEST(StopState, StopFailsEveryOutput) {
    EXPECT_EXIT(std::exit(stopFailsOutputs()), ::testing::ExitedWithCode(0), "");
}
#endif

}  // namespace
