// What the fuzz harnesses share: a scratch folder of their own, reading
// settings from the first input bytes, and checks that end the run loudly.
#pragma once

#include <cstddef>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <string>

// A property that must hold for every input; a failure aborts, which the
// fuzzer and the replay driver both report as a crash with this message.
#define FUZZ_CHECK(condition)                                                           \
    do {                                                                                \
        if (!(condition)) {                                                             \
            std::fprintf(stderr, "%s:%d: check failed: %s\n", __FILE__, __LINE__,       \
                         #condition);                                                   \
            std::abort();                                                               \
        }                                                                               \
    } while (0)

// Consumes the input from the front; reads past the end give zero bytes.
struct InputBytes {
    const std::uint8_t* data;
    std::size_t size;

    std::uint8_t byte() {
        if (size == 0) return 0;
        --size;
        return *data++;
    }
    std::uint32_t u32() {
        std::uint32_t value = 0;
        for (int i = 0; i < 4; ++i) value |= static_cast<std::uint32_t>(byte()) << (8 * i);
        return value;
    }
    double f64() {
        std::uint64_t bits = 0;
        for (int i = 0; i < 8; ++i) bits |= static_cast<std::uint64_t>(byte()) << (8 * i);
        double value;
        std::memcpy(&value, &bits, sizeof value);
        return value;
    }
};

// A folder of this process for the files of the runs, removed at exit.
const std::string& scratchFolder();

// True when a file exists at `path`.
bool fileExists(const std::string& path);

// No temporary file of the output's writing is left beside it.
bool noTemporaryLeft(const std::string& outputPath);
