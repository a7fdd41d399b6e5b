// The system's error numbers as the programs get them: a write to a pipe
// whose reader has gone says EPIPE on every system (on Windows through the
// one map of Windows errors, where the C library would say EINVAL).
#include <gtest/gtest.h>

#include <cerrno>
#include <csignal>
#include <cstdio>

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#include <windows.h>
#else
#include <unistd.h>
#endif

#include "system_calls.h"

namespace {

TEST(SystemCalls, WriteToAPipeWithoutReader) {
    int ends[2];
#ifdef _WIN32
    ASSERT_EQ(_pipe(ends, 4096, _O_BINARY), 0);
    _close(ends[0]);
    std::FILE* pipe = _fdopen(ends[1], "wb");
#else
    std::signal(SIGPIPE, SIG_IGN);
    ASSERT_EQ(::pipe(ends), 0);
    close(ends[0]);
    std::FILE* pipe = fdopen(ends[1], "wb");
#endif
    ASSERT_NE(pipe, nullptr);
    std::setvbuf(pipe, nullptr, _IONBF, 0);
    EXPECT_EQ(writeStream(pipe, "text", 4), EPIPE);
    std::fclose(pipe);
}

#ifdef _WIN32
TEST(SystemCalls, WindowsErrors) {
    const struct {
        unsigned long windows;
        int error;
    } kCases[] = {
        {ERROR_ACCESS_DENIED, EACCES},     {ERROR_SHARING_VIOLATION, EACCES}, {ERROR_FILE_NOT_FOUND, ENOENT},
        {ERROR_PATH_NOT_FOUND, ENOENT},    {ERROR_FILENAME_EXCED_RANGE, ENAMETOOLONG},
        {ERROR_DISK_FULL, ENOSPC},         {ERROR_FILE_EXISTS, EEXIST},       {ERROR_NOT_ENOUGH_MEMORY, ENOMEM},
        {ERROR_NO_DATA, EPIPE},            {ERROR_BROKEN_PIPE, EPIPE},        {ERROR_INVALID_FUNCTION, EIO},
    };
    for (const auto& c : kCases) EXPECT_EQ(errnoOfWindowsError(c.windows), c.error) << c.windows;
}
#endif

}  // namespace
