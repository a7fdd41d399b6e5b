// How writes fail: a pipe without reader says EPIPE everywhere; an output that a stop could not find is not written.
#include <gtest/gtest.h>

#include <cerrno>
#include <filesystem>
#include <vector>

#include "../scratch_folder.h"
#include "output_file.h"
#include "stop_state.h"
#include "system_calls.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <csignal>
#include <unistd.h>
#endif

TEST(OutputFailures, WriteToAPipeWithoutReader) {
    int ends[2];
#ifdef _WIN32
    ASSERT_EQ(_pipe(ends, 4096, _O_BINARY), 0);
    _close(ends[0]);
    std::FILE* stream = _fdopen(ends[1], "wb");
#else
    std::signal(SIGPIPE, SIG_IGN);
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    std::FILE* stream = fdopen(ends[1], "wb");
#endif
    std::setvbuf(stream, nullptr, _IONBF, 0);
    EXPECT_EQ(writeStream(stream, "text", 4), EPIPE);
    std::fclose(stream);
}

TEST(OutputFailures, OneOutputBeyondTheStopsRegistry) {
    const ScratchFolder scratch;
    std::vector<OutputFile> outputs(kMostJobs + 1);
    for (int i = 0; i <= kMostJobs; ++i) EXPECT_EQ(openOutput(outputs[i], scratch.pathOf("o").c_str()), i < kMostJobs);
    EXPECT_EQ(outputs[kMostJobs].failure.error, EMFILE);  // and no temporary file of its own:
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.folder), {}), kMostJobs);
}
