// How writes fail: a pipe whose reader has gone says EPIPE on every system
// (on Windows through the one map of Windows errors, where the C library
// says EINVAL); an output that a stop could not find is not written.
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <filesystem>
#include <memory>
#include <vector>

#include "../scratch_folder.h"
#include "output_file.h"
#include "stop_state.h"
#include "system_calls.h"

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#define pipe(ends) _pipe(ends, 4096, _O_BINARY)
#define close _close
#define fdopen _fdopen
#else
#include <unistd.h>
#endif

TEST(OutputFailures, WriteToAPipeWithoutReader) {
    std::signal(SIGPIPE, SIG_IGN);
    int ends[2];
    ASSERT_EQ(pipe(ends), 0);
    close(ends[0]);
    std::FILE* stream = fdopen(ends[1], "wb");
    std::setvbuf(stream, nullptr, _IONBF, 0);
    EXPECT_EQ(writeStream(stream, "text", 4), EPIPE);
    std::fclose(stream);
}

TEST(OutputFailures, OneOutputBeyondTheStopsRegistry) {
    const ScratchFolder scratch;
    std::vector<std::unique_ptr<OutputFile>> outputs(kMostJobs + 1);
    for (auto& out : outputs) openOutput(*(out = std::make_unique<OutputFile>()), scratch.pathOf("out").c_str());
    for (int i = 0; i < kMostJobs; ++i) EXPECT_FALSE(outputs[i]->failure) << i;
    EXPECT_EQ(outputs[kMostJobs]->failure.error, EMFILE);
    // A temporary file for each output in the registry, none for the one beyond.
    EXPECT_EQ(std::distance(std::filesystem::directory_iterator(scratch.folder), {}), kMostJobs);
}
