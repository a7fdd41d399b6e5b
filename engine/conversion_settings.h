// The one record of the user's settings, which every run reads.
#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string_view>

// Path buffers are 260 bytes because the file dialogs write into them directly;
// the program itself never keeps more than 254 characters there.
constexpr std::size_t kPathBufferSize = 260;
constexpr std::size_t kMaxPathChars = 254;

struct ConversionSettings {
    std::array<char, kPathBufferSize> inputPath{};
    std::array<char, kPathBufferSize> outputPath{};
    double frameRate = 25.0;
    bool joinWithNewline = true;
    bool shiftFirstSub = false;
    std::uint32_t firstSubHours = 0;
    std::uint32_t firstSubMinutes = 0;
    std::uint32_t firstSubSeconds = 0;
    std::uint32_t firstSubMillis = 0;
    double firstSubTime = 0.0;  // computed at the start of every run
};

// Copies text into a path buffer, at most kMaxPathChars characters, always terminated.
inline void setPath(std::array<char, kPathBufferSize>& buffer, std::string_view text) {
    const std::size_t n = text.size() < kMaxPathChars ? text.size() : kMaxPathChars;
    text.copy(buffer.data(), n);
    buffer[n] = '\0';
}
