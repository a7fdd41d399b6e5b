// Where the program's speed meets the machine's memory: the blocks of the
// input, the line store and the output's buffer. The rest of the engine asks
// here and knows nothing of huge pages or mappings.
#pragma once

#include <cstddef>

// `bytes` of memory for the input, the line store or the output's buffer
// (not zeroed), or null when they cannot be had.
char* allocateLarge(std::size_t bytes);
// Frees memory from allocateLarge; `bytes` is the size that was asked for.
void freeLarge(char* block, std::size_t bytes);
